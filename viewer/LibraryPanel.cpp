#include "LibraryPanel.h"

#include "MeshList.h"
#include "ModelListbox.h"
#include "MyFrameListener.h"
#include "TimingLog.h"
#include "WidgetLookup.h"

#include <CEGUI/CEGUI.h>

#include <utility>

LibraryPanel::LibraryPanel(CEGUI::Window& sheet, std::vector<std::string> relativePaths,
                           std::function<void(std::size_t)> showModel, TimingLog& timingLog)
    : filterBox(findOptionalWidget<CEGUI::Editbox>(sheet, "edtFilter")),
      countText(findOptionalWidget<CEGUI::Window>(sheet, "txtModelCount")),
      modelList(findOptionalWidget<CEGUI::Listbox>(sheet, "lbModels")),
      showModel(std::move(showModel)), timingLog(timingLog), names(std::move(relativePaths)),
      filter(names) {
    if (!modelList)
        return;
    // A path longer than the panel is wide shows whole when the pointer rests on it.
    modelList->setItemTooltipsEnabled(true);
    modelList->subscribeEvent(
        CEGUI::Listbox::EventSelectionChanged,
        CEGUI::Event::Subscriber(&LibraryPanel::handleSelectionChanged, this));
    if (filterBox) {
        filterBox->subscribeEvent(CEGUI::Editbox::EventTextChanged,
                                  CEGUI::Event::Subscriber(&LibraryPanel::handleTextChanged, this));
        filterBox->subscribeEvent(
            CEGUI::Editbox::EventTextAccepted,
            CEGUI::Event::Subscriber(&LibraryPanel::handleTextAccepted, this));
    }
    fillList();
}

// N and P type into the filter box while it has the keyboard; Ctrl with the arrows steps anyway.
void LibraryPanel::bindKeys(MyFrameListener& input) {
    if (!modelList)
        return;
    input.bindKey(Key::N, [this] {
        if (!typing())
            showNext();
    });
    input.bindKey(Key::P, [this] {
        if (!typing())
            showPrevious();
    });
    input.bindControlKey(Key::Down, [this] { showNext(); });
    input.bindControlKey(Key::Up, [this] { showPrevious(); });
}

bool LibraryPanel::typing() const {
    return filterBox && filterBox->hasInputFocus();
}

void LibraryPanel::relist(std::vector<std::string> relativePaths) {
    const std::string text = filter.text();
    names = std::move(relativePaths);
    filter = LibraryFilter(names);
    filter.setText(text);
    shown.reset();
    if (modelList)
        fillList();
}

void LibraryPanel::showNext() {
    show(filter.next(shown));
}

void LibraryPanel::showPrevious() {
    show(filter.previous(shown));
}

void LibraryPanel::show(std::optional<std::size_t> model) {
    if (model)
        showModel(*model);
}

void LibraryPanel::modelShown(std::size_t model) {
    shown = model;
    if (modelList)
        markShown();
}

bool LibraryPanel::handleTextChanged(const CEGUI::EventArgs&) {
    timingLog.filterTyped();
    filter.setText(filterBox->getText().c_str());
    fillList();
    timingLog.filterListed(filter.matches().size());
    return true;
}

// The box lets the keyboard go, so that N and P step through the matches at once.
bool LibraryPanel::handleTextAccepted(const CEGUI::EventArgs&) {
    filterBox->deactivate();
    if (!filter.matches().empty())
        showModel(filter.matches().front());
    return true;
}

bool LibraryPanel::handleSelectionChanged(const CEGUI::EventArgs&) {
    const CEGUI::ListboxItem* choice = modelList->getFirstSelectedItem();
    if (choice && !marking)
        showModel(choice->getID());
    return true;
}

// Entry IDs are the models' indices in the library.
void LibraryPanel::fillList() {
    const CEGUI::Image* selectionBrush =
        &CEGUI::ImageManager::getSingleton().get("TaharezLook/ListboxSelectionBrush");
    std::vector<CEGUI::ListboxItem*> entries;
    entries.reserve(filter.matches().size());
    for (std::size_t model : filter.matches()) {
        CEGUI::ListboxTextItem* entry =
            createListEntry(names[model], static_cast<unsigned int>(model));
        entry->setSelectionBrushImage(selectionBrush);
        entry->setTooltipText(names[model]);
        entries.push_back(entry);
    }
    marking = true;
    replaceListEntries(*modelList, entries);
    marking = false;
    if (countText)
        countText->setText(filter.countText());
    markShown();
}

void LibraryPanel::markShown() {
    const std::optional<std::size_t> row = shown ? filter.positionOf(*shown) : std::nullopt;
    marking = true;
    modelList->clearAllSelections();
    if (row) {
        modelList->setItemSelectState(*row, true);
        modelList->ensureItemIsVisible(*row);
    }
    marking = false;
}

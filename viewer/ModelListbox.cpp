#include "ModelListbox.h"

#include <CEGUI/WindowFactoryManager.h>
#include <CEGUI/widgets/ListboxItem.h>

const CEGUI::String ModelListbox::WidgetTypeName("Velmora/ModelListbox");
const CEGUI::String ModelListbox::LayoutTypeName("TaharezLook/ModelListbox");

ModelListbox::ModelListbox(const CEGUI::String& type, const CEGUI::String& name)
    : Listbox(type, name) {}

void ModelListbox::registerType() {
    CEGUI::WindowFactoryManager& factories = CEGUI::WindowFactoryManager::getSingleton();
    if (!factories.isFactoryPresent(WidgetTypeName))
        CEGUI::WindowFactoryManager::addWindowType<ModelListbox>();
    factories.addFalagardWindowMapping(LayoutTypeName, WidgetTypeName, "TaharezLook/Listbox",
                                       "Core/Listbox");
}

void ModelListbox::replaceItems(const std::vector<CEGUI::ListboxItem*>& items) {
    resetList_impl();
    d_listItems.reserve(items.size());
    for (CEGUI::ListboxItem* item : items) {
        item->setOwnerWindow(this);
        d_listItems.push_back(item);
    }
    if (isSortEnabled())
        resortList();
    CEGUI::WindowEventArgs args(this);
    onListContentsChanged(args);
}

void replaceListEntries(CEGUI::Listbox& list, const std::vector<CEGUI::ListboxItem*>& items) {
    if (auto* modelList = dynamic_cast<ModelListbox*>(&list)) {
        modelList->replaceItems(items);
        return;
    }
    list.resetList();
    for (CEGUI::ListboxItem* item : items)
        list.addItem(item);
}

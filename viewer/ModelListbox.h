#pragma once

#include <CEGUI/widgets/Listbox.h>

#include <vector>

// A list box that takes a whole listing at once. The engine's list box measures all of its
// entries and lays out its scroll bars after each entry added or removed, so refilling a list
// of 2,000 entries one by one costs millions of measurements; this one does it once per listing.
class ModelListbox : public CEGUI::Listbox {
public:
    static const CEGUI::String WidgetTypeName;
    // The type a layout names: the list box's look on this window.
    static const CEGUI::String LayoutTypeName;

    ModelListbox(const CEGUI::String& type, const CEGUI::String& name);

    // Makes the layout type known; before a layout that names it is loaded.
    static void registerType();

    // The entries, in this order, take the place of the list's (the list owns them).
    void replaceItems(const std::vector<CEGUI::ListboxItem*>& items);
};

// Replaces the list's entries at once on a ModelListbox, else one by one (a layout's own list).
void replaceListEntries(CEGUI::Listbox& list, const std::vector<CEGUI::ListboxItem*>& items);

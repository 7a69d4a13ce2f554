#pragma once

#include "StartupError.h"

#include <CEGUI/CEGUI.h>

#include <string>

// The widget of that name and type anywhere below `sheet`; null when the layout has none of that
// name, for the controls a layout may leave out. A widget of the name but of another type is a
// fault of the layout.
template <typename Widget> Widget* findOptionalWidget(CEGUI::Window& sheet, const char* name) {
    CEGUI::Window* found = sheet.getChildRecursive(name);
    if (!found)
        return nullptr;
    auto* widget = dynamic_cast<Widget*>(found);
    if (!widget)
        throw StartupError(std::string("velmora.layout has no widget \"") + name + "\" of type " +
                           Widget::EventNamespace.c_str());
    return widget;
}

template <typename Widget> Widget* findOptionalWidget(CEGUI::System* guiSystem, const char* name) {
    return findOptionalWidget<Widget>(*guiSystem->getDefaultGUIContext().getRootWindow(), name);
}

// The same for a widget the viewer cannot do without.
template <typename Widget> Widget* findWidget(CEGUI::System* guiSystem, const char* name) {
    Widget* widget = findOptionalWidget<Widget>(guiSystem, name);
    if (!widget)
        throw StartupError(std::string("velmora.layout has no widget \"") + name + "\" of type " +
                           Widget::EventNamespace.c_str());
    return widget;
}

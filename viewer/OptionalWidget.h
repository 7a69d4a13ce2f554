#pragma once

#include <CEGUI/Window.h>

// The widget of that name and type anywhere below `sheet`, or null when the layout has none:
// for the controls a layout may leave out.
template <typename Widget> Widget* findOptionalWidget(CEGUI::Window& sheet, const char* name) {
    return dynamic_cast<Widget*>(sheet.getChildRecursive(name));
}

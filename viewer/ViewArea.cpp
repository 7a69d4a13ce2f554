#include "ViewArea.h"

#include "WidgetLookup.h"

#include <CEGUI/Window.h>
#include <OgreRenderWindow.h>
#include <OgreViewport.h>

ViewArea::ViewArea(Ogre::RenderWindow& window, Ogre::Viewport& viewport, CEGUI::Window& sheet)
    : window(window), viewport(viewport),
      leftPanel(findOptionalWidget<CEGUI::Window>(sheet, "imgControls")),
      rightPanel(findOptionalWidget<CEGUI::Window>(sheet, "imgLibrary")) {
    OgreBites::WindowEventUtilities::addWindowEventListener(&window, this);
    fit();
}

ViewArea::~ViewArea() {
    OgreBites::WindowEventUtilities::removeWindowEventListener(&window, this);
}

// Runs after the input layer has told the GUI the new size, so the panels stand where they will
// be drawn.
void ViewArea::windowResized(Ogre::RenderWindow*) {
    fit();
}

void ViewArea::fit() {
    const float width = static_cast<float>(window.getWidth());
    const float left = leftPanel ? leftPanel->getUnclippedOuterRect().get().right() : 0.0f;
    const float right = rightPanel ? rightPanel->getUnclippedOuterRect().get().left() : width;
    if (right - left < 1.0f || width < 1.0f)
        return; // a window narrower than its panels keeps the view it had
    viewport.setDimensions(left / width, 0.0f, (right - left) / width, 1.0f);
}

#pragma once

#include <Bites/OgreWindowEventUtilities.h>

namespace CEGUI {
class Window;
}
namespace Ogre {
class RenderWindow;
class Viewport;
} // namespace Ogre

// The 3D view between the panels of the layout, the backdrops "imgControls" down the left edge
// and "imgLibrary" down the right: when the window is resized the panels keep their width and
// the view takes the rest, its camera's aspect ratio following it, so the model is neither
// stretched nor framed behind a panel. Without a backdrop the view reaches that edge of the
// window.
class ViewArea : public OgreBites::WindowEventListener {
public:
    ViewArea(Ogre::RenderWindow& window, Ogre::Viewport& viewport, CEGUI::Window& sheet);
    ~ViewArea() override;
    ViewArea(const ViewArea&) = delete;
    ViewArea& operator=(const ViewArea&) = delete;

    void windowResized(Ogre::RenderWindow* window) override;

private:
    void fit();

    Ogre::RenderWindow& window;
    Ogre::Viewport& viewport;
    const CEGUI::Window* leftPanel;
    const CEGUI::Window* rightPanel;
};

#pragma once

#include "AnimationControls.h"
#include "WindowScreenshot.h"

#include <functional>
#include <memory>
#include <string>

class MyFrameListener;
class ShownModel;
namespace CEGUI {
class EventArgs;
class Window;
} // namespace CEGUI
namespace Ogre {
class Camera;
class RenderWindow;
class Root;
} // namespace Ogre

// The window's controls besides those that choose, play and stop a model: loop, speed and time
// of the animation, the Skeleton, Bounds and Wireframe boxes, Frame and the F key, Rescan, F12,
// the model's facts and the status line. It only turns their events into calls on the shown
// model and the answers into their texts. A widget the layout lacks leaves its control off.
class ControlPanel {
public:
    // Rescan calls `relist`, which lists the models afresh.
    ControlPanel(CEGUI::Window& sheet, ShownModel& shown, Ogre::Camera& camera,
                 std::function<void()> relist);

    // Follows the frames (the time slider, F12's pictures) and takes the F and F12 keys.
    void connect(Ogre::Root& root, Ogre::RenderWindow& window, MyFrameListener& input);
    // What became of a mesh the user chose: `message` in the status line, its facts beside.
    void modelShown(const std::string& message);
    // One line in the status line, on standard error when the layout has none.
    void report(const std::string& message);

private:
    void frameModel();

    ShownModel& shown;
    Ogre::Camera& camera;
    std::function<void()> relist;
    CEGUI::Window* statusText;
    CEGUI::Window* infoText;
    AnimationControls animationControls;
    std::unique_ptr<ScreenshotTaker> screenshots;
};

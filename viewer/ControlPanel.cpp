#include "ControlPanel.h"

#include "ModelFacts.h"
#include "MyFrameListener.h"
#include "ShownModel.h"
#include "WidgetLookup.h"

#include <CEGUI/CEGUI.h>
#include <OgreCamera.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>

#include <iostream>
#include <utility>

namespace {

// Calls `show` with the box's state whenever the user ticks or clears it.
template <typename Show> void onToggle(CEGUI::Window& sheet, const char* name, Show show) {
    auto* box = findOptionalWidget<CEGUI::ToggleButton>(sheet, name);
    if (!box)
        return;
    box->subscribeEvent(CEGUI::ToggleButton::EventSelectStateChanged,
                        [box, show](const CEGUI::EventArgs&) {
                            show(box->isSelected());
                            return true;
                        });
}

} // namespace

ControlPanel::ControlPanel(CEGUI::Window& sheet, ShownModel& shown, Ogre::Camera& camera,
                           std::function<void()> relist)
    : shown(shown), camera(camera), relist(std::move(relist)),
      statusText(findOptionalWidget<CEGUI::Window>(sheet, "txtStatus")),
      infoText(findOptionalWidget<CEGUI::Window>(sheet, "txtInfo")),
      animationControls(sheet, shown) {
    onToggle(sheet, "chkSkeleton", [&shown](bool on) { shown.showSkeleton(on); });
    onToggle(sheet, "chkBounds", [&shown](bool on) { shown.showBounds(on); });
    onToggle(sheet, "chkWireframe", [&camera](bool on) {
        camera.setPolygonMode(on ? Ogre::PM_WIREFRAME : Ogre::PM_SOLID);
    });
    if (auto* rescanButton = findOptionalWidget<CEGUI::PushButton>(sheet, "btnRescan"))
        rescanButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                                     [this](const CEGUI::EventArgs&) {
                                         this->relist();
                                         return true;
                                     });
    if (auto* frameButton = findOptionalWidget<CEGUI::PushButton>(sheet, "btnFrame"))
        frameButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                                    [this](const CEGUI::EventArgs&) {
                                        frameModel();
                                        return true;
                                    });
}

// The F key frames the model with any layout.
void ControlPanel::connect(Ogre::Root& root, Ogre::RenderWindow& window, MyFrameListener& input) {
    root.addFrameListener(&animationControls);
    screenshots = std::make_unique<ScreenshotTaker>(
        window, [this](const std::string& message) { report(message); });
    root.addFrameListener(screenshots.get());
    input.bindKey(Key::F12, [this] { screenshots->request(); });
    input.bindKey(Key::F, [this] { frameModel(); });
}

void ControlPanel::frameModel() {
    shown.frame(camera);
}

void ControlPanel::modelShown(const std::string& message) {
    if (infoText) {
        const std::optional<ModelFacts> facts = shown.facts();
        infoText->setText(facts ? describeModelFacts(*facts) : "");
    }
    report(message);
}

void ControlPanel::report(const std::string& message) {
    if (statusText)
        statusText->setText(message);
    else if (!message.empty())
        std::cerr << "Velmora: " << message << std::endl;
}

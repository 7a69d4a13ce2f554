#include "ModelTools.h"
#include "ModelFacts.h"
#include "MyApplication.h"
#include "ResourceRescan.h"
#include "WidgetLookup.h"

#include <CEGUI/CEGUI.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>

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

void MyApplication::connectModelTools(CEGUI::Combobox* meshBox) {
    CEGUI::Window& sheet = *guiSystem->getDefaultGUIContext().getRootWindow();
    modelTools = std::make_unique<ModelTools>();
    ModelTools& tools = *modelTools;
    tools.meshBox = meshBox;
    tools.infoText = findOptionalWidget<CEGUI::Window>(sheet, "txtInfo");
    tools.animationControls = std::make_unique<AnimationControls>(
        *frameListener, sheet, [this]() -> Ogre::AnimationState* {
            const CEGUI::ListboxItem* choice = animationList->getFirstSelectedItem();
            return entity && choice ? entity->getAnimationState(choice->getText().c_str())
                                    : nullptr;
        });
    root->addFrameListener(tools.animationControls.get());
    tools.overlays = std::make_unique<ModelOverlays>(*sceneManager, modelNode, entity);
    onToggle(sheet, "chkSkeleton", [&tools](bool on) { tools.overlays->showSkeleton(on); });
    onToggle(sheet, "chkBounds", [&tools](bool on) { tools.overlays->showBounds(on); });
    onToggle(sheet, "chkWireframe",
             [this](bool on) { camera->setPolygonMode(on ? Ogre::PM_WIREFRAME : Ogre::PM_SOLID); });
    if (auto* rescanButton = findOptionalWidget<CEGUI::PushButton>(sheet, "btnRescan"))
        rescanButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                                     CEGUI::Event::Subscriber(&MyApplication::handleRescan, this));
    tools.screenshots = std::make_unique<ScreenshotTaker>(
        *window, [this](const std::string& message) { reportStatus(message); });
    root->addFrameListener(tools.screenshots.get());
    frameListener->bindKey(Key::F12, [&tools] { tools.screenshots->request(); });
}

bool MyApplication::handleRescan(const CEGUI::EventArgs&) {
    rescanResourceLocations();
    modelTools->meshBox->resetList();
    listMeshes(modelTools->meshBox);
    return true;
}

void MyApplication::describeShownModel() {
    if (CEGUI::Window* infoText = modelTools->infoText)
        infoText->setText(entity ? describeModelFacts(gatherModelFacts(*entity->getMesh())) : "");
}

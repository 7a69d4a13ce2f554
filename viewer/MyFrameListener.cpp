#include "MyFrameListener.h"

#include <CEGUI/GUIContext.h>
#include <CEGUI/Renderer.h>
#include <CEGUI/System.h>
#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreRenderWindow.h>
#include <OgreSceneNode.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

namespace {

// Direction in the camera's own axes that a movement key pushes towards; zero for other keys.
Ogre::Vector3 movementDirection(int key) {
    switch (key) {
    case Key::W:
    case Key::Up:
        return Ogre::Vector3::NEGATIVE_UNIT_Z;
    case Key::S:
    case Key::Down:
        return Ogre::Vector3::UNIT_Z;
    case Key::A:
    case Key::Left:
        return Ogre::Vector3::NEGATIVE_UNIT_X;
    case Key::D:
    case Key::Right:
        return Ogre::Vector3::UNIT_X;
    case Key::Q:
    case Key::PageUp:
        return Ogre::Vector3::UNIT_Y;
    case Key::E:
    case Key::PageDown:
        return Ogre::Vector3::NEGATIVE_UNIT_Y;
    default:
        return Ogre::Vector3::ZERO;
    }
}

// A wheel notch towards the model takes the camera to this share of its distance from the
// origin, where the shown model's centre lies, and a notch away by its inverse: the wheel serves
// models of any size, and notches in and out cancel.
constexpr float wheelNotchShare = 0.9f;

// A drag across the whole window turns the camera by this many degrees.
constexpr double degreesPerWindowDrag = -30.0;

Ogre::Radian dragAngle(float relativeMotion) {
    return Ogre::Radian(static_cast<float>(degreesPerWindowDrag * relativeMotion) *
                        Ogre::Math::fDeg2Rad);
}

} // namespace

CEGUI::MouseButton toGuiMouseButton(int buttonId) {
    switch (buttonId) {
    case secondMouseButton:
        return CEGUI::RightButton;
    case thirdMouseButton:
        return CEGUI::MiddleButton;
    case fourthMouseButton:
        return CEGUI::X1Button;
    default:
        return CEGUI::LeftButton;
    }
}

MyFrameListener::MyFrameListener(Ogre::RenderWindow* window, Ogre::Camera* camera,
                                 CEGUI::System* guiSystem, CEGUI::Renderer* guiRenderer)
    : window(window), guiSystem(guiSystem), guiRenderer(guiRenderer), camera(camera) {}

bool MyFrameListener::frameStarted(const Ogre::FrameEvent& event) {
    if (window->isClosed() || quitRequested)
        return false;
    camera->getParentSceneNode()->translate(velocity * event.timeSinceLastFrame,
                                            Ogre::Node::TS_LOCAL);
    if (activeAnimation)
        activeAnimation->addTime(event.timeSinceLastFrame * animationSpeed);
    // The GUI's clock: tooltips appear after the pointer has rested a while.
    if (guiSystem) {
        guiSystem->injectTimePulse(event.timeSinceLastFrame);
        guiSystem->getDefaultGUIContext().injectTimePulse(event.timeSinceLastFrame);
    }
    return true;
}

bool MyFrameListener::frameEnded(const Ogre::FrameEvent&) {
    // Gives the processor up between frames; this also caps the frame rate below 100.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

bool MyFrameListener::moveGuiCursor(const MouseEvent* event) {
    // The GUI cursor follows the system pointer itself rather than summed relative motion,
    // which would drift away from it.
    const CEGUI::Sizef& size = guiRenderer->getDisplaySize();
    guiSystem->getDefaultGUIContext().getMouseCursor().show();
    return guiSystem->getDefaultGUIContext().injectMousePosition(event->x * size.d_width,
                                                                 event->y * size.d_height);
}

void MyFrameListener::mouseMoved(const MouseEvent* event) {
    moveGuiCursor(event);
}

void MyFrameListener::mouseDragged(const MouseEvent* event) {
    if (moveGuiCursor(event))
        return;
    Ogre::SceneNode* cameraNode = camera->getParentSceneNode();
    // Yaw about the world's vertical so that the horizon stays level.
    cameraNode->yaw(dragAngle(event->relX), Ogre::Node::TS_WORLD);
    cameraNode->pitch(dragAngle(event->relY));
}

void MyFrameListener::mousePressed(const MouseEvent* event) {
    guiSystem->getDefaultGUIContext().injectMouseButtonDown(toGuiMouseButton(event->buttonId));
}

void MyFrameListener::mouseReleased(const MouseEvent* event) {
    guiSystem->getDefaultGUIContext().injectMouseButtonUp(toGuiMouseButton(event->buttonId));
}

void MyFrameListener::keyPressed(const KeyEvent* event) {
    if (event->key == Key::Escape)
        quitRequested = true;
    const auto controlAction = controlKeyActions.find(event->key);
    if (event->control && controlAction != controlKeyActions.end()) {
        controlAction->second();
    } else {
        const Ogre::Vector3 direction = movementDirection(event->key);
        if (direction != Ogre::Vector3::ZERO && heldMovementKeys.insert(event->key).second)
            velocity += direction * moveSpeed;
        const auto action = keyActions.find(event->key);
        if (action != keyActions.end())
            action->second();
    }
    CEGUI::GUIContext& gui = guiSystem->getDefaultGUIContext();
    gui.injectKeyDown(static_cast<CEGUI::Key::Scan>(event->key));
    gui.injectChar(static_cast<CEGUI::utf32>(event->keyChar));
}

void MyFrameListener::keyReleased(const KeyEvent* event) {
    if (event->key == Key::Escape)
        quitRequested = true;
    if (heldMovementKeys.erase(event->key) > 0)
        velocity -= movementDirection(event->key) * moveSpeed;
    guiSystem->getDefaultGUIContext().injectKeyUp(static_cast<CEGUI::Key::Scan>(event->key));
}

void MyFrameListener::mouseWheeled(float notches) {
    if (guiSystem->getDefaultGUIContext().injectMouseWheelChange(notches))
        return; // a list under the pointer scrolled
    Ogre::SceneNode* cameraNode = camera->getParentSceneNode();
    cameraNode->setPosition(cameraNode->getPosition() * std::pow(wheelNotchShare, notches));
}

void MyFrameListener::releaseAllKeys() {
    heldMovementKeys.clear();
    velocity = Ogre::Vector3::ZERO;
}

void MyFrameListener::bindKey(int key, std::function<void()> action) {
    keyActions[key] = std::move(action);
}

void MyFrameListener::bindControlKey(int key, std::function<void()> action) {
    controlKeyActions[key] = std::move(action);
}

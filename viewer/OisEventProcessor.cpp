#include "OisEventProcessor.h"

#include "MyFrameListener.h"

#include <CEGUI/System.h>
#include <OgreRenderWindow.h>
#include <X11/Xlib.h>
#include <ois/OISInputManager.h>

#include <string>

namespace {

OIS::InputManager* createInputSystem(Ogre::RenderWindow* window) {
    std::size_t windowHandle = 0;
    window->getCustomAttribute("WINDOW", &windowHandle);
    OIS::ParamList parameters;
    parameters.insert({"WINDOW", std::to_string(windowHandle)});
    parameters.insert({"x11_keyboard_grab", "false"});
    parameters.insert({"x11_mouse_grab", "false"});
    return OIS::InputManager::createInputSystem(parameters);
}

// OIS's own absolute position starts a few pixels away from the pointer, so ask the server.
Ogre::Vector2 pointerPosition(Ogre::RenderWindow* window) {
    Display* display = nullptr;
    Window windowHandle = 0;
    window->getCustomAttribute("XDISPLAY", &display);
    window->getCustomAttribute("WINDOW", &windowHandle);
    Window rootWindow, childWindow;
    int rootX, rootY, x = 0, y = 0;
    unsigned int buttons;
    XQueryPointer(display, windowHandle, &rootWindow, &childWindow, &rootX, &rootY, &x, &y,
                  &buttons);
    return Ogre::Vector2(static_cast<float>(x), static_cast<float>(y));
}

// What X reports for one notch of the mouse wheel.
constexpr float wheelUnitsPerNotch = 120.0f;

// Characters outside 8 bits have no place in the former events; such a key press carries none.
char eightBitCharacter(unsigned int text) {
    return text < 256 ? static_cast<char>(text) : 0;
}

} // namespace

OisEventProcessor::OisEventProcessor(Ogre::RenderWindow* window, MyFrameListener* listener)
    : window(window), listener(listener), inputManager(createInputSystem(window)) {
    keyboard = static_cast<OIS::Keyboard*>(inputManager->createInputObject(OIS::OISKeyboard, true));
    mouse = static_cast<OIS::Mouse*>(inputManager->createInputObject(OIS::OISMouse, true));
    keyboard->setEventCallback(this);
    mouse->setEventCallback(this);
    OgreBites::WindowEventUtilities::_addRenderWindow(window);
    OgreBites::WindowEventUtilities::addWindowEventListener(window, this);
    windowResized(window);
}

OisEventProcessor::~OisEventProcessor() {
    OgreBites::WindowEventUtilities::removeWindowEventListener(window, this);
    OgreBites::WindowEventUtilities::_removeRenderWindow(window);
    inputManager->destroyInputObject(mouse);
    inputManager->destroyInputObject(keyboard);
    OIS::InputManager::destroyInputSystem(inputManager);
}

bool OisEventProcessor::frameStarted(const Ogre::FrameEvent&) {
    OgreBites::WindowEventUtilities::messagePump();
    if (window->isClosed())
        return true;
    keyboard->capture();
    mouse->capture();
    return true;
}

bool OisEventProcessor::keyPressed(const OIS::KeyEvent& event) {
    const KeyEvent pressed{event.key, eightBitCharacter(event.text),
                           keyboard->isModifierDown(OIS::Keyboard::Ctrl)};
    listener->keyPressed(&pressed);
    return true;
}

bool OisEventProcessor::keyReleased(const OIS::KeyEvent& event) {
    const KeyEvent released{event.key, 0};
    listener->keyReleased(&released);
    return true;
}

MouseEvent OisEventProcessor::pointerEvent(const OIS::MouseState& state) const {
    const Ogre::Vector2 position = pointerPosition(window);
    const float width = static_cast<float>(state.width);
    const float height = static_cast<float>(state.height);
    return MouseEvent{0, state.X.rel / width, state.Y.rel / height, position.x / width,
                      position.y / height};
}

bool OisEventProcessor::mouseMoved(const OIS::MouseEvent& event) {
    const OIS::MouseState& state = event.state;
    if (state.Z.rel != 0)
        listener->mouseWheeled(static_cast<float>(state.Z.rel) / wheelUnitsPerNotch);
    if (state.X.rel == 0 && state.Y.rel == 0)
        return true;
    const MouseEvent moved = pointerEvent(state);
    if (state.buttons != 0)
        listener->mouseDragged(&moved);
    else
        listener->mouseMoved(&moved);
    return true;
}

// OIS reports a button before the motion that led to it, so the GUI cursor first catches up
// with the pointer: the click lands where the user sees it.
MouseEvent OisEventProcessor::buttonEvent(OIS::MouseButtonID button) const {
    MouseEvent event = pointerEvent(mouse->getMouseState());
    event.relX = event.relY = 0.0f;
    listener->mouseMoved(&event);
    event.buttonId = firstMouseButton << button;
    return event;
}

bool OisEventProcessor::mousePressed(const OIS::MouseEvent&, OIS::MouseButtonID button) {
    const MouseEvent pressed = buttonEvent(button);
    listener->mousePressed(&pressed);
    return true;
}

bool OisEventProcessor::mouseReleased(const OIS::MouseEvent&, OIS::MouseButtonID button) {
    const MouseEvent released = buttonEvent(button);
    listener->mouseReleased(&released);
    return true;
}

void OisEventProcessor::windowResized(Ogre::RenderWindow* resized) {
    const OIS::MouseState& state = mouse->getMouseState();
    state.width = static_cast<int>(resized->getWidth());
    state.height = static_cast<int>(resized->getHeight());
    if (CEGUI::System* gui = CEGUI::System::getSingletonPtr())
        gui->notifyDisplaySizeChanged(CEGUI::Sizef(state.width, state.height));
}

// The releases of keys held when the focus goes are delivered to another window, so the keys
// count as released now. When the focus comes back nothing is held that this could release.
void OisEventProcessor::windowFocusChange(Ogre::RenderWindow*) {
    listener->releaseAllKeys();
}

#pragma once

#include "InputEvents.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <OgreFrameListener.h>
#include <ois/OISKeyboard.h>
#include <ois/OISMouse.h>

class MyFrameListener;
namespace OIS {
class InputManager;
}

// The viewer's source of input: buffered keyboard and mouse of the render window, read once per
// frame together with the window's own messages (close, resize), and handed to the frame
// listener as the engine's former input events. Neither the keyboard nor the pointer is grabbed.
class OisEventProcessor : public Ogre::FrameListener,
                          public OIS::KeyListener,
                          public OIS::MouseListener,
                          public OgreBites::WindowEventListener {
public:
    OisEventProcessor(Ogre::RenderWindow* window, MyFrameListener* listener);
    ~OisEventProcessor() override;
    OisEventProcessor(const OisEventProcessor&) = delete;
    OisEventProcessor& operator=(const OisEventProcessor&) = delete;

    bool frameStarted(const Ogre::FrameEvent& event) override;

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;
    bool mouseMoved(const OIS::MouseEvent& event) override;
    bool mousePressed(const OIS::MouseEvent& event, OIS::MouseButtonID button) override;
    bool mouseReleased(const OIS::MouseEvent& event, OIS::MouseButtonID button) override;

    void windowResized(Ogre::RenderWindow* window) override;
    void windowFocusChange(Ogre::RenderWindow* window) override;

private:
    MouseEvent pointerEvent(const OIS::MouseState& state) const;
    MouseEvent buttonEvent(OIS::MouseButtonID button) const;

    Ogre::RenderWindow* window;
    MyFrameListener* listener;
    OIS::InputManager* inputManager = nullptr;
    OIS::Keyboard* keyboard = nullptr;
    OIS::Mouse* mouse = nullptr;
};

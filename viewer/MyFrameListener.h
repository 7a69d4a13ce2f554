#pragma once

#include "AnimationClock.h"
#include "InputEvents.h"

#include <CEGUI/InputEvent.h>
#include <OgreFrameListener.h>
#include <OgreVector.h>

#include <functional>
#include <map>
#include <set>

namespace CEGUI {
class Renderer;
class System;
} // namespace CEGUI
namespace Ogre {
class Camera;
class RenderWindow;
} // namespace Ogre

// Per frame: ends the render loop when asked, moves the camera by the velocity the movement keys
// built up and advances the playing animation. Every input event also reaches the GUI.
class MyFrameListener : public Ogre::FrameListener, public AnimationClock {
public:
    // The camera must be attached to a scene node of its own: that node is what moves and turns.
    MyFrameListener(Ogre::RenderWindow* window, Ogre::Camera* camera, CEGUI::System* guiSystem,
                    CEGUI::Renderer* guiRenderer);

    bool frameStarted(const Ogre::FrameEvent& event) override;
    bool frameEnded(const Ogre::FrameEvent& event) override;

    void mouseMoved(const MouseEvent* event);
    void mouseDragged(const MouseEvent* event);
    void mousePressed(const MouseEvent* event);
    void mouseReleased(const MouseEvent* event);
    void keyPressed(const KeyEvent* event);
    void keyReleased(const KeyEvent* event);
    // Wheel notches away from the user (negative: towards) bring the camera nearer the shown
    // model's centre (take it further away) along the line between them.
    void mouseWheeled(float notches);
    // Ends every movement a held key makes, as if all keys had been released: the window lost
    // the focus, and the releases will go elsewhere.
    void releaseAllKeys();
    // Runs `action` whenever the key goes down, besides what the key does anyway.
    void bindKey(int key, std::function<void()> action);
    // Runs `action` whenever the key goes down with Ctrl held, instead of moving the camera.
    void bindControlKey(int key, std::function<void()> action);

    const Ogre::Vector3& getVelocity() const { return velocity; }

    bool quitRequested = false;

private:
    bool moveGuiCursor(const MouseEvent* event);

    Ogre::RenderWindow* window;
    CEGUI::System* guiSystem;
    CEGUI::Renderer* guiRenderer;
    Ogre::Camera* camera;
    Ogre::Vector3 velocity = Ogre::Vector3::ZERO;
    float moveSpeed = 100.0f;
    // A key counts towards the velocity only between its delivered press and release, so a
    // release that arrives without its press (the key went down while another window had the
    // focus) cannot leave the camera drifting.
    std::set<int> heldMovementKeys;
    std::map<int, std::function<void()>> keyActions;
    std::map<int, std::function<void()>> controlKeyActions;
};

CEGUI::MouseButton toGuiMouseButton(int buttonId);

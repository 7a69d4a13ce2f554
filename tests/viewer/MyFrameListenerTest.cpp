#include "MyFrameListener.h"
#include "HeadlessScene.h"

#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include <chrono>
#include <utility>
#include <vector>

namespace {

class FrameListenerTest : public ::testing::Test {
protected:
    HeadlessScene scene;
    MyFrameListener listener{&scene.window, scene.camera, scene.guiSystem, scene.guiRenderer};

    void press(int key, char keyChar = 0) {
        const KeyEvent event{key, keyChar};
        listener.keyPressed(&event);
    }
    void release(int key) {
        const KeyEvent event{key, 0};
        listener.keyReleased(&event);
    }
    Ogre::SceneNode* cameraNode() { return scene.camera->getParentSceneNode(); }
    bool startFrame(float seconds) { return listener.frameStarted({0.0f, seconds}); }
    void expectCameraUnturned() {
        EXPECT_TRUE(
            cameraNode()->getOrientation().equals(Ogre::Quaternion::IDENTITY, Ogre::Radian(1e-6f)));
    }
};

} // namespace

// Each way of moving has a letter and an arrow or page key; held for half a second, either
// moves the camera 50 units that way in its own axes, wherever it looks.
TEST_F(FrameListenerTest, EachMovementKeyMovesTheCameraItsWayWhileHeld) {
    cameraNode()->yaw(Ogre::Degree(30));
    const Ogre::Quaternion turn = cameraNode()->getOrientation();
    const Ogre::Vector3 forward = turn * Ogre::Vector3::NEGATIVE_UNIT_Z;
    const Ogre::Vector3 right = turn * Ogre::Vector3::UNIT_X;
    const Ogre::Vector3 up = turn * Ogre::Vector3::UNIT_Y;
    const std::vector<std::pair<std::vector<int>, Ogre::Vector3>> ways = {
        {{Key::W, Key::Up}, forward},  {{Key::S, Key::Down}, -forward},
        {{Key::A, Key::Left}, -right}, {{Key::D, Key::Right}, right},
        {{Key::Q, Key::PageUp}, up},   {{Key::E, Key::PageDown}, -up}};
    for (const auto& [keys, way] : ways)
        for (int key : keys) {
            const Ogre::Vector3 before = cameraNode()->getPosition();
            press(key);
            EXPECT_TRUE(startFrame(0.5f));
            release(key);
            EXPECT_TRUE(startFrame(0.5f));
            EXPECT_TRUE((cameraNode()->getPosition() - before).positionEquals(way * 50, 1e-3f))
                << "key " << key;
        }
}

TEST_F(FrameListenerTest, KeysOtherThanTheViewersLeaveTheVelocityAlone) {
    for (int key : {0, 2, 19, 57, 199, 202, 210, 255}) {
        press(key);
        release(key);
    }
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
    EXPECT_FALSE(listener.quitRequested);
}

TEST_F(FrameListenerTest, KeysOfTheSameDirectionAddUpAndOppositeKeysCancel) {
    press(Key::W);
    press(Key::Up);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(0, 0, -200));
    press(Key::S);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(0, 0, -100));
    release(Key::Up);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
    press(Key::D);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(100, 0, 0));
}

// A key held down before the window had the focus reaches the viewer only as a release.
TEST_F(FrameListenerTest, AReleaseWithoutItsPressLeavesNoDrift) {
    release(Key::W);
    release(Key::PageDown);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
    press(Key::W);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(0, 0, -100));
    release(Key::W);
    release(Key::W);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
}

// The counterpart: a press whose release went to another window, followed by a new press.
TEST_F(FrameListenerTest, ARepeatedPressCountsOnceUntilItsRelease) {
    press(Key::A);
    press(Key::A);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(-100, 0, 0));
    release(Key::A);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
}

TEST_F(FrameListenerTest, EscapeRequestsQuitOnPressAndOnReleaseAlone) {
    press(Key::Escape);
    EXPECT_TRUE(listener.quitRequested);

    MyFrameListener other(&scene.window, scene.camera, scene.guiSystem, scene.guiRenderer);
    const KeyEvent escape{Key::Escape, 27};
    other.keyReleased(&escape);
    EXPECT_TRUE(other.quitRequested);
}

// Movement keys reach the GUI too, whatever widget has the focus.
TEST_F(FrameListenerTest, EveryKeyReachesTheGuiWithItsCharacterOnPress) {
    std::vector<int> keysDown, keysUp;
    std::vector<CEGUI::utf32> characters;
    CEGUI::Window* panel = scene.guiPanel;
    panel->activate();
    panel->subscribeEvent(CEGUI::Window::EventKeyDown, [&](const CEGUI::EventArgs& args) {
        keysDown.push_back(static_cast<const CEGUI::KeyEventArgs&>(args).scancode);
        return true;
    });
    panel->subscribeEvent(CEGUI::Window::EventKeyUp, [&](const CEGUI::EventArgs& args) {
        keysUp.push_back(static_cast<const CEGUI::KeyEventArgs&>(args).scancode);
        return true;
    });
    panel->subscribeEvent(CEGUI::Window::EventCharacterKey, [&](const CEGUI::EventArgs& args) {
        characters.push_back(static_cast<const CEGUI::KeyEventArgs&>(args).codepoint);
        return true;
    });

    press(Key::W, 'w');
    release(Key::W);
    press(Key::A, 'a');
    release(Key::A);

    EXPECT_EQ(keysDown, (std::vector<int>{Key::W, Key::A}));
    EXPECT_EQ(keysUp, (std::vector<int>{Key::W, Key::A}));
    EXPECT_EQ(characters, (std::vector<CEGUI::utf32>{'w', 'a'}));
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
}

TEST_F(FrameListenerTest, ButtonIdsMapToGuiButtons) {
    EXPECT_EQ(toGuiMouseButton(16), CEGUI::LeftButton);
    EXPECT_EQ(toGuiMouseButton(32), CEGUI::RightButton);
    EXPECT_EQ(toGuiMouseButton(64), CEGUI::MiddleButton);
    EXPECT_EQ(toGuiMouseButton(128), CEGUI::X1Button);
    EXPECT_EQ(toGuiMouseButton(0), CEGUI::LeftButton);
    EXPECT_EQ(toGuiMouseButton(48), CEGUI::LeftButton);
    EXPECT_EQ(toGuiMouseButton(256), CEGUI::LeftButton);
}

TEST_F(FrameListenerTest, ButtonsReachTheWidgetUnderTheCursor) {
    std::vector<CEGUI::MouseButton> down, up;
    scene.guiPanel->subscribeEvent(
        CEGUI::Window::EventMouseButtonDown, [&](const CEGUI::EventArgs& args) {
            down.push_back(static_cast<const CEGUI::MouseEventArgs&>(args).button);
            return true;
        });
    scene.guiPanel->subscribeEvent(
        CEGUI::Window::EventMouseButtonUp, [&](const CEGUI::EventArgs& args) {
            up.push_back(static_cast<const CEGUI::MouseEventArgs&>(args).button);
            return true;
        });
    const MouseEvent overPanel{0, 0.0f, 0.0f, 0.25f, 0.5f};
    listener.mouseMoved(&overPanel);
    for (int buttonId : {32, 64, 16}) {
        const MouseEvent click{buttonId, 0.0f, 0.0f, 0.25f, 0.5f};
        listener.mousePressed(&click);
        listener.mouseReleased(&click);
    }
    const std::vector<CEGUI::MouseButton> expected = {CEGUI::RightButton, CEGUI::MiddleButton,
                                                      CEGUI::LeftButton};
    EXPECT_EQ(down, expected);
    EXPECT_EQ(up, expected);
}

TEST_F(FrameListenerTest, MovingWithoutAButtonOnlyMovesTheGuiCursor) {
    const MouseEvent move{0, 0.25f, 0.1f, 0.75f, 0.5f};
    listener.mouseMoved(&move);
    const CEGUI::Vector2f cursor =
        scene.guiSystem->getDefaultGUIContext().getMouseCursor().getPosition();
    EXPECT_FLOAT_EQ(cursor.d_x, 600.0f);
    EXPECT_FLOAT_EQ(cursor.d_y, 300.0f);
    expectCameraUnturned();
}

// A quarter of the window's width yaws by -7.5 degrees; yaw is about the world's vertical and
// pitch about the camera's own horizontal axis.
TEST_F(FrameListenerTest, DraggingOutsideTheGuiTurnsTheCamera) {
    const MouseEvent drag{16, 0.25f, 0.5f, 0.75f, 0.5f};
    listener.mouseDragged(&drag);
    const Ogre::Quaternion expected = Ogre::Quaternion(Ogre::Degree(-7.5f), Ogre::Vector3::UNIT_Y) *
                                      Ogre::Quaternion(Ogre::Degree(-15.0f), Ogre::Vector3::UNIT_X);
    EXPECT_TRUE(cameraNode()->getOrientation().equals(expected, Ogre::Radian(1e-5f)));
}

TEST_F(FrameListenerTest, PitchFollowsTheCamerasTurnedAxes) {
    const MouseEvent yawOnly{16, -3.0f, 0.0f, 0.75f, 0.5f};
    listener.mouseDragged(&yawOnly);
    const MouseEvent pitchOnly{16, 0.0f, -1.0f, 0.8f, 0.5f};
    listener.mouseDragged(&pitchOnly);
    // Yawed by 90 degrees to the left, the camera looks along -x; pitching up by 30 degrees
    // then lifts that view direction towards +y.
    const Ogre::Vector3 viewDirection = cameraNode()->getOrientation() * Ogre::Vector3(0, 0, -1);
    EXPECT_TRUE(viewDirection.positionEquals(
        Ogre::Vector3(-std::cos(Ogre::Math::PI / 6), std::sin(Ogre::Math::PI / 6), 0), 1e-5f));
}

TEST_F(FrameListenerTest, DraggingOverAWidgetDoesNotTurnTheCamera) {
    const MouseEvent drag{16, 0.25f, 0.5f, 0.25f, 0.5f};
    listener.mouseDragged(&drag);
    expectCameraUnturned();
}

TEST_F(FrameListenerTest, FrameMovesTheCameraInItsOwnAxesByTheFrameTime) {
    cameraNode()->yaw(Ogre::Degree(90)); // now looking along -x
    press(Key::W);
    press(Key::Q);
    EXPECT_TRUE(startFrame(0.5f));
    EXPECT_TRUE(cameraNode()->getPosition().positionEquals(Ogre::Vector3(-50, 50, 0), 1e-3f));
}

// A notch in takes the camera to nine tenths of its distance from the origin, where the model's
// centre is, along the line between them; a notch out by the inverse.
TEST_F(FrameListenerTest, TheWheelScalesTheCamerasDistanceToTheModelsCentre) {
    const MouseEvent outsideTheGui{0, 0.0f, 0.0f, 0.75f, 0.5f};
    listener.mouseMoved(&outsideTheGui);
    cameraNode()->setPosition(0, 0, 500);
    listener.mouseWheeled(1.0f);
    EXPECT_TRUE(cameraNode()->getPosition().positionEquals(Ogre::Vector3(0, 0, 450), 1e-3f));
    listener.mouseWheeled(-2.0f);
    EXPECT_TRUE(
        cameraNode()->getPosition().positionEquals(Ogre::Vector3(0, 0, 450 / 0.81f), 1e-3f));
    cameraNode()->setPosition(0, 30, 40);
    cameraNode()->yaw(Ogre::Degree(90)); // looking aside, the wheel still heads for the model
    listener.mouseWheeled(1.0f);
    EXPECT_TRUE(cameraNode()->getPosition().positionEquals(Ogre::Vector3(0, 27, 36), 1e-3f));
}

TEST_F(FrameListenerTest, TenNotchesInAndTenOutReturnTheCameraToWhereItWas) {
    const MouseEvent outsideTheGui{0, 0.0f, 0.0f, 0.75f, 0.5f};
    listener.mouseMoved(&outsideTheGui);
    const Ogre::Vector3 start(120, -35, 480);
    cameraNode()->setPosition(start);
    for (int notch = 0; notch < 10; ++notch)
        listener.mouseWheeled(1.0f);
    EXPECT_LT(cameraNode()->getPosition().length(), start.length() * 0.35f);
    for (int notch = 0; notch < 10; ++notch)
        listener.mouseWheeled(-1.0f);
    EXPECT_TRUE(cameraNode()->getPosition().positionEquals(start, 1e-3f))
        << cameraNode()->getPosition();
}

TEST_F(FrameListenerTest, TheAnimationAdvancesByTheFrameTimeTimesTheSpeed) {
    Ogre::AnimationStateSet states;
    Ogre::AnimationState* walk = states.createAnimationState("walk", 0.0f, 10.0f);
    listener.activeAnimation = walk;
    listener.animationSpeed = 2.5f;
    EXPECT_TRUE(startFrame(0.5f));
    EXPECT_FLOAT_EQ(walk->getTimePosition(), 1.25f);
}

TEST_F(FrameListenerTest, AKeyCommandRunsOnPressOnlyAndTheKeyStillReachesTheGui) {
    int runs = 0;
    listener.bindKey(Key::F12, [&runs] { ++runs; });
    press(Key::F12);
    release(Key::F12);
    press(Key::W);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(0, 0, -100));
}

TEST_F(FrameListenerTest, FrameAdvancesOnlyTheActiveAnimation) {
    Ogre::AnimationStateSet states;
    Ogre::AnimationState* walk = states.createAnimationState("walk", 0.0f, 10.0f);
    EXPECT_TRUE(startFrame(0.25f));
    EXPECT_EQ(walk->getTimePosition(), 0.0f);
    listener.activeAnimation = walk;
    EXPECT_TRUE(startFrame(0.25f));
    EXPECT_TRUE(startFrame(0.5f));
    EXPECT_FLOAT_EQ(walk->getTimePosition(), 0.75f);
}

TEST_F(FrameListenerTest, AClosedWindowOrAQuitRequestEndsTheLoopBeforeAnythingMoves) {
    Ogre::AnimationStateSet states;
    Ogre::AnimationState* walk = states.createAnimationState("walk", 0.0f, 10.0f);
    listener.activeAnimation = walk;
    press(Key::W);

    scene.window.closed = true;
    EXPECT_FALSE(startFrame(1.0f));
    scene.window.closed = false;
    listener.quitRequested = true;
    EXPECT_FALSE(startFrame(1.0f));

    EXPECT_EQ(cameraNode()->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_EQ(walk->getTimePosition(), 0.0f);
}

TEST_F(FrameListenerTest, FrameEndGivesUpTheProcessorForTenMilliseconds) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(listener.frameEnded({0.0f, 0.0f}));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
}

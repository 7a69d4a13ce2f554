#pragma once

#include <OgreFrameListener.h>

#include <functional>

class MyFrameListener;
namespace CEGUI {
class EventArgs;
class Scrollbar;
class ToggleButton;
class Window;
} // namespace CEGUI
namespace Ogre {
class AnimationState;
}

// Loop, speed and time of the animation on show. The time slider follows the playing animation
// and, dragged, poses the model at its time; with nothing playing it shows the animation chosen
// in the list and holds the pose it was dragged to until the next Stop, Play or mesh choice.
// The sliders are the GUI's horizontal scroll bars (its own slider is drawn upright only). Any
// widget may be missing from the layout; that control is then off.
class AnimationControls : public Ogre::FrameListener {
public:
    using ChosenAnimation = std::function<Ogre::AnimationState*()>;

    AnimationControls(MyFrameListener& frameListener, CEGUI::Window& sheet, ChosenAnimation chosen);

    // Before Play enables `animation`: loops it when Loop is on, and then rewinds it if it ended.
    void prepareToPlay(Ogre::AnimationState& animation) const;
    // Disables the pose set by a drag while nothing played; call before the entity goes.
    void releasePose();

    bool frameStarted(const Ogre::FrameEvent& event) override;

private:
    bool handleLoopChanged(const CEGUI::EventArgs& args);
    bool handleSpeedChanged(const CEGUI::EventArgs& args);
    bool handleTimeChanged(const CEGUI::EventArgs& args);
    bool loopWanted() const;
    Ogre::AnimationState* shownAnimation() const;
    void followAnimation(Ogre::AnimationState* animation);

    MyFrameListener& frameListener;
    ChosenAnimation chosen;
    CEGUI::ToggleButton* loopBox;
    CEGUI::Scrollbar* speedSlider;
    CEGUI::Window* speedText;
    CEGUI::Scrollbar* timeSlider;
    CEGUI::Window* timeText;
    float timeSliderLength = 0.0f;
    Ogre::AnimationState* posed = nullptr;
    bool thumbHeld = false;
    bool following = false; // the slider is being set to the animation's time, not dragged
};

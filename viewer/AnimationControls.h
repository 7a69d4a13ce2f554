#pragma once

#include <OgreFrameListener.h>

#include <string>

class ShownModel;
namespace CEGUI {
class EventArgs;
class Listbox;
class Scrollbar;
class ToggleButton;
class Window;
} // namespace CEGUI
namespace Ogre {
class AnimationState;
}

// The Loop box, the speed slider and the time slider of the animation on show, with their texts.
// The time slider follows the playing animation and, dragged, poses the model at its time; with
// nothing playing it shows the animation chosen in the list and holds the pose it was dragged to
// until the next Stop, Play or mesh choice.
// The sliders are the GUI's horizontal scroll bars (its own slider is drawn upright only). Any
// widget may be missing from the layout; that control is then off.
class AnimationControls : public Ogre::FrameListener {
public:
    AnimationControls(CEGUI::Window& sheet, ShownModel& shown);

    bool frameStarted(const Ogre::FrameEvent& event) override;

private:
    bool handleLoopChanged(const CEGUI::EventArgs& args);
    bool handleSpeedChanged(const CEGUI::EventArgs& args);
    bool handleTimeChanged(const CEGUI::EventArgs& args);
    std::string chosenAnimation() const;
    void followAnimation(const Ogre::AnimationState* animation);

    ShownModel& shown;
    CEGUI::Listbox* animationList;
    CEGUI::ToggleButton* loopBox;
    CEGUI::Scrollbar* speedSlider;
    CEGUI::Window* speedText;
    CEGUI::Scrollbar* timeSlider;
    CEGUI::Window* timeText;
    float timeSliderLength = 0.0f;
    bool thumbHeld = false;
    bool following = false; // the slider is being set to the animation's time, not dragged
};

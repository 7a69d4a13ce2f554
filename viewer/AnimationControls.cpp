#include "AnimationControls.h"

#include "ShownModel.h"
#include "WidgetLookup.h"

#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr float slowestSpeed = 0.1f;
constexpr float fastestSpeed = 4.0f;
// A click beside a slider's thumb moves it by a page, one on its arrows by a step.
constexpr float speedPage = 0.5f;
constexpr float speedStep = 0.1f;
constexpr float timePageShare = 0.1f;
constexpr float timeStepShare = 0.01f;

// The sliders are scroll bars, whose position runs from 0 to `length`.
void setSliderRange(CEGUI::Scrollbar& slider, float length, float page, float step) {
    slider.setPageSize(page);
    slider.setStepSize(step);
    slider.setDocumentSize(length + page);
}

void subscribe(CEGUI::Window* widget, const CEGUI::String& event,
               bool (AnimationControls::*handler)(const CEGUI::EventArgs&),
               AnimationControls* controls) {
    if (widget)
        widget->subscribeEvent(event, CEGUI::Event::Subscriber(handler, controls));
}

void setText(CEGUI::Window* widget, const char* format, double first, double second = 0) {
    if (!widget)
        return;
    char text[64];
    std::snprintf(text, sizeof text, format, first, second);
    widget->setText(text);
}

// "0.53 / 1.20 s": the animation's time and length; nothing without an animation.
void showTime(CEGUI::Window* widget, const Ogre::AnimationState* animation) {
    if (animation)
        setText(widget, "%.2f / %.2f s", animation->getTimePosition(), animation->getLength());
    else if (widget)
        widget->setText("");
}

} // namespace

AnimationControls::AnimationControls(CEGUI::Window& sheet, ShownModel& shown)
    : shown(shown), animationList(findOptionalWidget<CEGUI::Listbox>(sheet, "lbAnimations")),
      loopBox(findOptionalWidget<CEGUI::ToggleButton>(sheet, "chkLoop")),
      speedSlider(findOptionalWidget<CEGUI::Scrollbar>(sheet, "sldSpeed")),
      speedText(findOptionalWidget<CEGUI::Window>(sheet, "txtSpeed")),
      timeSlider(findOptionalWidget<CEGUI::Scrollbar>(sheet, "sldTime")),
      timeText(findOptionalWidget<CEGUI::Window>(sheet, "txtTime")) {
    if (speedSlider) {
        setSliderRange(*speedSlider, fastestSpeed, speedPage, speedStep);
        speedSlider->setScrollPosition(shown.speed());
    }
    setText(speedText, "%.1fx", shown.speed());
    shown.setLooping(loopBox && loopBox->isSelected());
    subscribe(loopBox, CEGUI::ToggleButton::EventSelectStateChanged,
              &AnimationControls::handleLoopChanged, this);
    subscribe(speedSlider, CEGUI::Scrollbar::EventScrollPositionChanged,
              &AnimationControls::handleSpeedChanged, this);
    subscribe(timeSlider, CEGUI::Scrollbar::EventScrollPositionChanged,
              &AnimationControls::handleTimeChanged, this);
    if (timeSlider) {
        timeSlider->subscribeEvent(CEGUI::Scrollbar::EventThumbTrackStarted,
                                   [this](const CEGUI::EventArgs&) {
                                       thumbHeld = true;
                                       return true;
                                   });
        timeSlider->subscribeEvent(CEGUI::Scrollbar::EventThumbTrackEnded,
                                   [this](const CEGUI::EventArgs&) {
                                       thumbHeld = false;
                                       return true;
                                   });
    }
}

std::string AnimationControls::chosenAnimation() const {
    const CEGUI::ListboxItem* choice =
        animationList ? animationList->getFirstSelectedItem() : nullptr;
    return choice ? choice->getText().c_str() : "";
}

bool AnimationControls::handleLoopChanged(const CEGUI::EventArgs&) {
    shown.setLooping(loopBox->isSelected());
    return true;
}

bool AnimationControls::handleSpeedChanged(const CEGUI::EventArgs&) {
    const float speed = std::max(speedSlider->getScrollPosition(), slowestSpeed);
    shown.setSpeed(speed);
    setText(speedText, "%.1fx", speed);
    return true;
}

bool AnimationControls::handleTimeChanged(const CEGUI::EventArgs&) {
    const std::string chosen = chosenAnimation();
    if (following || !shown.animationOnShow(chosen))
        return true;
    shown.seek(chosen, timeSlider->getScrollPosition());
    showTime(timeText, shown.animationOnShow(chosen));
    return true;
}

// The slider shows the animation's time without moving it: its own change event is ignored.
void AnimationControls::followAnimation(const Ogre::AnimationState* animation) {
    following = true;
    timeSlider->setEnabled(animation != nullptr);
    const float length = animation ? animation->getLength() : 0.0f;
    if (timeSliderLength != length) {
        timeSliderLength = length;
        setSliderRange(*timeSlider, length, length * timePageShare, length * timeStepShare);
    }
    if (animation && !thumbHeld)
        timeSlider->setScrollPosition(animation->getTimePosition());
    following = false;
}

bool AnimationControls::frameStarted(const Ogre::FrameEvent&) {
    const Ogre::AnimationState* animation = shown.animationOnShow(chosenAnimation());
    if (timeSlider)
        followAnimation(animation);
    showTime(timeText, animation);
    return true;
}

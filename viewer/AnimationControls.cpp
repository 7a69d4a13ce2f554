#include "AnimationControls.h"

#include "MyFrameListener.h"
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

// Whether the animation rests on its end pose, whatever its loop flag.
bool ended(const Ogre::AnimationState& animation) {
    return animation.getTimePosition() >= animation.getLength();
}

} // namespace

AnimationControls::AnimationControls(MyFrameListener& frameListener, CEGUI::Window& sheet,
                                     ChosenAnimation chosen)
    : frameListener(frameListener), chosen(std::move(chosen)),
      loopBox(findOptionalWidget<CEGUI::ToggleButton>(sheet, "chkLoop")),
      speedSlider(findOptionalWidget<CEGUI::Scrollbar>(sheet, "sldSpeed")),
      speedText(findOptionalWidget<CEGUI::Window>(sheet, "txtSpeed")),
      timeSlider(findOptionalWidget<CEGUI::Scrollbar>(sheet, "sldTime")),
      timeText(findOptionalWidget<CEGUI::Window>(sheet, "txtTime")) {
    if (speedSlider) {
        setSliderRange(*speedSlider, fastestSpeed, speedPage, speedStep);
        speedSlider->setScrollPosition(frameListener.animationSpeed);
    }
    setText(speedText, "%.1fx", frameListener.animationSpeed);
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

bool AnimationControls::loopWanted() const {
    return loopBox && loopBox->isSelected();
}

void AnimationControls::prepareToPlay(Ogre::AnimationState& animation) const {
    const bool hasEnded = ended(animation);
    animation.setLoop(loopWanted());
    if (animation.getLoop() && hasEnded)
        animation.setTimePosition(0);
}

void AnimationControls::releasePose() {
    if (posed && posed != frameListener.activeAnimation)
        posed->setEnabled(false);
    posed = nullptr;
}

// An animation that rests on its end pose stays there until Play: the engine would otherwise
// carry a looping one on from its start at once.
bool AnimationControls::handleLoopChanged(const CEGUI::EventArgs&) {
    Ogre::AnimationState* playing = frameListener.activeAnimation;
    if (playing && !ended(*playing))
        playing->setLoop(loopWanted());
    return true;
}

bool AnimationControls::handleSpeedChanged(const CEGUI::EventArgs&) {
    const float speed = std::max(speedSlider->getScrollPosition(), slowestSpeed);
    frameListener.animationSpeed = speed;
    setText(speedText, "%.1fx", speed);
    return true;
}

Ogre::AnimationState* AnimationControls::shownAnimation() const {
    if (frameListener.activeAnimation)
        return frameListener.activeAnimation;
    return chosen ? chosen() : nullptr;
}

bool AnimationControls::handleTimeChanged(const CEGUI::EventArgs&) {
    Ogre::AnimationState* animation = shownAnimation();
    if (following || !animation)
        return true;
    if (animation != frameListener.activeAnimation && animation != posed) {
        releasePose();
        animation->setEnabled(true);
        posed = animation;
    }
    animation->setTimePosition(timeSlider->getScrollPosition());
    showTime(timeText, animation);
    return true;
}

// The slider shows the animation's time without moving it: its own change event is ignored.
void AnimationControls::followAnimation(Ogre::AnimationState* animation) {
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
    Ogre::AnimationState* animation = shownAnimation();
    if (timeSlider)
        followAnimation(animation);
    showTime(timeText, animation);
    return true;
}

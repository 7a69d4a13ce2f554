#pragma once

struct _XDisplay;

// Another top-level window on the display, to give the keyboard focus to.
class FocusThief {
public:
    FocusThief();
    ~FocusThief();
    FocusThief(const FocusThief&) = delete;
    FocusThief& operator=(const FocusThief&) = delete;

    unsigned long id() const { return window; }

private:
    _XDisplay* display;
    unsigned long window;
};

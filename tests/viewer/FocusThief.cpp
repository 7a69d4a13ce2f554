#include "FocusThief.h"

#include <X11/Xlib.h>

FocusThief::FocusThief() : display(XOpenDisplay(nullptr)) {
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 50, 50, 0, 0, 0);
    XMapWindow(display, window);
    XSync(display, False);
}

FocusThief::~FocusThief() {
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

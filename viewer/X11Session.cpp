#include "X11Session.h"

#include <X11/Xlib.h>

#include <cstdlib>

X11Session::X11Session() : display(XOpenDisplay(nullptr)) {
    if (display)
        XInternAtom(display, "WM_DELETE_WINDOW", False);
}

X11Session::~X11Session() {
    if (display)
        XCloseDisplay(display);
}

std::string X11Session::name() const {
    const char* displayName = std::getenv("DISPLAY");
    return displayName ? displayName : "";
}

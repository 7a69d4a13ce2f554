#pragma once

#include <string>

struct _XDisplay;

// A connection to the X server held for the program's lifetime. Without a display the engine's
// GL plug-in fails in ways that cannot be reported safely, so this is checked first. Holding
// the connection also keeps the window-close protocol atom alive: on a server without a window
// manager it does not exist until a client creates it, and the engine only looks it up.
class X11Session {
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool isOpen() const { return display != nullptr; }
    std::string name() const;

private:
    _XDisplay* display;
};

#include "NativeWindow.h"

#include <OgreRenderWindow.h>
#include <X11/Xlib.h>

void resizeNativeWindow(Ogre::RenderWindow* window, unsigned int width, unsigned int height) {
    Display* display = nullptr;
    Window handle = 0;
    window->getCustomAttribute("XDISPLAY", &display);
    window->getCustomAttribute("WINDOW", &handle);
    XResizeWindow(display, handle, width, height);
    XFlush(display);
}

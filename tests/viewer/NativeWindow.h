#pragma once

namespace Ogre {
class RenderWindow;
}

// Resizes the window through the X server, the way a user's window manager would: the engine
// hears of it only through the window's messages.
void resizeNativeWindow(Ogre::RenderWindow* window, unsigned int width, unsigned int height);

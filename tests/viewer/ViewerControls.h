#pragma once

#include <string>

namespace CEGUI {
class Window;
}
namespace Ogre {
class Camera;
}
class MyApplication;

// What the tests do to a running viewer as its user would, without the input layer in between.

// The widget of that name in the viewer's layout; null when it has none.
CEGUI::Window* widget(const MyApplication& application, const char* name);
// Picks the entry of that text in the mesh box and accepts it.
void acceptMesh(const MyApplication& application, const std::string& text);
void renderFrames(const MyApplication& application, int count);
// The share of plainly red pixels in what the camera sees, rendered off the screen as the
// screenshots are (reading the window back under Xvfb can give an earlier frame's scene).
double redShare(Ogre::Camera& camera);
// The process's peak resident memory.
long peakResidentKib();

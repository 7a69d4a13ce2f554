#pragma once

#include <string>

namespace Ogre {
class Camera;
}

// Renders what the camera sees, on the viewer's white background and without the GUI, into a
// picture of `width` x `height` pixels and writes it as the PNG file `fileName`. The camera's
// aspect ratio is set to the picture's. Returns why the file could not be written, or "".
std::string writeScreenshot(Ogre::Camera& camera, unsigned int width, unsigned int height,
                            const std::string& fileName);

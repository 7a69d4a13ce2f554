#include "Screenshot.h"

#include "FailureDescription.h"

#include <OgreCamera.h>
#include <OgreHardwarePixelBuffer.h>
#include <OgreRenderTexture.h>
#include <OgreTextureManager.h>
#include <OgreViewport.h>

#include <cstdio>
#include <fstream>

namespace {

// Off the screen, so the picture has its own size whatever the window's or the display's.
Ogre::TexturePtr createPicture(unsigned int width, unsigned int height) {
    return Ogre::TextureManager::getSingleton().createManual(
        "VelmoraScreenshot", Ogre::RGN_INTERNAL, Ogre::TEX_TYPE_2D, width, height, 0,
        Ogre::PF_BYTE_RGB, Ogre::TU_RENDERTARGET);
}

} // namespace

std::string writeScreenshot(Ogre::Camera& camera, unsigned int width, unsigned int height,
                            const std::string& fileName) {
    // The engine's image writer does not report a file it cannot create.
    if (!std::ofstream(fileName, std::ios::binary))
        return "cannot write " + fileName;
    Ogre::TexturePtr picture = createPicture(width, height);
    Ogre::RenderTexture* target = picture->getBuffer()->getRenderTarget();
    Ogre::Viewport* viewport = target->addViewport(&camera);
    viewport->setBackgroundColour(Ogre::ColourValue::White);
    viewport->setOverlaysEnabled(false);
    camera.setAspectRatio(static_cast<float>(width) / static_cast<float>(height));
    std::string failure;
    try {
        target->update();
        target->writeContentsToFile(fileName);
    } catch (const Ogre::Exception&) {
        failure = "cannot write " + fileName + ": " + describeCurrentException();
        std::remove(fileName.c_str());
    }
    Ogre::TextureManager::getSingleton().remove(picture);
    return failure;
}

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

constexpr const char* pictureName = "VelmoraScreenshot";

// Off the screen, so the picture has its own size whatever the window's or the display's. One
// picture of a size serves all the screenshots of that size: the memory of a render target
// freed is not all given back, so a gallery of hundreds of pictures would grow with each.
Ogre::TexturePtr pictureOfSize(unsigned int width, unsigned int height) {
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    Ogre::TexturePtr kept = textures.getByName(pictureName, Ogre::RGN_INTERNAL);
    if (kept && kept->getWidth() == width && kept->getHeight() == height)
        return kept;
    if (kept)
        textures.remove(kept);
    return textures.createManual(pictureName, Ogre::RGN_INTERNAL, Ogre::TEX_TYPE_2D, width, height,
                                 0, Ogre::PF_BYTE_RGB, Ogre::TU_RENDERTARGET);
}

} // namespace

std::string writeScreenshot(Ogre::Camera& camera, unsigned int width, unsigned int height,
                            const std::string& fileName) {
    // The engine's image writer does not report a file it cannot create.
    if (!std::ofstream(fileName, std::ios::binary))
        return "cannot write " + fileName;
    Ogre::TexturePtr picture = pictureOfSize(width, height);
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
    target->removeAllViewports();
    return failure;
}

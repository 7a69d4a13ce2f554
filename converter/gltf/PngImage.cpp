#include "PngImage.h"

#include "../ExceptionText.h"

#include <OgreCodec.h>
#include <OgreDataStream.h>
#include <OgreImage.h>
#include <OgrePixelFormat.h>
#include <Plugins/STBICodec/OgreSTBICodec.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// The engine's stb codecs, registered once for the process unless something else registered a
// PNG codec first.
class CodecRegistration {
public:
    CodecRegistration() : registered(!Ogre::Codec::isCodecRegistered("png")) {
        if (registered) {
            Ogre::STBIImageCodec::startup();
        }
    }
    ~CodecRegistration() {
        if (registered) {
            Ogre::STBIImageCodec::shutdown();
        }
    }
    CodecRegistration(const CodecRegistration&) = delete;
    CodecRegistration& operator=(const CodecRegistration&) = delete;

private:
    bool registered;
};

// The codec type the engine knows a file by: its extension in lower case.
std::string codecType(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
        return "";
    }
    std::string type = path.substr(dot + 1);
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return type;
}

// PNG holds 8-bit grey, RGB or RGBA; an image of another layout is converted to RGB, or RGBA
// when it has alpha.
Ogre::Image inPngLayout(Ogre::Image image) {
    const Ogre::PixelFormat format = image.getFormat();
    if (format == Ogre::PF_BYTE_RGBA || format == Ogre::PF_BYTE_RGB || format == Ogre::PF_L8) {
        return image;
    }
    const Ogre::PixelFormat target =
        Ogre::PixelUtil::hasAlpha(format) ? Ogre::PF_BYTE_RGBA : Ogre::PF_BYTE_RGB;
    Ogre::Image converted(target, image.getWidth(), image.getHeight());
    Ogre::PixelUtil::bulkPixelConversion(image.getPixelBox(), converted.getPixelBox());
    return converted;
}

std::string streamBytes(const Ogre::DataStreamPtr& stream) {
    std::string bytes(stream->size(), '\0');
    bytes.resize(stream->read(&bytes[0], bytes.size()));
    return bytes;
}

} // namespace

std::variant<std::string, ImageFailure> pngOfImageFile(const std::string& path) {
    static const CodecRegistration codecs;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return ImageFailure{"it cannot be opened"};
    }
    std::ostringstream content;
    content << file.rdbuf();
    std::string bytes = content.str();
    try {
        Ogre::DataStreamPtr stream =
            std::make_shared<Ogre::MemoryDataStream>(&bytes[0], bytes.size(), false, true);
        Ogre::Image image;
        image.load(stream, codecType(path));
        return streamBytes(inPngLayout(std::move(image)).encode("png"));
    } catch (const std::exception& error) {
        return ImageFailure{describeException(error)};
    }
}

#include "PngImage.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace {

using Pixels = std::unique_ptr<stbi_uc, decltype(&stbi_image_free)>;

void appendBytes(void* png, void* bytes, int size) {
    static_cast<std::string*>(png)->append(static_cast<const char*>(bytes), size);
}

} // namespace

std::variant<std::string, ImageFailure> pngOfImageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return ImageFailure{"it cannot be opened"};
    }
    std::ostringstream content;
    content << file.rdbuf();
    const std::string bytes = content.str();
    // Grey, grey and alpha, RGB or RGBA as the file has them; PNG holds each of these.
    int width = 0;
    int height = 0;
    int channels = 0;
    const Pixels pixels(stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                              static_cast<int>(bytes.size()), &width, &height,
                                              &channels, 0),
                        stbi_image_free);
    if (!pixels) {
        return ImageFailure{stbi_failure_reason()};
    }
    std::string png;
    if (!stbi_write_png_to_func(appendBytes, &png, width, height, channels, pixels.get(),
                                width * channels)) {
        return ImageFailure{"it cannot be encoded as PNG"};
    }
    return png;
}

#include "PngImage.h"

#include <png.h>
#include <stb_image.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace {

using Pixels = std::unique_ptr<stbi_uc, decltype(&stbi_image_free)>;

// libpng's formats by the number of channels stb_image read: grey, grey and alpha, RGB, RGBA.
constexpr png_uint_32 pngFormats[] = {PNG_FORMAT_GRAY, PNG_FORMAT_GA, PNG_FORMAT_RGB,
                                      PNG_FORMAT_RGBA};

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
    // Encoded by libpng: stb's own PNG writer took twice as long.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = pngFormats[channels - 1];
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    std::string png(size, '\0');
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, pixels.get(), 0, nullptr)) {
        const std::string reason = image.message;
        png_image_free(&image);
        return ImageFailure{"it cannot be encoded as PNG: " + reason};
    }
    png.resize(size);
    return png;
}

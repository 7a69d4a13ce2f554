#pragma once

#include <string>
#include <variant>

// Why an image file gave no PNG.
struct ImageFailure {
    std::string reason;
};

// The image file (any format the engine's image codecs read: TGA, PNG, JPEG, BMP, ...) as PNG
// bytes with the same pixels, alpha kept where the image has it. The codecs are registered with
// the engine on first use.
std::variant<std::string, ImageFailure> pngOfImageFile(const std::string& path);

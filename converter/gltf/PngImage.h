#pragma once

#include <string>
#include <variant>

// Why an image file gave no PNG.
struct ImageFailure {
    std::string reason;
};

// The image file (TGA, PNG, JPEG, BMP, PSD, GIF, HDR, PIC or PNM, as stb_image reads them, the
// reader of the engine's own stb codec) as PNG bytes with the same pixels, alpha kept where the
// image has it. A file that holds no such image gives the reason.
std::variant<std::string, ImageFailure> pngOfImageFile(const std::string& path);

// Textures turned into PNG, read back by a PNG decoder of the test's own on top of zlib.
#include "PngImage.h"
#include "support/BuilderEngine.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

struct Rgba {
    std::array<uint8_t, 4> channels;
    bool operator==(const Rgba& other) const { return channels == other.channels; }
};

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<Rgba> pixels; // rows from the top down
};

uint32_t bigEndianAt(const std::string& bytes, std::size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes.at(at))) << 24 |
           static_cast<unsigned char>(bytes.at(at + 1)) << 16 |
           static_cast<unsigned char>(bytes.at(at + 2)) << 8 |
           static_cast<unsigned char>(bytes.at(at + 3));
}

uint8_t paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) {
        return static_cast<uint8_t>(left);
    }
    return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Undoes the filter of each scanline in place: rows of 1 + rowBytes bytes.
void unfilter(std::vector<uint8_t>& rows, std::size_t rowBytes, std::size_t pixelBytes) {
    for (std::size_t start = 0; start < rows.size(); start += rowBytes + 1) {
        const int filter = rows[start];
        uint8_t* row = &rows[start + 1];
        const uint8_t* above = start == 0 ? nullptr : row - rowBytes - 1;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
            const int up = above ? above[i] : 0;
            const int upLeft = above && i >= pixelBytes ? above[i - pixelBytes] : 0;
            const int predictions[] = {0, left, up, (left + up) / 2, paeth(left, up, upLeft)};
            row[i] = static_cast<uint8_t>(row[i] + predictions[filter]);
        }
    }
}

// An 8-bit RGB or RGBA PNG without interlacing.
Picture decodePng(const std::string& png) {
    if (png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        throw std::runtime_error("no PNG signature");
    }
    Picture picture;
    std::size_t channels = 0;
    std::string compressed;
    for (std::size_t at = 8; at < png.size();) {
        const uint32_t length = bigEndianAt(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string data = png.substr(at + 8, length);
        if (type == "IHDR") {
            picture.width = bigEndianAt(data, 0);
            picture.height = bigEndianAt(data, 4);
            if (data[8] != 8 || (data[9] != 2 && data[9] != 6) || data[12] != 0) {
                throw std::runtime_error("not 8-bit RGB(A) without interlacing");
            }
            channels = data[9] == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            compressed += data;
        }
        at += 12 + length;
    }
    const std::size_t rowBytes = picture.width * channels;
    std::vector<uint8_t> rows(picture.height * (rowBytes + 1));
    uLongf size = rows.size();
    if (uncompress(rows.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()),
                   compressed.size()) != Z_OK ||
        size != rows.size()) {
        throw std::runtime_error("the image data does not inflate to its rows");
    }
    unfilter(rows, rowBytes, channels);
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            const uint8_t* pixel = &rows[y * (rowBytes + 1) + 1 + x * channels];
            picture.pixels.push_back({{pixel[0], pixel[1], pixel[2],
                                       static_cast<uint8_t>(channels == 4 ? pixel[3] : 255)}});
        }
    }
    return picture;
}

// A run-length encoded 32-bit TGA (type 10) with 8 alpha bits, rows from the bottom up as the
// game stores them: runs of a repeated pixel, raw packets for the rest.
std::string runLengthTga(const Picture& picture) {
    std::string tga(18, '\0');
    tga[2] = 10;
    tga[12] = static_cast<char>(picture.width & 0xFF);
    tga[13] = static_cast<char>(picture.width >> 8);
    tga[14] = static_cast<char>(picture.height & 0xFF);
    tga[15] = static_cast<char>(picture.height >> 8);
    tga[16] = 32;
    tga[17] = 8; // alpha bits; origin at the bottom left
    auto bgra = [](const Rgba& p) {
        return std::string{static_cast<char>(p.channels[2]), static_cast<char>(p.channels[1]),
                           static_cast<char>(p.channels[0]), static_cast<char>(p.channels[3])};
    };
    for (uint32_t y = picture.height; y-- > 0;) {
        const Rgba* row = &picture.pixels[y * picture.width];
        for (uint32_t x = 0; x < picture.width;) {
            uint32_t run = 1;
            while (x + run < picture.width && run < 128 && row[x + run] == row[x]) {
                ++run;
            }
            if (run > 1) {
                tga += static_cast<char>(0x80 | (run - 1));
                tga += bgra(row[x]);
            } else {
                tga += '\0'; // one raw pixel
                tga += bgra(row[x]);
            }
            x += run;
        }
    }
    return tga;
}

class PngImageTest : public testing::Test {
protected:
    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    BuilderEngine engine; // the codecs log through the engine
    TemporaryDirectory folder;
};

TEST_F(PngImageTest, RunLengthTgaWithAlphaKeepsEveryPixel) {
    Picture picture{13, 5, {}};
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            // Runs in the upper rows, every pixel different in the lower ones; the alpha
            // spans 0 to 255 so that no premultiplying or dropping of it goes unseen.
            const bool run = y < 2 && x < 9;
            picture.pixels.push_back(
                {{static_cast<uint8_t>(run ? 200 : 17 * x), static_cast<uint8_t>(run ? 10 : 50 * y),
                  static_cast<uint8_t>(x * y * 3),
                  static_cast<uint8_t>(run ? 0 : 255 - 19 * x - y)}});
        }
    }
    const auto png = pngOfImageFile(write("Skin.TGA", runLengthTga(picture)));
    ASSERT_TRUE(std::holds_alternative<std::string>(png)) << std::get<ImageFailure>(png).reason;
    const Picture decoded = decodePng(std::get<std::string>(png));
    EXPECT_EQ(decoded.width, picture.width);
    EXPECT_EQ(decoded.height, picture.height);
    EXPECT_TRUE(decoded.pixels == picture.pixels);
}

TEST_F(PngImageTest, FilesThatHoldNoImageAreReportedNotThrown) {
    EXPECT_EQ(std::get<ImageFailure>(pngOfImageFile(folder / "absent.tga")).reason,
              "it cannot be opened");
    EXPECT_TRUE(std::holds_alternative<ImageFailure>(
        pngOfImageFile(write("cut.tga", runLengthTga({1, 1, {{{1, 2, 3, 4}}}}).substr(0, 10)))));
    EXPECT_TRUE(
        std::holds_alternative<ImageFailure>(pngOfImageFile(write("text.png", "not a PNG"))));
}

} // namespace

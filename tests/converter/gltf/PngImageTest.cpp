// Textures turned into PNG and decoded again.
#include "PngImage.h"
#include "support/BuilderEngine.h"
#include "support/ConverterProcess.h"

#include <OgreImage.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <stdexcept>

namespace {

using Rgba = std::array<uint8_t, 4>;

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<Rgba> pixels; // rows from the top down
};

// The PNG decoded by stb_image, which shares no code with the stb_image_write that encoded it.
Picture decodePng(const std::string& png) {
    std::string bytes = png;
    Ogre::Image image;
    image.load(std::make_shared<Ogre::MemoryDataStream>(&bytes[0], bytes.size()), "png");
    if (image.getFormat() != Ogre::PF_BYTE_RGBA) {
        throw std::runtime_error("the PNG holds no RGBA pixels");
    }
    Picture picture{image.getWidth(), image.getHeight(), {}};
    const uint8_t* pixel = image.getData();
    for (std::size_t i = 0; i < std::size_t{picture.width} * picture.height; ++i, pixel += 4) {
        picture.pixels.push_back({pixel[0], pixel[1], pixel[2], pixel[3]});
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
        return std::string{static_cast<char>(p[2]), static_cast<char>(p[1]),
                           static_cast<char>(p[0]), static_cast<char>(p[3])};
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
            picture.pixels.push_back({static_cast<uint8_t>(run ? 200 : 17 * x),
                                      static_cast<uint8_t>(run ? 10 : 50 * y),
                                      static_cast<uint8_t>(x * y * 3),
                                      static_cast<uint8_t>(run ? 0 : 255 - 19 * x - y)});
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
        pngOfImageFile(write("cut.tga", runLengthTga({1, 1, {{1, 2, 3, 4}}}).substr(0, 10)))));
    EXPECT_TRUE(
        std::holds_alternative<ImageFailure>(pngOfImageFile(write("text.png", "not a PNG"))));
}

} // namespace

// Textures turned into PNG and decoded again.
#include "PngImage.h"
#include "support/ConverterProcess.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <array>
#include <fstream>
#include <stdexcept>
#include <tuple>

namespace {

using Rgba = std::array<uint8_t, 4>;

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<Rgba> pixels; // rows from the top down
};

// The pixels of a PNG as stored, decoded by stb_image, which shares no code with libpng, which
// encoded it.
struct StoredPixels {
    int width = 0;
    int height = 0;
    int channels = 0;   // in the file
    std::string values; // a byte per channel, rows from the top down
};

StoredPixels decodeStored(const std::string& png, int channelsWanted = 0) {
    StoredPixels stored;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                            static_cast<int>(png.size()), &stored.width,
                                            &stored.height, &stored.channels, channelsWanted);
    if (pixels == nullptr) {
        throw std::runtime_error("the PNG cannot be decoded");
    }
    const int channels = channelsWanted == 0 ? stored.channels : channelsWanted;
    stored.values.assign(reinterpret_cast<const char*>(pixels),
                         static_cast<std::size_t>(stored.width * stored.height * channels));
    stbi_image_free(pixels);
    return stored;
}

Picture decodePng(const std::string& png) {
    const StoredPixels stored = decodeStored(png, 4);
    if (stored.channels != 4) {
        throw std::runtime_error("the PNG holds no RGBA pixels");
    }
    Picture picture{static_cast<uint32_t>(stored.width), static_cast<uint32_t>(stored.height), {}};
    for (std::size_t i = 0; i < stored.values.size(); i += 4) {
        const auto* pixel = reinterpret_cast<const uint8_t*>(&stored.values[i]);
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

// An uncompressed TGA of grey (type 3) or BGR (type 2) pixels, rows from the top down.
std::string plainTga(uint8_t type, uint8_t bits, uint16_t width, uint16_t height,
                     const std::string& pixels) {
    std::string tga(18, '\0');
    tga[2] = static_cast<char>(type);
    tga[12] = static_cast<char>(width);
    tga[14] = static_cast<char>(height);
    tga[16] = static_cast<char>(bits);
    tga[17] = 0x20; // origin at the top left
    return tga + pixels;
}

// Grey and RGB images keep their channels: a PNG of them holds no alpha that was not there.
TEST_F(PngImageTest, GreyAndColourWithoutAlphaKeepTheirChannels) {
    const std::string grey = {10, 20, 30, 40, 50, 60};
    const std::string bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const std::string rgb = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16};
    for (const auto& [tga, channels, expected] : {std::tuple{plainTga(3, 8, 3, 2, grey), 1, grey},
                                                  std::tuple{plainTga(2, 24, 3, 2, bgr), 3, rgb}}) {
        const auto png = pngOfImageFile(write("plain.tga", tga));
        ASSERT_TRUE(std::holds_alternative<std::string>(png));
        const StoredPixels stored = decodeStored(std::get<std::string>(png));
        EXPECT_EQ(stored.channels, channels);
        EXPECT_EQ(stored.values, expected);
    }
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

#include "mdf/MdfReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> texturesOf(const std::string& text) {
    std::istringstream mdf(text);
    return readMdfTextureNames(mdf);
}

TEST(MdfReaderTest, TakesTheFileNameBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(texturesOf("Texture \"models/knight/knight.tga\"\n"),
              std::vector<std::string>{"knight.tga"});
    EXPECT_EQ(texturesOf("Texture 0 \"textures\\skin.tga\" \"other.tga\" more\r\n"),
              std::vector<std::string>{"skin.tga"});
    EXPECT_EQ(texturesOf("Texture \"maps/skin\""), std::vector<std::string>{"skin"});
    EXPECT_EQ(texturesOf("Texture \"\""), std::vector<std::string>{""});
}

TEST(MdfReaderTest, IgnoresEveryOtherLine) {
    EXPECT_EQ(texturesOf("Textured\n"
                         "Textured \"a.tga\"\n"
                         " Texture \"b.tga\"\n"
                         "\tTexture \"c.tga\"\n"
                         "texture \"d.tga\"\n"
                         "Texture \"e.tga\n"
                         "Texture e.tga\n"
                         "Specular 255 255 255\n"),
              std::vector<std::string>{});
}

TEST(MdfReaderTest, KeepsFileOrderAndReadsALastLineWithoutLineFeed) {
    EXPECT_EQ(texturesOf("Textured\nTexture \"one.tga\"\nColor 1\nTexture \"two.TGA\""),
              (std::vector<std::string>{"one.tga", "two.TGA"}));
}

} // namespace

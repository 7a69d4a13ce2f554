#include "TextureLookup.h"

#include "support/ConverterProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class TextureLookupTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"data/art/Meshes/orc/orc_skin.tga", "data/art/meshes/x/Skin.TGA",
                                 "data/art/meshes/x/skin.tga", "models/beside.tga", "secret.tga"}) {
            fs::create_directories(fs::path(work / file).parent_path());
            std::ofstream(work / file) << file;
        }
    }

    std::optional<std::string> find(const std::string& texturePath) {
        return lookup.find(texturePath, work / "models");
    }

    TemporaryDirectory work;
    TextureLookup lookup{work / "data"};
};

TEST_F(TextureLookupTest, MatchesEachComponentWithoutRegardToCaseOnlyWhenNoExactMatch) {
    EXPECT_EQ(find("ART\\MESHES\\Orc\\ORC_SKIN.tga"), work / "data/art/Meshes/orc/orc_skin.tga");
    EXPECT_EQ(find("art/meshes/x/Skin.TGA"), work / "data/art/meshes/x/Skin.TGA");
    EXPECT_EQ(find("art/meshes/x/skin.tga"), work / "data/art/meshes/x/skin.tga");
    // Two files differ from the path only in case: the first in byte order is taken.
    EXPECT_EQ(find("art//meshes/./x/SKIN.tga"), work / "data/art/meshes/x/Skin.TGA");
}

TEST_F(TextureLookupTest, FallsBackToTheFileOfItsNameBesideTheMdf) {
    EXPECT_EQ(find("art/textures/Beside.TGA"), work / "models/beside.tga");
    EXPECT_EQ(find("art/meshes/orc/missing.tga"), std::nullopt);
    EXPECT_EQ(find(""), std::nullopt);
    EXPECT_EQ(find("art/meshes/x"), std::nullopt); // a folder is no texture
}

TEST_F(TextureLookupTest, NeverLeavesTheDataRoot) {
    EXPECT_EQ(find("../secret.tga"), std::nullopt);
    EXPECT_EQ(find("art/../../secret.tga"), std::nullopt);
    EXPECT_EQ(find(work / "secret.tga"), std::nullopt);
    EXPECT_EQ(find("C:" + work / "secret.tga"), std::nullopt);
    EXPECT_EQ(find("..\\models\\beside.tga"), work / "models/beside.tga");
}

} // namespace

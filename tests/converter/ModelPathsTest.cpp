#include "ModelPaths.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::string>;

// skm, ska, sourceDir, meshName, skeletonFile, skeletonName, meshFile, materialScript
Fields fieldsOf(const ModelPaths& paths) {
    return {paths.skm,          paths.ska,          paths.sourceDir, paths.meshName,
            paths.skeletonFile, paths.skeletonName, paths.meshFile,  paths.materialScript};
}

TEST(ModelPathsTest, InputsStayBesideTheSourceAndOutputsFollowTheMesh) {
    EXPECT_EQ(fieldsOf(modelPaths("C:\\data\\knight.skm")),
              (Fields{"C:\\data\\knight.skm", "C:\\data\\knight.ska", "C:\\data\\", "knight",
                      "C:\\data\\knight.skeleton", "knight.skeleton", "C:\\data\\knight.mesh",
                      "C:\\data\\knight.material"}));
    // The destination's extension is the mesh's alone; the other outputs take its base name.
    EXPECT_EQ(fieldsOf(modelPaths("C:\\data\\knight.SKM", "out/a.b/hero.x.mesh")),
              (Fields{"C:\\data\\knight.SKM", "C:\\data\\knight.ska", "C:\\data\\", "knight",
                      "out/a.b/hero.x.skeleton", "hero.x.skeleton", "out/a.b/hero.x.mesh",
                      "out/a.b/hero.x.material"}));
    EXPECT_EQ(fieldsOf(modelPaths("knight.skm", "hero")),
              (Fields{"knight.skm", "knight.ska", "", "knight", "hero.skeleton", "hero.skeleton",
                      "hero", "hero.material"}));
}

TEST(ModelPathsTest, AnMdfFileIsLookedForByItsFileNameWithMdfWhenItHasNoExtension) {
    EXPECT_EQ(mdfFileName("models\\knight\\knight.mdf"), "knight.mdf");
    EXPECT_EQ(mdfFileName("knight.MDF"), "knight.MDF");
    EXPECT_EQ(mdfFileName("models/knight/knight"), "knight.mdf");
    EXPECT_EQ(mdfFileName(""), ".mdf");
}

TEST(ModelPathsTest, ATextureIsNamedByItsFileNameAlone) {
    EXPECT_EQ(scriptTextureName("art\\meshes/Hero/Skin.TGA"), "Skin.TGA");
    EXPECT_EQ(scriptTextureName("maps/skin"), "skin");
    EXPECT_EQ(scriptTextureName(""), "");
}

} // namespace

// SKM files through the mesh builder in-process, one case per scoped block.
#include "skm/MeshBuilder.h"
#include "TestBytes.h"
#include "ToeeFiles.h"
#include "skm/SkmRecords.h"
#include "support/BuilderEngine.h"
#include "support/ConverterProcess.h"

#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

// One bone, two materials, three vertices with a weight each on bone 0, and a face per material.
samplemodel::SkmDesc twoMaterials() {
    samplemodel::SkmVertexDesc vertex;
    vertex.weightCount = 1;
    vertex.boneWeight[0] = 1;
    return {{{"root", -1}},
            {"art/a.mdf", "art/b.mdf"},
            {vertex, vertex, vertex},
            {{0, {0, 1, 2}}, {1, {2, 1, 0}}}};
}

struct Imported {
    bool ok;
    std::string console;
    std::vector<MeshMaterial> materials;
};

// The naming callback writes to the same console, so that its place among the warnings shows.
Imported import(Ogre::Mesh& mesh, const std::string& skmPath) {
    std::ostringstream console;
    ConsoleDiagnostics out(console);
    NamingCallback naming = [&out](const std::string& path) {
        out.progress("naming " + path);
        return path;
    };
    const std::optional<std::vector<MeshMaterial>> materials =
        importMesh(mesh, naming, skmPath, "case.skeleton", out);
    return {materials.has_value(), console.str(), materials.value_or(std::vector<MeshMaterial>())};
}

TEST(MeshBuilderTest, SkipsFacesOutsideTheTablesAndWarnsInTheConsoleOrder) {
    BuilderEngine engine;
    TemporaryDirectory work;
    samplemodel::SkmDesc skm = twoMaterials();
    skm.vertices[1].normal[0] = NAN;
    skm.vertices[2].boneIndex[0] = 1;
    skm.faces.push_back({2, {0, 1, 2}});
    skm.faces.push_back({0, {0, 1, 3}});
    samplemodel::writeFile(work / "mesh.skm", samplemodel::writeSkm(skm));

    Ogre::MeshPtr mesh = engine.freshMesh();
    const Imported imported = import(*mesh, work / "mesh.skm");
    ASSERT_TRUE(imported.ok);
    EXPECT_EQ(imported.console,
              "\tWarning: 1 vertices hold values that are not finite numbers; they are read as "
              "0.\n"
              "naming art/a.mdf\n"
              "naming art/b.mdf\n"
              "\tWarning: 2 faces name a material or vertex that the file does not have; "
              "skipped.\n"
              "\tWarning: 1 bone weights name a bone that the file does not have or a slot past "
              "the sixth; skipped.\n");
    ASSERT_EQ(mesh->getNumSubMeshes(), 2u);
    EXPECT_EQ(mesh->getSubMesh(1)->getMaterialName(), "art/b.mdf");
    EXPECT_EQ(mesh->getSkeletonName(), "case.skeleton");
}

TEST(MeshBuilderTest, ATableCountTheFileCannotHoldLeavesTheMeshUntouched) {
    BuilderEngine engine;
    TemporaryDirectory work;
    std::string bytes = samplemodel::writeSkm(twoMaterials());
    patchInt32(bytes, skmHeaderField::materialCount, -5);
    samplemodel::writeFile(work / "mesh.skm", bytes);

    Ogre::MeshPtr mesh = engine.freshMesh();
    const Imported imported = import(*mesh, work / "mesh.skm");
    EXPECT_FALSE(imported.ok);
    EXPECT_EQ(imported.console, "\t" + work / "mesh.skm" +
                                    ": material table at offset 140 claims -5 records of 128 "
                                    "bytes; the file has 652 bytes.\n");
    EXPECT_EQ(mesh->getNumSubMeshes(), 0u);
    EXPECT_EQ(mesh->sharedVertexData, nullptr);
}

TEST(MeshBuilderTest, ReturnsEachRecordsMdfFileAndNameAndNamesNoMaterialNoScriptCanHold) {
    BuilderEngine engine;
    TemporaryDirectory work;
    samplemodel::SkmDesc skm = twoMaterials();
    skm.materialPaths = {"art\\Knight.MDF", "art/cloak", "art/Knight.MDF"};
    samplemodel::writeFile(work / "mesh.skm", samplemodel::writeSkm(skm));
    const NamingCallback naming = [](const std::string& path) {
        return path == "art/cloak" ? "two\nlines" : "steel";
    };
    std::ostringstream console;
    ConsoleDiagnostics out(console);
    Ogre::MeshPtr mesh = engine.freshMesh();
    const auto materials = importMesh(*mesh, naming, work / "mesh.skm", "case.skeleton", out);
    ASSERT_TRUE(materials);
    ASSERT_EQ(materials->size(), 3u) << "a record no face uses is named too";
    EXPECT_EQ((*materials)[0].mdfFile, "Knight.MDF");
    EXPECT_EQ((*materials)[1].mdfFile, "cloak.mdf");
    EXPECT_EQ((*materials)[1].name, "two\nlines");
    EXPECT_EQ((*materials)[2].name, "steel");
    ASSERT_EQ(mesh->getNumSubMeshes(), 2u);
    EXPECT_EQ(mesh->getSubMesh(0)->getMaterialName(), "steel");
    EXPECT_EQ(mesh->getSubMesh(1)->getMaterialName(), "");
}

} // namespace

// The check of mesh and skeleton files on files the engine itself wrote: sound ones in every
// format and byte order it checks pass, and each kind of damage that the engine would take on
// trust is refused with its reason.
#include "MeshFileCheck.h"
#include "FigureSceneTest.h"
#include "MeshBytesCheck.h"
#include "SkeletonBytesCheck.h"

#include <OgreBone.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreMeshSerializer.h>
#include <OgreSkeleton.h>
#include <OgreSkeletonManager.h>
#include <OgreSkeletonSerializer.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

class MeshFileCheckTest : public FigureSceneTest {
protected:
    void SetUp() override {
        folder->restore();
        scene->reloadFolder();
    }

    static Ogre::MeshPtr figure() {
        return Ogre::MeshManager::getSingleton().load(ModelFolder::meshName,
                                                      HeadlessViewerScene::group);
    }
    static std::string scratchPath() { return folder->models() + "/written"; }
    static std::string readScratch() {
        std::ifstream file(scratchPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static std::string written(const Ogre::MeshPtr& mesh, Ogre::MeshVersion version,
                               Ogre::Serializer::Endian order) {
        Ogre::MeshSerializer().exportMesh(mesh.get(), scratchPath(), version, order);
        return readScratch();
    }
    static std::string written(const Ogre::SkeletonPtr& skeleton, Ogre::SkeletonVersion version,
                               Ogre::Serializer::Endian order) {
        Ogre::SkeletonSerializer().exportSkeleton(skeleton.get(), scratchPath(), version, order);
        return readScratch();
    }
};

TEST_F(MeshFileCheckTest, SoundFilesPassInEveryCheckedFormatAndByteOrder) {
    const Ogre::MeshPtr mesh = figure();
    // The parts the converter leaves out but the engine's tools write.
    mesh->buildEdgeList();
    for (std::size_t index = 0; index < mesh->getNumSubMeshes(); ++index) {
        mesh->getSubMesh(index)->generateExtremes(8);
        mesh->nameSubMesh("part" + std::to_string(index), static_cast<Ogre::ushort>(index));
    }
    mesh->getSubMesh(0)->addTextureAlias("skin", "cloth.tga");
    Ogre::Skeleton& skeleton = *mesh->getSkeleton();
    skeleton.getBone(1)->setScale(2, 2, 2);
    skeleton.setBindingPose();
    for (auto order : {Ogre::Serializer::ENDIAN_LITTLE, Ogre::Serializer::ENDIAN_BIG}) {
        for (auto version :
             {Ogre::MESH_VERSION_LATEST, Ogre::MESH_VERSION_1_10, Ogre::MESH_VERSION_1_8}) {
            const MeshCheck check = checkMeshBytes(written(mesh, version, order));
            EXPECT_EQ(check.fault, "") << version << " " << order;
            EXPECT_EQ(check.skeletonName, "figure.skeleton");
            EXPECT_EQ(check.bonesNeeded, skeleton.getNumBones());
        }
        for (auto version : {Ogre::SKELETON_VERSION_1_8, Ogre::SKELETON_VERSION_1_0}) {
            const SkeletonCheck check =
                checkSkeletonBytes(written(mesh->getSkeleton(), version, order));
            EXPECT_EQ(check.fault, "") << version << " " << order;
            EXPECT_EQ(check.boneCount, skeleton.getNumBones());
        }
    }
}

TEST_F(MeshFileCheckTest, AFaceNamingAVertexPastTheTableIsRefused) {
    const Ogre::MeshPtr mesh = figure();
    const Ogre::SubMesh& submesh = *mesh->getSubMesh(1);
    const auto vertexCount = static_cast<std::uint16_t>(mesh->sharedVertexData->vertexCount);
    submesh.indexData->indexBuffer->writeData(2 * 5, 2, &vertexCount);
    EXPECT_EQ(
        checkMeshBytes(written(mesh, Ogre::MESH_VERSION_LATEST, Ogre::Serializer::ENDIAN_NATIVE))
            .fault,
        "submesh 1 names vertex " + std::to_string(vertexCount) + " of " +
            std::to_string(vertexCount));
}

// A skeleton of three bones under a mesh bound to all nineteen of the figure's.
TEST_F(MeshFileCheckTest, ASkeletonWithFewerBonesThanTheMeshIsBoundToIsRefused) {
    const Ogre::SkeletonPtr small =
        Ogre::SkeletonManager::getSingleton().create("small", HeadlessViewerScene::group, true);
    small->load(); // loaded, so that unloading it frees its bones
    for (const char* name : {"a", "b", "c"})
        small->createBone(name);
    folder->replace(ModelFolder::File::skeleton,
                    written(small, Ogre::SKELETON_VERSION_LATEST, Ogre::Serializer::ENDIAN_NATIVE));
    EXPECT_EQ(modelFilesFault(ModelFolder::meshName, Ogre::RGN_AUTODETECT),
              "its vertices are bound to bone 18, but its skeleton figure.skeleton has 3 bones");
}

std::string field16(std::uint16_t value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string chunk(std::uint16_t id, const std::string& body, std::uint32_t length) {
    return field16(id) + std::string(reinterpret_cast<const char*>(&length), sizeof length) + body;
}

// The engine counts a bone's chunk without its name: six bytes of header, a handle, seven floats.
std::string bone(const std::string& name, std::uint16_t handle) {
    return chunk(0x2000, name + "\n" + field16(handle) + std::string(28, '\0'), 36);
}

std::string parent(std::uint16_t child, std::uint16_t parentHandle) {
    return chunk(0x3000, field16(child) + field16(parentHandle), 10);
}

// Bone tables the engine would keep with an empty slot or a loop in them.
TEST(SkeletonBytesCheck, BoneTablesWithGapsOrLoopsAreRefused) {
    const std::string header = field16(0x1000) + "[Serializer_v1.80]\n";
    const std::string sound = header + bone("a", 0) + bone("b", 1) + parent(1, 0);
    EXPECT_EQ(checkSkeletonBytes(sound).fault, "");
    EXPECT_EQ(checkSkeletonBytes(sound).boneCount, 2u);
    EXPECT_EQ(checkSkeletonBytes(header + bone("a", 0) + bone("c", 2)).fault,
              "its bones skip the handle 1");
    EXPECT_EQ(checkSkeletonBytes(sound + parent(0, 1)).fault, "its bone 0 is its own ancestor");
    EXPECT_EQ(checkSkeletonBytes(sound + parent(1, 0)).fault, "its bone 1 is given two parents");
    EXPECT_EQ(checkSkeletonBytes(sound + parent(0, 2)).fault, "it names the missing bone 2");
}

} // namespace

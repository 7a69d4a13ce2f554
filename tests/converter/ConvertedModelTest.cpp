// The small model converted by the real binary and read back through the engine's own
// serializers, value by value.
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallModel.h"

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr float tolerance = 1e-4f;

class ConvertedModelTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        work = new TemporaryDirectory;
        std::filesystem::create_directory(*work / "model");
        std::filesystem::create_directory(*work / "out");
        writeSmallModel(makeSmallModel(), *work / "model", "small");
        run = new ConverterRun(runTarnwick(work->path(), {"model/small.skm", "out/hero.mesh"}));
        readBack = new ReadBack(*work / "readback.log");
    }
    static void TearDownTestSuite() {
        delete readBack;
        delete run;
        delete work;
    }

    static Ogre::SkeletonPtr skeleton() { return readBack->skeleton(*work / "out/hero.skeleton"); }
    static Ogre::MeshPtr mesh() {
        return readBack->mesh(*work / "out/hero.mesh", {"body", "head", "unused"});
    }

    static TemporaryDirectory* work;
    static ConverterRun* run;
    static ReadBack* readBack;
};

TemporaryDirectory* ConvertedModelTest::work = nullptr;
ConverterRun* ConvertedModelTest::run = nullptr;
ReadBack* ConvertedModelTest::readBack = nullptr;

void expectQuaternion(const Ogre::Quaternion& actual, float w, float x, float y, float z) {
    EXPECT_NEAR(actual.w, w, tolerance);
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

std::vector<float> bufferValues(const Ogre::HardwareVertexBufferSharedPtr& buffer) {
    const auto* values =
        static_cast<const float*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    std::vector<float> copy(values, values + buffer->getSizeInBytes() / sizeof(float));
    buffer->unlock();
    return copy;
}

std::vector<uint16_t> indices(const Ogre::SubMesh& subMesh) {
    const auto& buffer = subMesh.indexData->indexBuffer;
    const auto* values =
        static_cast<const uint16_t*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    std::vector<uint16_t> copy(values, values + subMesh.indexData->indexCount);
    buffer->unlock();
    return copy;
}

TEST_F(ConvertedModelTest, ReportsEachStepAndSucceeds) {
    EXPECT_EQ(run->output, "Reading bones from file:model/small.skm\n"
                           "\tMesh contains 3 bones.\n"
                           "Reading bones - success.\n"
                           "Importing Skeleton Success!"
                           "Warning: .mdf extension was appended to material name.\n");
    EXPECT_EQ(run->errors, "");
    EXPECT_EQ(run->exitStatus, 0);
    EXPECT_EQ(filesIn(*work / "out"),
              (std::vector<std::string>{"hero.material", "hero.mesh", "hero.skeleton"}));
    EXPECT_TRUE(fileExists(*work / "Tarnwick.log"));
}

TEST_F(ConvertedModelTest, BonesKeepTheirTableHandlesParentsAndBindingPose) {
    const Ogre::SkeletonPtr bones = skeleton();
    ASSERT_EQ(bones->getNumBones(), 3);
    Ogre::Bone* tip = bones->getBone(0);
    Ogre::Bone* root = bones->getBone(1);
    Ogre::Bone* arm = bones->getBone(2);
    EXPECT_EQ(tip->getName(), "tip");
    EXPECT_EQ(root->getName(), "root");
    EXPECT_EQ(arm->getName(), "arm");
    EXPECT_EQ(tip->getParent(), arm); // listed before its parent
    EXPECT_EQ(arm->getParent(), root);
    EXPECT_EQ(root->getParent(), nullptr);

    expectQuaternion(arm->getOrientation(), 0.70710678f, 0, 0, 0.70710678f);
    EXPECT_EQ(arm->getPosition(), Ogre::Vector3(1, 2, 3));
    EXPECT_EQ(root->getPosition(), Ogre::Vector3(0, 10, 0));
    // Named by no SKA bone: the transform of a new bone.
    EXPECT_EQ(tip->getPosition(), Ogre::Vector3::ZERO);
    expectQuaternion(tip->getOrientation(), 1, 0, 0, 0);
    EXPECT_EQ(tip->getScale(), Ogre::Vector3::UNIT_SCALE);
}

TEST_F(ConvertedModelTest, AnimationsAreTimedInHundredthsOfASecond) {
    const Ogre::SkeletonPtr bones = skeleton();
    ASSERT_EQ(bones->getNumAnimations(), 2);
    Ogre::Animation* walk = bones->getAnimation("walk");
    EXPECT_FLOAT_EQ(walk->getLength(), 3.0f);
    EXPECT_EQ(walk->getInterpolationMode(), Ogre::Animation::IM_LINEAR);
    ASSERT_EQ(walk->getNumNodeTracks(), 3);
    for (unsigned short handle = 0; handle < 3; ++handle) {
        Ogre::NodeAnimationTrack* track = walk->getNodeTrack(handle);
        EXPECT_EQ(track->getAssociatedNode(), bones->getBone(handle));
        ASSERT_EQ(track->getNumKeyFrames(), 10);
        for (unsigned short j = 0; j < 10; ++j) {
            EXPECT_FLOAT_EQ(track->getKeyFrame(j)->getTime(), static_cast<float>(j * 0.3f));
        }
    }
    Ogre::Animation* idle = bones->getAnimation("idle");
    EXPECT_FLOAT_EQ(idle->getLength(), 31.0f);
    EXPECT_EQ(idle->getNumNodeTracks(), 0);
}

TEST_F(ConvertedModelTest, KeyframesHoldKeysRelativeToTheBindingPose) {
    const Ogre::SkeletonPtr bones = skeleton();
    Ogre::NodeAnimationTrack* arm = bones->getAnimation("walk")->getNodeTrack(2);
    // Identity relative to a binding of 90 degrees about z is the binding's inverse.
    expectQuaternion(arm->getNodeKeyFrame(3)->getRotation(), 0.70710678f, 0, 0, -0.70710678f);
    const Ogre::Quaternion binding(0.70710678f, 0, 0, 0.70710678f);
    const Ogre::Quaternion key(23170 / 32767.0f, 23170 / 32767.0f, 0, 0);
    const Ogre::Quaternion expected = binding.Inverse() * key;
    expectQuaternion(arm->getNodeKeyFrame(7)->getRotation(), expected.w, expected.x, expected.y,
                     expected.z);
    // The translation key decodes to the binding position itself.
    EXPECT_EQ(arm->getNodeKeyFrame(7)->getTranslate(), Ogre::Vector3::ZERO);
    // Frames no key addresses keep the values of a new keyframe, and scale keys are not used.
    expectQuaternion(arm->getNodeKeyFrame(5)->getRotation(), 1, 0, 0, 0);
    EXPECT_EQ(arm->getNodeKeyFrame(3)->getScale(), Ogre::Vector3::UNIT_SCALE);

    Ogre::NodeAnimationTrack* root = bones->getAnimation("walk")->getNodeTrack(1);
    expectQuaternion(root->getNodeKeyFrame(3)->getRotation(), 1, 0, 0, 0);
    // Stream 1 addressed the root's frame 1; it is never built.
    EXPECT_EQ(root->getNodeKeyFrame(1)->getTranslate(), Ogre::Vector3::ZERO);
}

TEST_F(ConvertedModelTest, MeshHoldsBoundsVerticesAndFlippedV) {
    const Ogre::MeshPtr converted = mesh();
    EXPECT_EQ(converted->getBounds().getMinimum(), Ogre::Vector3(-1, -1, -1));
    EXPECT_EQ(converted->getBounds().getMaximum(), Ogre::Vector3(3, 4, 2));
    EXPECT_FLOAT_EQ(converted->getBoundingSphereRadius(), 5.0f);
    EXPECT_EQ(converted->getSkeletonName(), "hero.skeleton");

    const Ogre::VertexData* data = converted->sharedVertexData;
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(data->vertexCount, 3u);
    EXPECT_EQ(bufferValues(data->vertexBufferBinding->getBuffer(0)),
              (std::vector<float>{3, 4, 0, 0, 0, 1, -1, -1, -1, 0, 0, 1, 0, 1, 2, 0, 0, 1}));
    EXPECT_EQ(bufferValues(data->vertexBufferBinding->getBuffer(1)),
              (std::vector<float>{0.5f, 0.75f, 0, 0, 1, 1}));
}

TEST_F(ConvertedModelTest, SubmeshesFollowMaterialOrderAndNameTheirMaterials) {
    const Ogre::MeshPtr converted = mesh();
    ASSERT_EQ(converted->getNumSubMeshes(), 2);
    const Ogre::SubMesh* body = converted->getSubMesh(0);
    const Ogre::SubMesh* head = converted->getSubMesh(1);
    EXPECT_EQ(body->getMaterialName(), "body");
    EXPECT_EQ(head->getMaterialName(), "head");
    EXPECT_TRUE(body->useSharedVertices);
    EXPECT_EQ(body->operationType, Ogre::RenderOperation::OT_TRIANGLE_LIST);
    EXPECT_EQ(indices(*body), (std::vector<uint16_t>{2, 1, 0}));
    EXPECT_EQ(indices(*head), (std::vector<uint16_t>{0, 1, 2, 1, 2, 0}));
}

TEST_F(ConvertedModelTest, BoneWeightsAreKeptAsStored) {
    const Ogre::MeshPtr converted = mesh();
    std::vector<std::tuple<unsigned, unsigned short, float>> assignments;
    for (const auto& entry : converted->getBoneAssignments()) {
        assignments.emplace_back(entry.second.vertexIndex, entry.second.boneIndex,
                                 entry.second.weight);
    }
    std::sort(assignments.begin(), assignments.end());
    // Not normalised, and vertex 2 with no weights has no assignment: vertex 1's weights sum
    // to 1.25.
    EXPECT_EQ(assignments, (std::vector<std::tuple<unsigned, unsigned short, float>>{
                               {0, 1, 1.0f}, {1, 0, 0.5f}, {1, 1, 0.25f}, {1, 2, 0.5f}}));
}

TEST_F(ConvertedModelTest, MaterialScriptHoldsOneTexturedTechniquePerTextureLine) {
    const std::string script = readFileText(*work / "out/hero.material");
    const std::size_t body = script.find("material body");
    const std::size_t head = script.find("material head");
    const std::size_t unused = script.find("material unused");
    ASSERT_NE(body, std::string::npos);
    ASSERT_NE(head, std::string::npos);
    ASSERT_NE(unused, std::string::npos);
    EXPECT_LT(body, head);
    EXPECT_LT(head, unused);
    EXPECT_NE(script.find("texture body.tga", body), std::string::npos);
    // One technique per texture line, and none besides: the first would be the one rendered.
    const std::string bodySection = script.substr(body, head - body);
    EXPECT_EQ(bodySection.find("technique"), bodySection.rfind("technique"));
    EXPECT_NE(script.find("texture head.tga", head), std::string::npos);
    EXPECT_EQ(script.find("texture", unused), std::string::npos);
    EXPECT_EQ(script.find("art"), std::string::npos) << "texture directories are dropped";
}

} // namespace

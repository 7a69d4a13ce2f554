#include "BenchModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <set>
#include <stdexcept>

// Names the size in test listings instead of dumping its bytes.
void PrintTo(const BenchModelSize& size, std::ostream* out) {
    *out << size.name;
}

namespace {

// Each test runs in a process of its own, so only the size it asks for is built.
const SampleModel& benchModel(const BenchModelSize& size) {
    if (size.name == "big") {
        static const SampleModel big = makeBenchModel(bigModelSize());
        return big;
    }
    static const SampleModel typical = makeBenchModel(typicalModelSize());
    return typical;
}

class BenchModelOfSize : public testing::TestWithParam<BenchModelSize> {
protected:
    const BenchModelSize& size() const { return GetParam(); }
    const SampleModel& model() const { return benchModel(GetParam()); }
};

// Vertices, bones, animations, frames, materials.
std::vector<int> countsOf(const BenchModelSize& size) {
    return {size.vertices, size.bones, size.animations, size.frames, size.materials};
}

BenchModelSize sizeWith(int vertices, int bones, int materials) {
    return {"odd", vertices, bones, 1, 2, materials};
}

} // namespace

TEST(BenchModelSizes, BigAndTypicalAreTheMeasuredOnes) {
    EXPECT_EQ(bigModelSize().name, "big");
    EXPECT_EQ(countsOf(bigModelSize()), (std::vector<int>{20000, 120, 150, 60, 4}));
    EXPECT_EQ(typicalModelSize().name, "typical");
    EXPECT_EQ(countsOf(typicalModelSize()), (std::vector<int>{2000, 60, 60, 30, 4}));
}

TEST(BenchModelSizes, SizesThatCannotBeBuiltAreRefused) {
    EXPECT_THROW(makeBenchModel(sizeWith(2010, 60, 4)), std::invalid_argument);  // part of a ring
    EXPECT_THROW(makeBenchModel(sizeWith(40, 60, 1)), std::invalid_argument);    // one ring
    EXPECT_THROW(makeBenchModel(sizeWith(65560, 60, 4)), std::invalid_argument); // past 16 bits
    EXPECT_THROW(makeBenchModel(sizeWith(2000, 1, 4)), std::invalid_argument);
    EXPECT_THROW(makeBenchModel(sizeWith(2000, 60, 0)), std::invalid_argument);
    EXPECT_NO_THROW(makeBenchModel(sizeWith(80, 2, 1)));
}

TEST_P(BenchModelOfSize, HoldsTheCountsItWasAskedFor) {
    EXPECT_EQ(model().name, size().name);
    EXPECT_EQ(model().skm.vertices.size(), static_cast<std::size_t>(size().vertices));
    EXPECT_EQ(model().skm.bones.size(), static_cast<std::size_t>(size().bones));
    EXPECT_EQ(model().ska.bones.size(), static_cast<std::size_t>(size().bones));
    EXPECT_EQ(model().skm.materialPaths.size(), static_cast<std::size_t>(size().materials));
    EXPECT_EQ(model().mdfFiles.size(), static_cast<std::size_t>(size().materials));
    EXPECT_EQ(model().ska.animations.size(), static_cast<std::size_t>(size().animations));
}

// Stream 0 of every animation: each frame in order, and in it a scale, rotation and
// translation record of that frame for every bone.
TEST_P(BenchModelOfSize, EveryFrameKeysEveryBoneOnAllThreeChannels) {
    std::set<std::string> names;
    for (const samplemodel::SkaAnimationDesc& animation : model().ska.animations) {
        EXPECT_TRUE(names.insert(animation.name).second) << animation.name;
        ASSERT_EQ(animation.streams.size(), 1u);
        const samplemodel::SkaStreamDesc& stream = animation.streams[0];
        EXPECT_EQ(stream.frameCount, size().frames);
        EXPECT_GT(stream.frameTime, 0);
        ASSERT_EQ(stream.frames.size(), static_cast<std::size_t>(size().frames));
        for (std::size_t f = 0; f < stream.frames.size(); ++f) {
            const samplemodel::SkaFrameDesc& frame = stream.frames[f];
            EXPECT_EQ(frame.frame, f);
            ASSERT_EQ(frame.keys.size(), static_cast<std::size_t>(size().bones));
            for (std::size_t b = 0; b < frame.keys.size(); ++b) {
                const samplemodel::SkaBoneKeyDesc& key = frame.keys[b];
                ASSERT_EQ(key.bone, b);
                ASSERT_TRUE(key.hasScale && key.hasRotation && key.hasTranslation);
                ASSERT_EQ(key.scaleFrame, static_cast<int16_t>(f));
                ASSERT_EQ(key.rotationFrame, static_cast<int16_t>(f));
                ASSERT_EQ(key.translationFrame, static_cast<int16_t>(f));
            }
        }
    }
}

// A chain: each bone hangs from the one before it, so the skeleton is as deep as it is long.
TEST_P(BenchModelOfSize, BonesFormAChainWithTurnedBindings) {
    const auto& bones = model().skm.bones;
    for (std::size_t i = 0; i < bones.size(); ++i) {
        EXPECT_EQ(bones[i].parent, static_cast<int16_t>(i) - 1);
        EXPECT_EQ(model().ska.bones[i].name, bones[i].name);
        EXPECT_LT(std::abs(model().ska.bones[i].bindRotationXyzw[3]), 1.0f);
    }
}

TEST_P(BenchModelOfSize, FacesReachExistingVerticesAndUseEveryMaterial) {
    const samplemodel::SkmDesc& skm = model().skm;
    std::vector<std::size_t> facesOfMaterial(skm.materialPaths.size());
    uint16_t highestIndex = 0;
    for (const samplemodel::SkmFaceDesc& face : skm.faces) {
        ++facesOfMaterial.at(face.materialIndex);
        const auto& corners = face.vertexIndex;
        highestIndex = std::max({highestIndex, corners[0], corners[1], corners[2]});
    }
    EXPECT_EQ(highestIndex, skm.vertices.size() - 1);
    EXPECT_EQ(std::count(facesOfMaterial.begin(), facesOfMaterial.end(), 0u), 0);
    EXPECT_EQ(skm.faces.size(), 2 * (skm.vertices.size() - benchRingVertices));
}

// Each vertex blends the two neighbouring bones of the chain that it lies between.
TEST_P(BenchModelOfSize, EachVertexBlendsTwoNeighbouringBones) {
    const std::size_t boneCount = model().skm.bones.size();
    for (const samplemodel::SkmVertexDesc& vertex : model().skm.vertices) {
        ASSERT_EQ(vertex.weightCount, 2);
        ASSERT_EQ(vertex.boneIndex[1], vertex.boneIndex[0] + 1);
        ASSERT_LT(vertex.boneIndex[1], boneCount);
        ASSERT_NEAR(vertex.boneWeight[0] + vertex.boneWeight[1], 1.0f, 1e-6f);
    }
}

INSTANTIATE_TEST_SUITE_P(BigAndTypical, BenchModelOfSize,
                         testing::Values(bigModelSize(), typicalModelSize()),
                         [](const testing::TestParamInfo<BenchModelSize>& info) {
                             return info.param.name;
                         });

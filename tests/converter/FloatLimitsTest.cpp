// A model whose every value that reaches a file sits at the float limits: positions, normals,
// texture coordinates and weights of the vertices, binding transforms, key values and frame
// times. Each is finite in the input, so each must be finite in what the engine reads back.
#include "support/ConverterProcess.h"
#include "support/ReadBack.h"
#include "support/SmallModel.h"

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreKeyFrame.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float largest = std::numeric_limits<float>::max();

SmallModel modelAtTheLimits() {
    SmallModel model = makeSmallModel();
    const std::array<std::array<float, 3>, 3> corners = {
        {{largest, largest, largest}, {-largest, -largest, -largest}, {largest, -largest, 0}}};
    for (std::size_t i = 0; i < model.skm.vertices.size(); ++i) {
        samplemodel::SkmVertexDesc& vertex = model.skm.vertices[i];
        vertex.position = corners[i];
        vertex.normal = corners[i];
        vertex.uv = {corners[i][0], corners[i][1]};
        vertex.boneWeight.fill(largest);
    }
    for (samplemodel::SkaBoneDesc& bone : model.ska.bones) {
        bone.bindScale = {largest, -largest, largest};
        bone.bindRotationXyzw = {largest, 0, 0, largest};
    }
    model.ska.bones[0].bindPosition = {-largest, -largest, -largest};
    model.ska.bones[1].bindPosition = {largest, largest, largest};
    // 200 frames of the longest frame time run past the float range from frame 100 on; keys
    // of the largest factor lie at the limit and, relative to a binding on the other side,
    // beyond it.
    samplemodel::SkaStreamDesc& walk = model.ska.animations[0].streams[0];
    walk.frameCount = 200;
    walk.frameTime = largest;
    walk.translationFactor = largest;
    walk.scaleFactor = largest;
    samplemodel::SkaBoneKeyDesc key;
    key.bone = 2;
    key.hasTranslation = true;
    key.translationFrame = 150;
    key.translation = {32767, -32767, 32767};
    walk.frames.push_back({150, {key}});
    return model;
}

class Values {
public:
    void add(const std::string& what, float value) {
        if (!std::isfinite(value)) {
            notFinite.push_back(what);
        }
        ++count;
    }
    void add(const std::string& what, const Ogre::Vector3& v) {
        for (int i = 0; i < 3; ++i) {
            add(what + "[" + std::to_string(i) + "]", v[i]);
        }
    }
    void add(const std::string& what, const Ogre::Quaternion& q) {
        for (int i = 0; i < 4; ++i) {
            add(what + "[" + std::to_string(i) + "]", q[i]);
        }
    }

    std::vector<std::string> notFinite;
    std::size_t count = 0;
};

void addSkeleton(const Ogre::Skeleton& skeleton, Values& values) {
    for (const Ogre::Bone* bone : skeleton.getBones()) {
        values.add(bone->getName() + " position", bone->getPosition());
        values.add(bone->getName() + " orientation", bone->getOrientation());
        values.add(bone->getName() + " scale", bone->getScale());
    }
    for (unsigned short a = 0; a < skeleton.getNumAnimations(); ++a) {
        const Ogre::Animation* animation = skeleton.getAnimation(a);
        values.add(animation->getName() + " length", animation->getLength());
        for (const auto& [handle, track] : animation->_getNodeTrackList()) {
            for (unsigned short k = 0; k < track->getNumKeyFrames(); ++k) {
                const Ogre::TransformKeyFrame* frame = track->getNodeKeyFrame(k);
                const std::string what = animation->getName() + " key " + std::to_string(k);
                values.add(what + " time", frame->getTime());
                values.add(what + " rotation", frame->getRotation());
                values.add(what + " translation", frame->getTranslate());
                values.add(what + " scale", frame->getScale());
            }
        }
    }
}

void addMesh(const Ogre::Mesh& mesh, Values& values) {
    values.add("box minimum", mesh.getBounds().getMinimum());
    values.add("box maximum", mesh.getBounds().getMaximum());
    values.add("radius", mesh.getBoundingSphereRadius());
    const Ogre::VertexBufferBinding* binding = mesh.sharedVertexData->vertexBufferBinding;
    for (unsigned short source = 0; source < binding->getBufferCount(); ++source) {
        const auto& buffer = binding->getBuffer(source);
        const auto* floats =
            static_cast<const float*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
        for (std::size_t i = 0; i < buffer->getSizeInBytes() / sizeof(float); ++i) {
            values.add("buffer " + std::to_string(source) + " float " + std::to_string(i),
                       floats[i]);
        }
        buffer->unlock();
    }
    for (const auto& [vertex, assignment] : mesh.getBoneAssignments()) {
        values.add("weight of vertex " + std::to_string(vertex), assignment.weight);
    }
}

TEST(FloatLimitsTest, EveryValueWrittenStaysFinite) {
    TemporaryDirectory work;
    writeSmallModel(modelAtTheLimits(), work.path(), "small");
    const ConverterRun run = runTarnwick(work.path(), {"small.skm"});
    ASSERT_EQ(run.exitStatus, 0) << run.output;

    ReadBack readBack(work / "readback.log");
    Values values;
    const Ogre::SkeletonPtr skeleton = readBack.skeleton(work / "small.skeleton");
    addSkeleton(*skeleton, values);
    const Ogre::MeshPtr mesh = readBack.mesh(work / "small.mesh");
    addMesh(*mesh, values);
    EXPECT_EQ(values.notFinite, std::vector<std::string>{});
    EXPECT_GT(values.count, 2000u);
    EXPECT_EQ(mesh->getBoundingSphereRadius(), largest);
    EXPECT_EQ(skeleton->getAnimation("walk")->getLength(), largest);
}

} // namespace

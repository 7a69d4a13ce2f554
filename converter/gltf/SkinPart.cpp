#include "SkinPart.h"

#include <OgreBone.h>

#include <array>

namespace {

struct ModelTransform {
    Ogre::Vector3 position;
    Ogre::Quaternion orientation;
    Ogre::Vector3 scale;
};

// The bone in model space, composed the way the engine derives a node from its parent.
ModelTransform modelTransform(const Ogre::Bone& bone) {
    Ogre::Quaternion orientation = bone.getOrientation();
    orientation.normalise();
    const auto* parent = static_cast<const Ogre::Bone*>(bone.getParent());
    if (parent == nullptr) {
        return {bone.getPosition(), orientation, bone.getScale()};
    }
    const ModelTransform base = modelTransform(*parent);
    return {base.orientation * (base.scale * bone.getPosition()) + base.position,
            bone.getInheritOrientation() ? base.orientation * orientation : orientation,
            bone.getInheritScale() ? base.scale * bone.getScale() : bone.getScale()};
}

// The inverse of the model transform, column by column; its last row is written as the exact
// 0, 0, 0, 1 that glTF requires rather than computed.
std::array<float, 16> inverseBindMatrix(const ModelTransform& model) {
    const Ogre::Quaternion inverseOrientation = model.orientation.Inverse();
    const Ogre::Vector3 inverseScale = Ogre::Vector3::UNIT_SCALE / model.scale;
    Ogre::Matrix3 rotation;
    inverseOrientation.ToRotationMatrix(rotation);
    const Ogre::Vector3 translation = inverseScale * (inverseOrientation * -model.position);
    std::array<float, 16> columns{};
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            columns[column * 4 + row] = inverseScale[row] * rotation[row][column];
        }
        columns[column * 4 + 3] = 0;
    }
    for (int row = 0; row < 3; ++row) {
        columns[12 + row] = translation[row];
    }
    columns[15] = 1;
    return columns;
}

// The bone's transform relative to its parent in the binding pose: what the skeleton file
// stores and what a skeleton's animations start from.
nlohmann::json bindingTransform(const Ogre::Bone& bone) {
    Ogre::Quaternion orientation = bone.getOrientation();
    orientation.normalise();
    const Ogre::Vector3& position = bone.getPosition();
    const Ogre::Vector3& scale = bone.getScale();
    return {{"translation", {position.x, position.y, position.z}},
            {"rotation", {orientation.x, orientation.y, orientation.z, orientation.w}},
            {"scale", {scale.x, scale.y, scale.z}}};
}

} // namespace

SkinNodes addSkin(GltfDocument& document, const Ogre::Skeleton& skeleton) {
    const unsigned short boneCount = skeleton.getNumBones();
    const int firstNode = static_cast<int>(document.json["nodes"].size());
    std::vector<float> inverseBindMatrices;
    inverseBindMatrices.reserve(16 * boneCount);
    nlohmann::json joints = nlohmann::json::array();
    for (unsigned short handle = 0; handle < boneCount; ++handle) {
        const Ogre::Bone& bone = *skeleton.getBone(handle);
        nlohmann::json node = bindingTransform(bone);
        node["name"] = bone.getName();
        joints.push_back(document.add("nodes", std::move(node)));
        const std::array<float, 16> matrix = inverseBindMatrix(modelTransform(bone));
        inverseBindMatrices.insert(inverseBindMatrices.end(), matrix.begin(), matrix.end());
    }
    // Linked once every node exists: a bone may come before its parent.
    SkinNodes result{};
    for (unsigned short handle = 0; handle < boneCount; ++handle) {
        const int node = firstNode + handle;
        if (const auto* parent =
                static_cast<const Ogre::Bone*>(skeleton.getBone(handle)->getParent())) {
            document.json["nodes"][firstNode + parent->getHandle()]["children"].push_back(node);
        } else {
            result.rootJoints.push_back(node);
        }
    }
    const int matrices =
        document.buffer.addAccessor(inverseBindMatrices, mat4Type, ViewTarget::none);
    result.skin = document.add(
        "skins",
        {{"name", skeleton.getName()}, {"inverseBindMatrices", matrices}, {"joints", joints}});
    return result;
}

#include "SkeletonBuilder.h"

#include "../ByteStream.h"
#include "../Finite.h"
#include "../Quoted.h"
#include "../skm/SkmReader.h"

#include <OgreBone.h>

#include <cmath>
#include <unordered_set>

namespace {

// A message naming the first record that no skeleton could be built from, or empty.
std::string findUnsoundBone(const std::vector<SkmBone>& bones) {
    std::unordered_set<std::string> names;
    for (const SkmBone& bone : bones) {
        if (!names.insert(bone.name).second) {
            return "Bone name " + quoted(bone.name) + " occurs twice in the bone table.";
        }
        if (bone.parentIndex < -1 || bone.parentIndex >= static_cast<int>(bones.size())) {
            return "Bone " + quoted(bone.name) + " names parent " +
                   std::to_string(bone.parentIndex) + ", which is not in the bone table.";
        }
    }
    for (const SkmBone& bone : bones) {
        // A chain longer than the table must come back to a bone it has already passed.
        int parent = bone.parentIndex;
        for (std::size_t steps = 0; parent != -1; ++steps) {
            if (steps == bones.size()) {
                return "The parents of bone " + quoted(bone.name) + " form a cycle.";
            }
            parent = bones[static_cast<std::size_t>(parent)].parentIndex;
        }
    }
    return {};
}

bool readBoneTable(const std::string& skmPath, std::vector<SkmBone>& bones, Diagnostics& out) {
    std::optional<ByteStream> file = ByteStream::openFile(skmPath);
    if (!file) {
        out.error("File not found!", Placement::step);
        return false;
    }
    SkmReader reader(std::move(*file), skmPath);
    const int32_t boneCount = reader.header().boneCount;
    if (boneCount == 0) {
        out.error("Mesh does not contain bones.", Placement::step);
        return false;
    }
    if (boneCount < 0 || boneCount > OGRE_MAX_NUM_BONES) {
        out.error(textOf("Mesh claims ", boneCount, " bones; a skeleton holds 1 to ",
                         OGRE_MAX_NUM_BONES, "."),
                  Placement::step);
        return false;
    }
    out.progress(textOf("Mesh contains ", boneCount, " bones."), Placement::step);
    std::string error;
    if (!reader.readBones(bones, error)) {
        out.error(error, Placement::step);
        return false;
    }
    return true;
}

// The engine normalises orientations, so one of zero length would turn into NaN.
Ogre::Quaternion bindOrientation(const SkaBone& bone, Diagnostics& out) {
    const auto& xyzw = bone.bindRotation;
    const Ogre::Quaternion stored(xyzw[3], xyzw[0], xyzw[1], xyzw[2]);
    const float norm = stored.Norm();
    if (!std::isfinite(norm) || norm < 1e-12f) {
        out.warning(textOf("Warning: bone ", quoted(bone.name),
                           " has a binding rotation of zero length or not finite; identity used."),
                    Placement::step);
        return Ogre::Quaternion::IDENTITY;
    }
    return stored;
}

Ogre::Vector3 finiteOr(const std::array<float, 3>& values, const Ogre::Vector3& fallback,
                       const SkaBone& bone, const char* what, Diagnostics& out) {
    if (allFinite(values)) {
        return Ogre::Vector3(values.data());
    }
    out.warning(textOf("Warning: bone ", quoted(bone.name), " has a binding ", what,
                       " that is not finite; ", fallback, " used."),
                Placement::step);
    return fallback;
}

} // namespace

bool readSkmBones(const std::string& skmPath, Ogre::Skeleton& skeleton, Diagnostics& out) {
    out.progress("Reading bones from file:" + skmPath);
    std::vector<SkmBone> bones;
    if (!readBoneTable(skmPath, bones, out)) {
        return false;
    }
    const std::string unsound = findUnsoundBone(bones);
    if (!unsound.empty()) {
        out.error(unsound, Placement::step);
        return false;
    }
    for (std::size_t i = 0; i < bones.size(); ++i) {
        skeleton.createBone(bones[i].name, static_cast<unsigned short>(i));
    }
    // Every bone exists before the first link, so a parent may stand after its children.
    for (const SkmBone& bone : bones) {
        if (bone.parentIndex != -1) {
            const std::string& parentName = bones[static_cast<std::size_t>(bone.parentIndex)].name;
            skeleton.getBone(parentName)->addChild(skeleton.getBone(bone.name));
        }
    }
    out.progress("Reading bones - success.");
    return true;
}

void readSkaBones(const std::vector<SkaBone>& bones, Ogre::Skeleton& skeleton, Diagnostics& out) {
    for (const SkaBone& record : bones) {
        if (!skeleton.hasBone(record.name)) {
            out.warning("Warning: SKA bone " + quoted(record.name) +
                            " is not in the skeleton; skipped.",
                        Placement::step);
            continue;
        }
        Ogre::Bone* bone = skeleton.getBone(record.name);
        bone->setOrientation(bindOrientation(record, out));
        bone->setPosition(
            finiteOr(record.bindPosition, Ogre::Vector3::ZERO, record, "position", out));
        bone->setScale(finiteOr(record.bindScale, Ogre::Vector3::UNIT_SCALE, record, "scale", out));
    }
}

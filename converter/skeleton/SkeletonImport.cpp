#include "SkeletonImport.h"

#include "AnimationBuilder.h"
#include "SkaReader.h"
#include "SkeletonBuilder.h"

namespace {

// Sound files need far fewer keyframes than this; a damaged one may claim millions.
constexpr std::size_t baseKeyframeBudget = 1000000;
constexpr std::size_t skaBytesPerKeyframe = 4;

bool importSka(const std::string& skaPath, Ogre::Skeleton& skeleton, std::ostream& out) {
    std::string bytes;
    if (!loadFile(skaPath, bytes)) {
        return false;
    }
    const std::size_t keyframeBudget = baseKeyframeBudget + bytes.size() / skaBytesPerKeyframe;
    SkaReader reader(std::move(bytes), skaPath);
    const SkaHeader header = reader.readHeader(out);
    std::vector<SkaBone> bones;
    std::vector<AnimationData> animations;
    std::string error;
    if (!reader.readBones(header, bones, error) ||
        !reader.readAnimations(header, animations, out, error)) {
        out << "\t" << error << "\n";
        return false;
    }
    readSkaBones(bones, skeleton, out);
    buildAnimations(animations, skeleton, keyframeBudget, out);
    return true;
}

} // namespace

bool importSkeleton(const std::string& skmPath, const std::string& skaPath,
                    Ogre::Skeleton& skeleton, std::ostream& out) {
    if (!readSkmBones(skmPath, skeleton, out) || !importSka(skaPath, skeleton, out)) {
        out << "Importing Skeleton Failed!" << std::flush;
        return false;
    }
    out << "Importing Skeleton Success!" << std::flush;
    return true;
}

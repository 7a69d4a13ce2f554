#include "SkeletonImport.h"

#include "AnimationBuilder.h"
#include "SkaReader.h"
#include "SkeletonBuilder.h"

#include <sstream>

namespace {

// Each animation is built as soon as it is decoded, so that only one animation's keys are held
// at a time. The console still reads as if every animation were decoded first: the warnings of
// the binding pose and of the building are held back until the last animation is decoded.
bool importSka(const std::string& skaPath, Ogre::Skeleton& skeleton, std::ostream& out,
               const ImportLimits& limits) {
    std::optional<ByteStream> file = ByteStream::openFile(skaPath);
    if (!file) {
        return false;
    }
    AnimationBuildState buildState{limits.keyframes, 0, {}};
    SkaReader reader(std::move(*file), skaPath, limits.repeatedKeyBytes);
    const SkaHeader header = reader.readHeader(out);
    std::vector<SkaBone> bones;
    std::string error;
    if (!reader.readBones(header, bones, error) || !reader.readAnimationTable(header, error)) {
        out << "\t" << error << "\n";
        return false;
    }
    std::ostringstream buildWarnings;
    readSkaBones(bones, skeleton, buildWarnings);
    for (std::size_t index = 0; index < reader.animationCount(); ++index) {
        AnimationData animation;
        if (reader.readAnimation(index, animation, out)) {
            buildAnimation(animation, index, skeleton, buildState, buildWarnings);
        }
    }
    out << buildWarnings.str();
    return true;
}

} // namespace

bool importSkeleton(const std::string& skmPath, const std::string& skaPath,
                    Ogre::Skeleton& skeleton, std::ostream& out, const ImportLimits& limits) {
    if (!readSkmBones(skmPath, skeleton, out) || !importSka(skaPath, skeleton, out, limits)) {
        out << "Importing Skeleton Failed!" << std::flush;
        return false;
    }
    out << "Importing Skeleton Success!" << std::flush;
    return true;
}

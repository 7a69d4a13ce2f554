#include "SkeletonImport.h"

#include "AnimationBuilder.h"
#include "SkaReader.h"
#include "SkeletonBuilder.h"

#include <sstream>

namespace {

// Sound files need far fewer keyframes than this; a damaged one may claim millions.
constexpr std::size_t baseKeyframeBudget = 1000000;
constexpr std::size_t skaBytesPerKeyframe = 4;

// Each animation is built as soon as it is decoded, so that only one animation's keys are held
// at a time. The console still reads as if every animation were decoded first: the warnings of
// the binding pose and of the building are held back until the last animation is decoded, and
// a file found damaged on the way shows its decoding warnings and the error alone.
bool importSka(const std::string& skaPath, Ogre::Skeleton& skeleton, std::ostream& out) {
    std::optional<ByteStream> file = ByteStream::openFile(skaPath);
    if (!file) {
        return false;
    }
    std::size_t keyframeBudget =
        baseKeyframeBudget + static_cast<std::size_t>(file->size()) / skaBytesPerKeyframe;
    SkaReader reader(std::move(*file), skaPath);
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
        if (!reader.readAnimation(index, animation, out, error)) {
            out << "\t" << error << "\n";
            return false;
        }
        buildAnimation(animation, index, skeleton, keyframeBudget, buildWarnings);
    }
    out << buildWarnings.str();
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

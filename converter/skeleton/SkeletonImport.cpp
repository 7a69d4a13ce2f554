#include "SkeletonImport.h"

#include "AnimationBuilder.h"
#include "SkaReader.h"
#include "SkeletonBuilder.h"

#include <filesystem>

namespace {

// The console has only ever said that the import failed; a program learns the cause.
void reportMissing(const std::string& skaPath, Diagnostics& out) {
    std::error_code unknown;
    if (!std::filesystem::exists(skaPath, unknown)) {
        out.error("no SKA file " + std::filesystem::path(skaPath).filename().string() +
                      " beside it",
                  Placement::unshown);
    }
}

// Each animation is built as soon as it is decoded, so that only one animation's keys are held
// at a time. The console still reads as if every animation were decoded first: the warnings of
// the binding pose and of the building are held back until the last animation is decoded.
bool importSka(const std::string& skaPath, Ogre::Skeleton& skeleton, Diagnostics& out,
               const ImportLimits& limits) {
    std::optional<ByteStream> file = ByteStream::openFile(skaPath);
    if (!file) {
        reportMissing(skaPath, out);
        return false;
    }
    AnimationBuildState buildState{limits.keyframes, 0, {}};
    SkaReader reader(std::move(*file), skaPath, limits.repeatedKeyBytes);
    const SkaHeader header = reader.readHeader(out);
    std::vector<SkaBone> bones;
    std::string error;
    if (!reader.readBones(header, bones, error) || !reader.readAnimationTable(header, error)) {
        out.error(error, Placement::step);
        return false;
    }
    DiagnosticList buildWarnings;
    readSkaBones(bones, skeleton, buildWarnings);
    for (std::size_t index = 0; index < reader.animationCount(); ++index) {
        AnimationData animation;
        if (reader.readAnimation(index, animation, out)) {
            buildAnimation(animation, index, skeleton, buildState, buildWarnings);
        }
    }
    buildWarnings.passOn(out);
    return true;
}

} // namespace

bool importSkeleton(const std::string& skmPath, const std::string& skaPath,
                    Ogre::Skeleton& skeleton, Diagnostics& out, const ImportLimits& limits) {
    if (!readSkmBones(skmPath, skeleton, out) || !importSka(skaPath, skeleton, out, limits)) {
        out.error("Importing Skeleton Failed!", Placement::open);
        return false;
    }
    out.progress("Importing Skeleton Success!", Placement::open);
    return true;
}

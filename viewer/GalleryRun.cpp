#include "PictureRuns.h"

#include "CommandLine.h"
#include "GalleryPage.h"
#include "LibraryBrowser.h"
#include "ModelFacts.h"
#include "PictureFreshness.h"
#include "ShownModel.h"
#include "TimingLog.h"

#include <filesystem>
#include <ostream>

namespace fs = std::filesystem;

namespace {

void addFacts(const ModelFacts& facts, GalleryModel& model) {
    model.vertices = facts.vertices;
    model.triangles = facts.triangles;
    model.bones = facts.bones;
    for (const auto& [name, seconds] : facts.animations)
        model.animations.push_back({name, seconds});
    for (const ModelFacts::Texture& texture : facts.textures)
        if (!texture.present)
            model.missingTextures.push_back(texture.name);
}

// Why the picture could not be drawn, or "".
std::string drawPicture(ShownModel& shown, Ogre::Camera& camera, const ViewerOptions& options,
                        const fs::path& picture) {
    if (!options.animation.empty())
        shown.pose(options.animation, options.time);
    std::error_code failed;
    fs::create_directories(picture.parent_path(), failed);
    if (failed)
        return "cannot make " + picture.parent_path().string() + ": " + failed.message();
    return writeFramedPicture(shown, camera, options, picture.string());
}

// The page's record of one model, its picture drawn unless it is up to date.
GalleryModel galleryModel(LibraryBrowser& library, std::size_t index, ShownModel& shown,
                          Ogre::Camera& camera, const ViewerOptions& options,
                          TimingLog& timingLog) {
    const LibraryModel& source = library.library().models[index];
    GalleryModel model;
    model.relativePath = source.relativePath;
    const std::string message = library.show(index);
    if (!shown.entity()) {
        model.failure = message;
        return model;
    }
    if (const std::optional<ModelFacts> facts = shown.facts())
        addFacts(*facts, model);
    const std::string pictureName = galleryPicturePath(source.relativePath);
    const fs::path picture = fs::path(options.galleryFolder) / pictureName;
    if (!pictureIsUpToDate(picture, picturedFiles(source.file))) {
        model.failure = drawPicture(shown, camera, options, picture);
        if (!model.failure.empty())
            return model;
        timingLog.screenshotWritten(picture.string());
    }
    model.picture = pictureName;
    return model;
}

} // namespace

int writeGallery(LibraryBrowser& library, ShownModel& shown, Ogre::Camera& camera,
                 const ViewerOptions& options, TimingLog& timingLog, std::ostream& errors) {
    std::vector<GalleryModel> models;
    int status = 0;
    for (std::size_t index = 0; index < library.library().models.size(); ++index) {
        models.push_back(galleryModel(library, index, shown, camera, options, timingLog));
        if (!models.back().failure.empty()) {
            errors << "Velmora: " << models.back().relativePath << ": " << models.back().failure
                   << '\n';
            status = 1;
        }
    }
    shown.clear();
    const std::string pageFailure =
        writeGalleryPage(fs::path(options.galleryFolder) / "index.html", models);
    if (!pageFailure.empty()) {
        errors << "Velmora: " << pageFailure << '\n';
        status = 1;
    }
    return status;
}

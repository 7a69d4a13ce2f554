#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

struct GalleryAnimation {
    std::string name;
    float seconds = 0.0f;
};

// What the gallery page says of one model.
struct GalleryModel {
    std::string relativePath; // in the library: "monsters/orc/orc.mesh"
    std::string picture;      // the PNG, relative to the page; empty when none was drawn
    std::size_t vertices = 0;
    std::size_t triangles = 0;
    std::size_t bones = 0;
    std::vector<GalleryAnimation> animations;
    std::vector<std::string> missingTextures;
    std::string failure; // why the model could not be shown; empty when it was
};

// Where the gallery puts a model's picture, relative to its page: the relative path with ".png"
// for ".mesh", so the pictures mirror the library's folders ("monsters/orc/orc.png").
std::string galleryPicturePath(const std::string& relativePath);

// index.html: the thumbnails grouped by folder, each with its name and facts, missing textures
// and failures in red, and a filter box whose few lines of script hide the models whose path
// does not hold its text (ignoring case). The page opens filtered by a "?filter=TEXT" query.
// Every name is escaped; nothing is fetched from the network.
std::string galleryPage(const std::vector<GalleryModel>& models);

// Writes the page to `file` whole or not at all (a temporary beside it renamed into place).
// Empty on success, else a message naming the file and the reason.
std::string writeGalleryPage(const std::filesystem::path& file,
                             const std::vector<GalleryModel>& models);

#pragma once

#include "ModelGroups.h"
#include "ModelLibrary.h"

#include <cstddef>
#include <optional>
#include <string>

class ShownModel;

// The models of a library, shown one at a time through the shown model, each with the
// skeleton, materials and textures of its own folder; what the previous folder held is freed.
// No GUI: the window's lists, the screenshots and the gallery all show models through it.
class LibraryBrowser {
public:
    LibraryBrowser(ModelLibrary library, ShownModel& shown);

    const ModelLibrary& library() const { return models; }
    // Takes a fresh listing of the library; nothing is on show from it until the next `show`.
    void relist(ModelLibrary library);

    // Shows the model of that index of the list; the shown model's answer (why it cannot be
    // shown, what it lacks, or empty).
    std::string show(std::size_t model);
    // The index of the model on show, if it came from the library.
    std::optional<std::size_t> shownIndex() const { return shown; }

private:
    ModelLibrary models;
    ShownModel& shownModel;
    ModelGroups groups;
    std::optional<std::size_t> shown;
};

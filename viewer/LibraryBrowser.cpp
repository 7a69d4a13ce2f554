#include "LibraryBrowser.h"

#include "FailureDescription.h"
#include "ShownModel.h"

#include <utility>

LibraryBrowser::LibraryBrowser(ModelLibrary library, ShownModel& shown)
    : models(std::move(library)), shownModel(shown) {}

void LibraryBrowser::relist(ModelLibrary library) {
    models = std::move(library);
    shown.reset();
}

// A model of the folder on show keeps what the two share loaded; one of another folder is shown
// after the previous model and all of its folder are gone.
std::string LibraryBrowser::show(std::size_t model) {
    const LibraryModel& chosen = models.models.at(model);
    shown = model;
    if (!groups.isOpen(chosen.folder))
        shownModel.clear();
    std::string group;
    try {
        group = groups.open(chosen.folder);
    } catch (...) { // a folder gone since it was listed, or a script the engine refuses
        return "Cannot show " + chosen.relativePath + ": " + describeCurrentException();
    }
    return shownModel.show(chosen.file.filename().string(), group);
}

#pragma once

#include <filesystem>
#include <string>

// A fresh working directory for the viewer, entered for the lifetime of the object and removed
// with it, whatever the test did: the viewer's data files, a "resources.cfg" whose sections are
// the given text, and the test models written into the folder "models".
class ViewerWorkdir {
public:
    explicit ViewerWorkdir(const std::string& resourceSections);
    ~ViewerWorkdir();
    ViewerWorkdir(const ViewerWorkdir&) = delete;
    ViewerWorkdir& operator=(const ViewerWorkdir&) = delete;

    const std::filesystem::path& path() const { return workdir; }

private:
    std::filesystem::path previous;
    std::filesystem::path workdir;
};

// The sample figure converted by Tarnwick into `folder`, beside its textures.
void writeConvertedFigure(const std::filesystem::path& folder);

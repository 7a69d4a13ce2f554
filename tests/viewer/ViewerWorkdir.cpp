#include "ViewerWorkdir.h"

#include "SampleFigure.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

fs::path uniqueWorkdir() {
    static int count = 0;
    return fs::temp_directory_path() /
           ("velmora-test-" + std::to_string(getpid()) + "-" + std::to_string(++count));
}

} // namespace

ViewerWorkdir::ViewerWorkdir(const std::string& resourceSections)
    : previous(fs::current_path()), workdir(uniqueWorkdir()) {
    fs::remove_all(workdir);
    fs::copy(VELMORA_DATA_DIR, workdir, fs::copy_options::recursive);
    fs::create_directory(workdir / "models");
    run(std::string(WRITE_TEST_MODELS) + " " + (workdir / "models").string());
    std::ifstream shipped(workdir / "resources.cfg");
    std::string guiSection, line;
    while (std::getline(shipped, line) && line != "[Models]")
        guiSection += line + "\n";
    std::ofstream(workdir / "resources.cfg") << guiSection << resourceSections;
    fs::current_path(workdir);
}

ViewerWorkdir::~ViewerWorkdir() {
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(workdir, ignored);
}

void writeConvertedFigure(const fs::path& folder) {
    const fs::path source = folder / "source";
    fs::create_directories(source);
    writeSampleModel(makeSampleFigure(), source.string());
    run(std::string(TARNWICK) + " " + (source / "figure.skm").string() + " " +
        (folder / "figure.mesh").string() + " >/dev/null");
    for (const auto& file : fs::directory_iterator(source))
        if (file.path().extension() == ".tga")
            fs::copy(file.path(), folder / file.path().filename());
    fs::remove_all(source);
}

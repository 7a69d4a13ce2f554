#include "ViewerWorkdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

void enterViewerWorkdir(const std::string& resourceSections) {
    const fs::path workdir =
        fs::temp_directory_path() / ("velmora-test-" + std::to_string(getpid()));
    fs::remove_all(workdir);
    fs::copy(VELMORA_DATA_DIR, workdir, fs::copy_options::recursive);
    fs::create_directory(workdir / "models");
    const std::string writer = std::string(WRITE_TEST_MODELS) + " " + (workdir / "models").string();
    if (std::system(writer.c_str()) != 0)
        throw std::runtime_error("cannot write the test models");
    std::ifstream shipped(workdir / "resources.cfg");
    std::string guiSection, line;
    while (std::getline(shipped, line) && line != "[Models]")
        guiSection += line + "\n";
    std::ofstream(workdir / "resources.cfg") << guiSection << resourceSections;
    fs::current_path(workdir);
}

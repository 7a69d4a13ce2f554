#include "FuzzHarness.h"

#include "Resources.h"

#include <OgrePass.h>
#include <OgreResourceGroupManager.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Scratch files go to memory where the system offers it: the targets write one per input.
std::string makeScratchFolder() {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "tarnwick-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder under " + base.string());
    }
    return pattern;
}

} // namespace

// The engine's log would grow by a few lines per input, millions of times over.
FuzzHarness::FuzzHarness() : scratch(makeScratchFolder()), headless("") {
    Ogre::LogManager::getSingleton().setLogDetail(Ogre::LL_LOW);
}

FuzzHarness::~FuzzHarness() {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
}

FuzzHarness& FuzzHarness::instance() {
    static FuzzHarness harness;
    return harness;
}

std::string FuzzHarness::scratchPath(const std::string& name) const {
    return scratch + "/" + name;
}

std::string FuzzHarness::writeScratchFile(const std::string& name, const uint8_t* data,
                                          std::size_t size) {
    const std::string path = scratchPath(name);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!file.flush()) {
        throw std::logic_error("cannot write the scratch file " + path);
    }
    return path;
}

void FuzzHarness::releaseResources() {
    Ogre::ResourceGroupManager::getSingleton().clearResourceGroup(conversionGroup);
    // Removed passes wait for the next rendered frame to be deleted, and none is rendered here.
    Ogre::Pass::processPendingPassUpdates();
    headless.materialSerializer().clearQueue();
}

#pragma once

#include "HeadlessEngine.h"

#include <OgreException.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

// What every fuzz target shares within one process: the engine's headless objects, set up on
// first use, and a scratch folder for the files that the importers read and write by path.
class FuzzHarness {
public:
    static FuzzHarness& instance();

    HeadlessEngine& engine() { return headless; }

    // The path of the scratch file of that name; writeScratchFile also fills it with the bytes.
    std::string scratchPath(const std::string& name) const;
    std::string writeScratchFile(const std::string& name, const uint8_t* data, std::size_t size);

    // Drops every resource and material name an input left behind, so that each input starts
    // from the state a fresh run starts from.
    void releaseResources();

private:
    FuzzHarness();
    ~FuzzHarness();

    std::string scratch;
    HeadlessEngine headless;
};

// Runs a conversion step as the program's run does, where an engine error or a file error
// ends the run with a message: those are answers, not findings. Anything else escapes.
template <typename Step> void asTheRunDoes(Step step) {
    try {
        step();
    } catch (const Ogre::Exception&) {
    } catch (const std::runtime_error&) {
    }
}

// One fuzz input: written as the scratch file of that name, whose path convert(harness, path)
// takes through the import as the run does; then everything it created is dropped.
template <typename Convert>
int fuzzOneInput(const char* fileName, const uint8_t* data, std::size_t size, Convert convert) {
    FuzzHarness& harness = FuzzHarness::instance();
    const std::string path = harness.writeScratchFile(fileName, data, size);
    asTheRunDoes([&] { convert(harness, path); });
    harness.releaseResources();
    return 0;
}

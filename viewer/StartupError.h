#pragma once

#include "FailureDescription.h"

#include <stdexcept>
#include <string>

// A start-up failure whose message names the file or the widget at fault.
class StartupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs `load`, naming `fileName` in whatever failure it raises: the libraries' own messages do
// not always say which file they were reading.
template <typename Load> void whileLoading(const std::string& fileName, Load load) {
    try {
        load();
    } catch (...) {
        throw StartupError(fileName + ": " + describeCurrentException());
    }
}

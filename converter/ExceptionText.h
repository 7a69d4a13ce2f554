#pragma once

#include <OgreException.h>

#include <exception>
#include <string>

// The text an error shows on the console: for the engine's errors their description alone,
// since what() adds the engine's source file and line, which mean nothing to the user.
inline std::string describeException(const std::exception& error) {
    if (const auto* engineError = dynamic_cast<const Ogre::Exception*>(&error)) {
        return engineError->getDescription();
    }
    return error.what();
}

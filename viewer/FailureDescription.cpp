#include "FailureDescription.h"

#include <CEGUI/Exceptions.h>
#include <OgreException.h>

#include <algorithm>

namespace {

std::string messageOfCurrentException() {
    try {
        throw;
    } catch (const Ogre::Exception& error) {
        return error.getDescription();
    } catch (const CEGUI::Exception& error) {
        return error.getMessage().c_str();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown failure";
    }
}

} // namespace

std::string describeCurrentException() {
    std::string message = messageOfCurrentException();
    std::replace(message.begin(), message.end(), '\n', ' ');
    return message;
}

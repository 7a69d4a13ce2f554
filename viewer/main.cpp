#include "MyApplication.h"
#include "X11Session.h"

#include <CEGUI/Exceptions.h>
#include <OgreException.h>

#include <iostream>
#include <memory>

namespace {

int reportFailure(const std::string& message) {
    std::cerr << "Velmora: " << message << '\n';
    return 1;
}

// Called from a handler while the application still exists: an exception thrown inside an
// engine plug-in must be read before the root unloads the plug-in's code.
std::string describeCurrentException() {
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

int main() {
    X11Session display;
    if (!display.isOpen())
        return reportFailure("cannot open the X display \"" + display.name() + "\"");
    std::unique_ptr<MyApplication> application;
    try {
        application = std::make_unique<MyApplication>();
        application->run();
        return 0;
    } catch (...) {
        return reportFailure(describeCurrentException());
    }
}

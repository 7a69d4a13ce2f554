#pragma once

#include <string>

// The message of the exception being handled, on one line, whichever library threw it. Call it
// from a handler while the engine's plug-ins are still loaded: an exception thrown inside a
// plug-in cannot be read once the plug-in's code is gone.
std::string describeCurrentException();

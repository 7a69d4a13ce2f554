#pragma once

#include <string>

// A fresh working directory for the viewer: its data files, a "resources.cfg" whose sections
// are the given text, and the test models written into the folder "models". The process moves
// into it, since the viewer reads everything from its working directory.
void enterViewerWorkdir(const std::string& resourceSections);

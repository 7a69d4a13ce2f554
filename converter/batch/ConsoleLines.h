#pragma once

#include <string>
#include <vector>

// The lines a conversion wrote on its console, sorted for the report: warnings, and the lines
// that tell why it failed. Progress lines ("Reading bones from file:…") are left out.
struct ConsoleLines {
    std::vector<std::string> warnings;
    std::vector<std::string> errors;
};

ConsoleLines sortConsoleLines(const std::string& console);

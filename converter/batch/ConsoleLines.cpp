#include "ConsoleLines.h"

#include <sstream>

namespace {

// The skeleton import ends its result without a line break; what follows starts a new line.
const char* const unbrokenEndings[] = {"Importing Skeleton Success!", "Importing Skeleton Failed!"};

const char* const progressStarts[] = {"Reading bones from file:", "Mesh contains ",
                                      "Reading bones - success.", "Importing Skeleton Success!"};

std::string breakUnbrokenLines(std::string text) {
    for (const std::string ending : unbrokenEndings) {
        for (std::size_t at = text.find(ending); at != std::string::npos;
             at = text.find(ending, at + ending.size() + 1)) {
            text.insert(at + ending.size(), "\n");
        }
    }
    return text;
}

std::string trimmed(const std::string& line) {
    const char* const blanks = " \t\r";
    const std::size_t first = line.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

bool isProgress(const std::string& line) {
    for (const std::string start : progressStarts) {
        if (line.compare(0, start.size(), start) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

ConsoleLines sortConsoleLines(const std::string& console) {
    ConsoleLines sorted;
    std::istringstream lines(breakUnbrokenLines(console));
    std::string line;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.empty() || isProgress(line)) {
            continue;
        }
        (line.find("Warning:") != std::string::npos ? sorted.warnings : sorted.errors)
            .push_back(line);
    }
    return sorted;
}

#pragma once

#include <string>
#include <vector>

// What one run of the real Tarnwick binary left behind.
struct ConverterRun {
    int exitStatus = -1; // the signal number plus 128 when a signal ended it
    std::string output;  // standard output
    std::string errors;  // standard error
};

// A fresh, empty directory under the system's temporary folder, removed with the object.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return directory; }
    std::string operator/(const std::string& name) const { return directory + "/" + name; }

private:
    std::string directory;
};

// Runs Tarnwick in workingDirectory with the arguments and standard input given, under a
// time limit (seconds) and an address-space limit (bytes).
ConverterRun runTarnwick(const std::string& workingDirectory,
                         const std::vector<std::string>& arguments, const std::string& input = "",
                         int timeLimit = 20, long long addressSpaceLimit = 1LL << 30);

// The same, with Tarnwick started by a launcher: a command that runs the rest of its command
// line, such as one that changes the user.
ConverterRun runTarnwickBehind(const std::vector<std::string>& launcher,
                               const std::string& workingDirectory,
                               const std::vector<std::string>& arguments,
                               const std::string& input = "", int timeLimit = 20,
                               long long addressSpaceLimit = 1LL << 30);

std::string readFileText(const std::string& path);
bool fileExists(const std::string& path);
std::vector<std::string> filesIn(const std::string& directory);

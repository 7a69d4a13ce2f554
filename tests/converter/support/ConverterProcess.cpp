#include "ConverterProcess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace fs = std::filesystem;

TemporaryDirectory::TemporaryDirectory() {
    std::string pattern = (fs::temp_directory_path() / "tarnwick-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    directory = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    fs::permissions(directory, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(directory, ignored);
}

namespace {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNWICK_UNDER_ADDRESS_SANITIZER
#endif
#endif

// The shell command that caps the converter's memory. AddressSanitizer reserves terabytes of
// address space for its shadow memory, so under it the cap goes on the resident set instead.
std::string memoryLimit(long long bytes) {
#ifdef TARNWICK_UNDER_ADDRESS_SANITIZER
    return "export ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}hard_rss_limit_mb=" +
           std::to_string(bytes >> 20) + "\"";
#else
    return "ulimit -v " + std::to_string(bytes >> 10);
#endif
}

} // namespace

ConverterRun runTarnwick(const std::string& workingDirectory,
                         const std::vector<std::string>& arguments, const std::string& input,
                         int timeLimit, long long addressSpaceLimit) {
    return runTarnwickBehind({}, workingDirectory, arguments, input, timeLimit, addressSpaceLimit);
}

ConverterRun runTarnwickBehind(const std::vector<std::string>& launcher,
                               const std::string& workingDirectory,
                               const std::vector<std::string>& arguments, const std::string& input,
                               int timeLimit, long long addressSpaceLimit) {
    TemporaryDirectory capture;
    std::ofstream(capture / "stdin", std::ios::binary) << input;
    std::ostringstream command;
    command << "cd " << shellQuoted(workingDirectory) << " && " << memoryLimit(addressSpaceLimit)
            << " && timeout -s KILL " << timeLimit;
    for (const std::string& word : launcher) {
        command << " " << shellQuoted(word);
    }
    command << " " << shellQuoted(TARNWICK_PATH);
    for (const std::string& argument : arguments) {
        command << " " << shellQuoted(argument);
    }
    command << " <" << shellQuoted(capture / "stdin") << " >" << shellQuoted(capture / "stdout")
            << " 2>" << shellQuoted(capture / "stderr");
    const int status = std::system(("bash -c " + shellQuoted(command.str())).c_str());
    ConverterRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.output = readFileText(capture / "stdout");
    run.errors = readFileText(capture / "stderr");
    return run;
}

std::string readFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) {
    return fs::exists(path);
}

std::vector<std::string> filesIn(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

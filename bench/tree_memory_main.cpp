// tree_memory <command> [arguments…]: runs the command, its output to /dev/null, and prints the
// peak of the summed resident set sizes of it and all its descendants in KiB, sampled every
// 5 ms: the memory a command that forks workers takes as a whole, which no single process's
// peak shows.

#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct ProcessEntry {
    pid_t parent = 0;
    long residentKib = 0;
};

std::map<pid_t, ProcessEntry> processes() {
    std::map<pid_t, ProcessEntry> found;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        const pid_t pid = std::atoi(entry->d_name);
        if (pid <= 0) {
            continue;
        }
        std::ifstream status("/proc/" + std::string(entry->d_name) + "/status");
        std::string line;
        ProcessEntry process;
        while (std::getline(status, line)) {
            std::istringstream fields(line);
            std::string key;
            fields >> key;
            if (key == "PPid:") {
                fields >> process.parent;
            } else if (key == "VmRSS:") {
                fields >> process.residentKib;
            }
        }
        found[pid] = process;
    }
    if (proc) {
        closedir(proc);
    }
    return found;
}

long treeResidentKib(pid_t root) {
    const std::map<pid_t, ProcessEntry> all = processes();
    long total = 0;
    for (const auto& [pid, process] : all) {
        for (pid_t ancestor = pid; ancestor > 1;) {
            if (ancestor == root) {
                total += process.residentKib;
                break;
            }
            const auto up = all.find(ancestor);
            ancestor = up == all.end() ? 0 : up->second.parent;
        }
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tree_memory <command> [arguments...]\n");
        return 2;
    }
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull < 0 || dup2(devNull, STDOUT_FILENO) < 0) {
            _exit(126);
        }
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    long peak = 0;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        peak = std::max(peak, treeResidentKib(child));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::printf("%ld\n", peak);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

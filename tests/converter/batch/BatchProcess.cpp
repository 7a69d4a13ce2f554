#include "BatchProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

BatchProcess::BatchProcess(const std::string& workingDirectory,
                           const std::vector<std::string>& arguments) {
    const std::string output = capture / "stdout";
    const std::string errors = capture / "stderr";
    std::vector<std::string> words = {TARNWICK_BATCH_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot start tarnwick-batch");
    }
    if (child == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || chdir(workingDirectory.c_str()) != 0) {
            _exit(127);
        }
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
}

BatchProcess::~BatchProcess() {
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
}

std::string BatchProcess::errorsSoFar() const {
    return readFileText(capture / "stderr");
}

ConverterRun BatchProcess::wait(int timeLimit) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(timeLimit);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > giveUp) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ended = true;
    ConverterRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.output = readFileText(capture / "stdout");
    run.errors = readFileText(capture / "stderr");
    return run;
}

ConverterRun runBatchTool(const std::string& workingDirectory,
                          const std::vector<std::string>& arguments) {
    return BatchProcess(workingDirectory, arguments).wait();
}

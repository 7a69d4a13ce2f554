#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

// One line on a terminal, redrawn in place: models done of all, failed so far, models per
// second and the time left. Lines printed through it go above the progress line. When not
// shown, only those lines are printed.
class ProgressLine {
public:
    ProgressLine(std::ostream& terminal, bool shown, std::size_t total, std::size_t alreadyDone);

    void modelDone(bool failed);
    void print(const std::string& line);
    // Redrawn at most a few times a second.
    void tick();
    void finish();

private:
    void draw();
    void clear();

    std::ostream& terminal;
    bool shown;
    std::size_t total;
    std::size_t done;
    std::size_t processed = 0; // by the workers, in this run
    std::size_t failed = 0;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point drawn;
};

// The progress line goes to standard error, and only when it is a terminal.
bool progressWanted(bool quiet);

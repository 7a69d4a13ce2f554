#include "ProgressLine.h"

#include <cstdio>
#include <iomanip>
#include <sstream>
#include <unistd.h>

namespace {

constexpr auto redrawInterval = std::chrono::milliseconds(200);

} // namespace

ProgressLine::ProgressLine(std::ostream& terminal, bool shown, std::size_t total,
                           std::size_t alreadyDone)
    : terminal(terminal), shown(shown), total(total), done(alreadyDone) {
    draw();
}

void ProgressLine::modelDone(bool modelFailed) {
    ++done;
    ++processed;
    failed += modelFailed ? 1 : 0;
    draw();
}

void ProgressLine::print(const std::string& line) {
    clear();
    terminal << line << "\n";
    draw();
}

void ProgressLine::tick() {
    if (std::chrono::steady_clock::now() - drawn >= redrawInterval) {
        draw();
    }
}

void ProgressLine::finish() {
    clear();
    shown = false;
}

void ProgressLine::draw() {
    if (!shown) {
        return;
    }
    drawn = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(drawn - start).count();
    const double perSecond = seconds > 0 ? processed / seconds : 0;
    std::ostringstream line;
    line << "\r\033[K" << done << "/" << total << " models, " << failed << " failed";
    if (perSecond > 0) {
        line << ", " << std::fixed << std::setprecision(1) << perSecond << " models/s, "
             << std::setprecision(0) << (total - done) / perSecond << " s left";
    }
    terminal << line.str() << std::flush;
}

void ProgressLine::clear() {
    if (shown) {
        terminal << "\r\033[K";
    }
}

bool progressWanted(bool quiet) {
    return !quiet && isatty(STDERR_FILENO);
}

#pragma once

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

enum class Severity { progress, warning, error };

// Where an entry stands on Tarnwick's console, which people and their scripts have always read
// in this shape.
enum class Placement {
    line,      // the text, then a line break
    step,      // a tab, the text, a line break: a step of the line before
    spaced,    // a blank, the text, a line break
    open,      // the text alone: what follows goes on the same line
    freshLine, // a line break, the text, a line break: on a line of its own whatever came before
    unshown,   // not on the console, which has always said it in other words; for programs
};

// One thing a conversion reports, with its fixed text: the message alone, without the indent
// or the line break of its console line.
struct Diagnostic {
    Severity severity;
    std::string text;
    Placement placement = Placement::line;
};

bool operator==(const Diagnostic& a, const Diagnostic& b);

// The parts written one after another as a stream writes them, numbers included.
template <typename... Parts> std::string textOf(const Parts&... parts) {
    std::ostringstream text;
    (text << ... << parts);
    return text.str();
}

// Where a conversion reports what happens, step by step.
class Diagnostics {
public:
    virtual ~Diagnostics() = default;
    virtual void report(const Diagnostic& entry) = 0;

    void progress(const std::string& text, Placement placement = Placement::line);
    void warning(const std::string& text, Placement placement = Placement::line);
    void error(const std::string& text, Placement placement = Placement::line);
};

// Writes each entry on the console at once, as Tarnwick has always written it.
class ConsoleDiagnostics : public Diagnostics {
public:
    explicit ConsoleDiagnostics(std::ostream& console) : console(console) {}
    void report(const Diagnostic& entry) override;

private:
    std::ostream& console;
};

// Tarnwick's console on standard output.
Diagnostics& standardOutput();

// Keeps the entries in order, to be handed on later.
class DiagnosticList : public Diagnostics {
public:
    void report(const Diagnostic& entry) override { kept.push_back(entry); }
    const std::vector<Diagnostic>& entries() const { return kept; }
    void passOn(Diagnostics& to) const;

private:
    std::vector<Diagnostic> kept;
};

#include "Diagnostics.h"

#include <iostream>

bool operator==(const Diagnostic& a, const Diagnostic& b) {
    return a.severity == b.severity && a.text == b.text && a.placement == b.placement;
}

void Diagnostics::progress(const std::string& text, Placement placement) {
    report({Severity::progress, text, placement});
}

void Diagnostics::warning(const std::string& text, Placement placement) {
    report({Severity::warning, text, placement});
}

void Diagnostics::error(const std::string& text, Placement placement) {
    report({Severity::error, text, placement});
}

void ConsoleDiagnostics::report(const Diagnostic& entry) {
    switch (entry.placement) {
    case Placement::line:
        console << entry.text << "\n";
        break;
    case Placement::step:
        console << "\t" << entry.text << "\n";
        break;
    case Placement::spaced:
        console << " " << entry.text << "\n";
        break;
    case Placement::open:
        // Flushed, since no line break will carry it out soon.
        console << entry.text << std::flush;
        break;
    case Placement::freshLine:
        console << "\n" << entry.text << "\n";
        break;
    case Placement::unshown:
        break;
    }
}

Diagnostics& standardOutput() {
    static ConsoleDiagnostics console(std::cout);
    return console;
}

void DiagnosticList::passOn(Diagnostics& to) const {
    for (const Diagnostic& entry : kept) {
        to.report(entry);
    }
}

#pragma once

#include "Diagnostics.h"

#include <iostream>
#include <string>

// Names each material after the MDF file of its SKM record; in interactive mode the user may
// type another name. Warnings go to diagnostics; the questions are asked on prompts and
// answered on standard input.
class MaterialNamer {
public:
    explicit MaterialNamer(bool interactive, Diagnostics& diagnostics = standardOutput(),
                           std::ostream& prompts = std::cout)
        : interactive(interactive), diagnostics(&diagnostics), prompts(&prompts) {}

    std::string operator()(const std::string& mdfPath) const;

private:
    bool interactive;
    Diagnostics* diagnostics;
    std::ostream* prompts;
};

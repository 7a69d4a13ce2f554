#pragma once

#include <iostream>
#include <string>

// Names each material after the MDF file of its SKM record; in interactive mode the user may
// type another name. Warnings and prompts go to console.
class MaterialNamer {
public:
    explicit MaterialNamer(bool interactive, std::ostream& console = std::cout)
        : interactive(interactive), console(&console) {}

    std::string operator()(const std::string& mdfPath) const;

private:
    bool interactive;
    std::ostream* console;
};

#pragma once

#include <boost/function.hpp>

#include <iostream>
#include <string>
#include <vector>

// Filled by the naming callback during the mesh import, one entry per SKM material record:
// the material name returned and the MDF file (no directory) to convert under that name.
extern std::vector<std::string> materialNames;
extern std::vector<std::string> materialFiles;

// The MDF file that a material record names, as it is looked for beside the SKM: the path's
// base name and extension, ".mdf" when it has none.
std::string mdfFileName(const std::string& mdfPath);

// Names each material after its MDF file; in interactive mode the user may type another name.
// The name returned for the mesh is empty (no material) when no material script can hold the
// name; the lists keep it as it was given.
// Warnings and prompts go to console.
class MaterialNamer {
public:
    explicit MaterialNamer(bool interactive, std::ostream& console = std::cout)
        : interactive(interactive), console(&console) {}

    std::string operator()(const std::string& mdfPath) const;

private:
    bool interactive;
    std::ostream* console;
};

using NamingCallback = boost::function<std::string(const std::string&)>;

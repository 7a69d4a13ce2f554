#pragma once

#include <optional>
#include <string>

// How a material name is spelled after the keyword "material" so that the engine's script
// compiler reads back exactly that name. A name without blanks, braces, colons or '$' that
// does not open a quote or a comment stands as it is, as the engine's own serializer writes it;
// any other name goes between double quotes, with '\' in front of each quote inside.
// Nothing when no spelling holds the name: an empty name; a line break, a NUL, or a carriage
// return at the end, which a .mesh file cannot hold in a name (its reader ends a name at the
// first two and drops the last); and, where quotes are needed, a '\' at the end or in front of
// another
// '\' or a quote, since inside quotes the compiler folds runs of '\' into one and drops them
// before a quote.
std::optional<std::string> scriptSpelling(const std::string& name);

// The name for a console line: control characters shown as \xNN.
std::string printableName(const std::string& name);

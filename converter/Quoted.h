#pragma once

#include <string>

// A name as the console's messages show it: between double quotes, as stored.
inline std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

#include "ScriptName.h"

#include <cstdio>

namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool standsUnquoted(const std::string& name) {
    return name.find_first_of("{}$: \t\r\n") == std::string::npos && !startsWith(name, "\"") &&
           !startsWith(name, "//") && !startsWith(name, "/*");
}

bool survivesQuotes(const std::string& name) {
    return name.back() != '\\' && name.find("\\\\") == std::string::npos &&
           name.find("\\\"") == std::string::npos;
}

} // namespace

std::optional<std::string> scriptSpelling(const std::string& name) {
    if (name.empty() || name.find_first_of(std::string("\n\0", 2)) != std::string::npos ||
        name.back() == '\r') {
        return std::nullopt;
    }
    if (standsUnquoted(name)) {
        return name;
    }
    if (!survivesQuotes(name)) {
        return std::nullopt;
    }
    std::string spelling = "\"";
    for (char c : name) {
        if (c == '"') {
            spelling += '\\';
        }
        spelling += c;
    }
    return spelling + "\"";
}

std::string printableName(const std::string& name) {
    std::string printable;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            printable += escaped;
        } else {
            printable += c;
        }
    }
    return printable;
}

#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

// A JSON array kept as text. A model's accessors and animation channels run to tens of
// thousands of small, plain elements; as JSON values they would cost more time to build, dump
// and free than the data they describe.
class JsonList {
public:
    // Appends one element, given as JSON text; returns its index.
    int add(const std::string& element);
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    // The array: "[" elements "]".
    std::string text() const { return "[" + elements + "]"; }

private:
    std::string elements;
    std::size_t count = 0;
};

// JSON text of a value. Names from the game's files may be in a Windows code page rather than
// UTF-8, which JSON requires: bytes that are no UTF-8 become U+FFFD.
std::string jsonText(const nlohmann::json& value);

// The document's JSON text with the non-empty lists added as members of those names.
std::string jsonWithLists(const nlohmann::json& document,
                          const std::vector<std::pair<const char*, const JsonList*>>& lists);

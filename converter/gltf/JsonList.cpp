#include "JsonList.h"

#include <cstring>

void JsonList::appendTo(std::string& text) const {
    text += '[';
    text += elements;
    text += ']';
}

std::string jsonText(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string jsonWithLists(const nlohmann::json& document,
                          const std::vector<std::pair<const char*, const JsonList*>>& lists) {
    std::string text = jsonText(document);
    std::size_t size = text.size();
    for (const auto& [name, list] : lists) {
        size += std::strlen(name) + list->textSize() + 4;
    }
    text.reserve(size);
    text.pop_back(); // the closing brace
    for (const auto& [name, list] : lists) {
        if (!list->empty()) {
            text += text.size() > 1 ? ",\"" : "\"";
            text += name;
            text += "\":";
            list->appendTo(text);
        }
    }
    text += '}';
    return text;
}

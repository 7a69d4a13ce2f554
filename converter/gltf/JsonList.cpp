#include "JsonList.h"

int JsonList::add(const std::string& element) {
    if (count > 0) {
        elements += ',';
    }
    elements += element;
    return static_cast<int>(count++);
}

std::string jsonText(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string jsonWithLists(const nlohmann::json& document,
                          const std::vector<std::pair<const char*, const JsonList*>>& lists) {
    std::string text = jsonText(document);
    text.pop_back(); // the closing brace
    for (const auto& [name, list] : lists) {
        if (!list->empty()) {
            text += (text.size() > 1 ? ",\"" : "\"") + std::string(name) + "\":" + list->text();
        }
    }
    return text + "}";
}

#include "TextureLookup.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> pathComponents(const std::string& path) {
    std::vector<std::string> components;
    std::string component;
    for (const char c : path + '/') {
        if (c != '/' && c != '\\') {
            component += c;
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
            component.clear();
        } else {
            component.clear();
        }
    }
    return components;
}

bool climbsOrIsAbsolute(const std::string& path, const std::vector<std::string>& components) {
    const bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\');
    const bool drive = path.size() >= 2 && path[1] == ':';
    return absolute || drive ||
           std::find(components.begin(), components.end(), "..") != components.end();
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::optional<std::string> TextureLookup::find(const std::string& texturePath,
                                               const std::string& mdfFolder) {
    const std::vector<std::string> components = pathComponents(texturePath);
    if (components.empty()) {
        return std::nullopt;
    }
    if (!climbsOrIsAbsolute(texturePath, components)) {
        if (std::optional<std::string> found = findUnder(dataRoot, components)) {
            return found;
        }
    }
    return findUnder(mdfFolder, {components.back()});
}

std::optional<std::string> TextureLookup::findUnder(const std::string& folder,
                                                    const std::vector<std::string>& components) {
    std::string path = folder;
    for (const std::string& component : components) {
        const std::optional<std::string> entry = entryNamed(path, component);
        if (!entry) {
            return std::nullopt;
        }
        path = (fs::path(path) / *entry).string();
    }
    std::error_code error;
    return fs::is_regular_file(path, error) ? std::optional<std::string>(path) : std::nullopt;
}

std::optional<std::string> TextureLookup::entryNamed(const std::string& folder,
                                                     const std::string& name) {
    const std::vector<std::string>& entries = listing(folder);
    if (std::binary_search(entries.begin(), entries.end(), name)) {
        return name;
    }
    const auto match = std::find_if(entries.begin(), entries.end(), [&](const std::string& entry) {
        return equalIgnoringCase(entry, name);
    });
    return match == entries.end() ? std::nullopt : std::optional<std::string>(*match);
}

std::vector<std::string> TextureLookup::entriesInAnyCase(const std::string& folder,
                                                         const std::string& name) {
    std::vector<std::string> matches;
    for (const std::string& entry : listing(folder)) {
        if (equalIgnoringCase(entry, name)) {
            matches.push_back(entry);
        }
    }
    return matches;
}

const std::vector<std::string>& TextureLookup::listing(const std::string& folder) {
    const auto known = listings.find(folder);
    if (known != listings.end()) {
        return known->second;
    }
    std::vector<std::string>& entries = listings[folder];
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path().filename().string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

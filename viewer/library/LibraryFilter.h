#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The part of a library that a filter text leaves: the models whose relative path holds the
// text, ignoring the case of ASCII letters. Models are named by their index in the library's
// list; the matches keep the list's order.
class LibraryFilter {
public:
    explicit LibraryFilter(const std::vector<std::string>& relativePaths);

    // Refilters the whole list: a few microseconds per thousand names.
    void setText(const std::string& text);
    const std::string& text() const { return filterText; }

    const std::vector<std::size_t>& matches() const { return matching; }
    std::size_t total() const { return foldedPaths.size(); }
    // "3 of 2000"
    std::string countText() const;

    // The next and previous match from a model, wrapping around at the ends of the matches, so
    // that N held down cycles through them. From no model, or from one the filter hides, the
    // step goes to the nearest match after (before) its place in the list. None without matches.
    std::optional<std::size_t> next(std::optional<std::size_t> current) const;
    std::optional<std::size_t> previous(std::optional<std::size_t> current) const;

    // Where a model stands among the matches (the row to scroll the list to); none when hidden.
    std::optional<std::size_t> positionOf(std::size_t model) const;

private:
    std::vector<std::string> foldedPaths;
    std::string filterText;
    std::vector<std::size_t> matching;
};

#include "LibraryFilter.h"

#include <algorithm>
#include <functional>

namespace {

// ASCII only: the bytes of other letters in UTF-8 names stay as they are.
std::string foldCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The first match beyond the current model in the matches' order, from the first when none is
// beyond it or there is no current model.
template <typename Iterator, typename Order>
std::optional<std::size_t> stepFrom(Iterator first, Iterator last,
                                    std::optional<std::size_t> current, Order order) {
    if (first == last)
        return std::nullopt;
    if (!current)
        return *first;
    const Iterator beyond = std::upper_bound(first, last, *current, order);
    return beyond == last ? *first : *beyond;
}

} // namespace

LibraryFilter::LibraryFilter(const std::vector<std::string>& relativePaths) {
    foldedPaths.reserve(relativePaths.size());
    std::transform(relativePaths.begin(), relativePaths.end(), std::back_inserter(foldedPaths),
                   foldCase);
    setText("");
}

void LibraryFilter::setText(const std::string& text) {
    filterText = text;
    const std::string folded = foldCase(text);
    matching.clear();
    for (std::size_t model = 0; model < foldedPaths.size(); ++model)
        if (foldedPaths[model].find(folded) != std::string::npos)
            matching.push_back(model);
}

std::string LibraryFilter::countText() const {
    return std::to_string(matching.size()) + " of " + std::to_string(total());
}

std::optional<std::size_t> LibraryFilter::next(std::optional<std::size_t> current) const {
    return stepFrom(matching.begin(), matching.end(), current, std::less<>());
}

std::optional<std::size_t> LibraryFilter::previous(std::optional<std::size_t> current) const {
    return stepFrom(matching.rbegin(), matching.rend(), current, std::greater<>());
}

std::optional<std::size_t> LibraryFilter::positionOf(std::size_t model) const {
    const auto found = std::lower_bound(matching.begin(), matching.end(), model);
    if (found == matching.end() || *found != model)
        return std::nullopt;
    return static_cast<std::size_t>(found - matching.begin());
}

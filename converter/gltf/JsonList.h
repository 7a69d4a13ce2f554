#pragma once

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// A JSON array kept as text. A model's accessors and animation channels run to tens of
// thousands of small, plain elements; as JSON values they would cost more time to build, dump
// and free than the data they describe.
class JsonList {
public:
    // Starts the next element with the pieces of its JSON text (texts, integers and other
    // lists, written straight into this one); returns its index. append adds further pieces to
    // it.
    template <typename... Pieces> int add(const Pieces&... pieces) {
        if (count > 0) {
            elements += ',';
        }
        append(pieces...);
        return static_cast<int>(count++);
    }

    // The element's text is written in one go into room made for its longest spelling: piece
    // by piece, the string's bookkeeping would cost more than the copying.
    template <typename... Pieces> void append(const Pieces&... pieces) {
        const std::size_t start = elements.size();
        elements.resize(start + (longestText(pieces) + ...));
        char* end = elements.data() + start;
        ((end = write(end, pieces)), ...);
        elements.resize(static_cast<std::size_t>(end - elements.data()));
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    // The length of the array's text.
    std::size_t textSize() const { return elements.size() + 2; }
    // Appends the array, "[" elements "]", to the text.
    void appendTo(std::string& text) const;

private:
    static constexpr std::size_t longestInteger = 24;

    template <typename Piece> static std::size_t longestText(const Piece& piece) {
        if constexpr (std::is_same_v<Piece, JsonList>) {
            return piece.textSize();
        } else if constexpr (std::is_integral_v<Piece>) {
            return longestInteger;
        } else {
            return std::string_view(piece).size();
        }
    }

    // Writes the piece's text at the destination; returns the end of what was written.
    template <typename Piece> static char* write(char* destination, const Piece& piece) {
        if constexpr (std::is_same_v<Piece, JsonList>) {
            *destination = '[';
            destination = std::copy(piece.elements.begin(), piece.elements.end(), destination + 1);
            *destination = ']';
            return destination + 1;
        } else if constexpr (std::is_integral_v<Piece>) {
            return std::to_chars(destination, destination + longestInteger, piece).ptr;
        } else {
            const std::string_view text(piece);
            return std::copy(text.begin(), text.end(), destination);
        }
    }

    std::string elements;
    std::size_t count = 0;
};

// JSON text of a value. Names from the game's files may be in a Windows code page rather than
// UTF-8, which JSON requires: bytes that are no UTF-8 become U+FFFD.
std::string jsonText(const nlohmann::json& value);

// The document's JSON text with the non-empty lists added as members of those names.
std::string jsonWithLists(const nlohmann::json& document,
                          const std::vector<std::pair<const char*, const JsonList*>>& lists);

#pragma once

#include <nlohmann/json.hpp>

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

    template <typename... Pieces> void append(const Pieces&... pieces) {
        (appendPiece(pieces), ...);
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    // Appends the array, "[" elements "]", to the text.
    void appendTo(std::string& text) const;

private:
    template <typename Piece> void appendPiece(const Piece& piece) {
        if constexpr (std::is_same_v<Piece, JsonList>) {
            piece.appendTo(elements);
        } else if constexpr (std::is_integral_v<Piece>) {
            char digits[24];
            const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, piece);
            elements.append(digits, end.ptr);
        } else {
            elements += std::string_view(piece);
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

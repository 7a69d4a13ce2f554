#include "SameContent.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

bool sameContent(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error)) {
        return true;
    }
    // The two sizes are read in an order of the compiler's choosing, each with its own error.
    std::error_code errorOfA;
    std::error_code errorOfB;
    if (fs::file_size(a, errorOfA) != fs::file_size(b, errorOfB) || errorOfA || errorOfB) {
        return false;
    }
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(second));
}

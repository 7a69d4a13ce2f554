#pragma once

#include <string>

// True when both paths name one file, or two files of the same bytes; false when either cannot
// be read.
bool sameContent(const std::string& a, const std::string& b);

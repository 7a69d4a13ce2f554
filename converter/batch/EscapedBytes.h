#pragma once

#include <string>

// JSON text holds UTF-8 only, but a file name may hold any bytes: those of a Latin-1 folder name
// from a game's tree, for one. The batch's own files and messages carry names as ASCII text in
// which '%' and every byte from 0x80 up are written "%XX"; text without '%' reads back as itself.
std::string escapeBytes(const std::string& bytes);
std::string unescapeBytes(const std::string& text);

// Small helpers for file paths and the ASCII names the game compares: file
// names, extensions, section and key names. Case is folded for ASCII
// letters only, whatever the locale, so that "Bild.AST" and "bild.ast" match
// on every system and bytes of UTF-8 names are never touched.
#pragma once

#include <string>
#include <string_view>

namespace varlo {

char AsciiLower(char c);
std::string AsciiLower(std::string_view s);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
bool LessIgnoreAsciiCase(std::string_view a, std::string_view b);
// path ends with lowerExt (given in lower case, with its dot), in any case.
bool HasExtension(std::string_view path, std::string_view lowerExt);

// A regular file (or a link to one) is there; false for an empty path and
// on any error.
bool IsRegularFile(const std::string& path);
// Anything is there under the name.
bool PathExists(const std::string& path);

}  // namespace varlo

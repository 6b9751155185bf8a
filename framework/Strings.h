#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/Core.h"

namespace fw {

// Texts are UTF-8. Positions and lengths count characters (code points), 1-based like the
// program's string functions.
std::string Str(Int32 value);
// The number written at the start of the text (after leading blanks); 0 when there is none.
double Val(const std::string& text);
std::string Mid(const std::string& text, Int32 start);
std::string Mid(const std::string& text, Int32 start, Int32 length);
std::string Lowercase(const std::string& text);
// The first occurrence of find, letter case ignored; the text unchanged when find is absent.
std::string Replace(const std::string& text, const std::string& find, const std::string& with);
// Every occurrence of find, exactly as written.
std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& with);
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
// Whether a text holds ASCII alone; such a text ignores case as its lower-case bytes do, which
// spares the conversions where texts are compared by the hundred thousand.
bool IsAscii(std::string_view text);
// A text with A to Z in lower case and every other byte unchanged.
std::string AsciiLowercase(std::string_view text);
// The number of bytes at the start of both texts that are the same.
std::size_t CommonPrefixLength(std::string_view a, std::string_view b);
// The order of two texts as their AsciiLowercase forms compare bytewise (-1, 0 or 1), without
// making them.
int CompareAsciiLowercase(std::string_view a, std::string_view b);
// The pieces between separators, empty ones included: "a,,b" gives "a", "", "b".
std::vector<std::string> Split(const std::string& text, char separator);

}  // namespace fw

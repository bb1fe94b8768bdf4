// Conversion between Windows-1252 and UTF-8, and the UTF-8 validity check.
#pragma once

#include <string>
#include <string_view>

namespace kurvex {

// Every byte maps to one character; the five bytes that Windows-1252 leaves undefined map to the
// control characters of the same number, so that any byte text survives a round trip.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Characters without a Windows-1252 byte become '?'; invalid UTF-8 sequences too.
std::string Utf8ToCp1252(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Decodes the next code point of well-formed UTF-8 at pos and moves pos behind it; an invalid
// sequence yields U+FFFD and moves pos by one byte.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

} // namespace kurvex

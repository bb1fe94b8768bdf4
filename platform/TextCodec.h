// Conversion between Windows-1252, UTF-8 and UTF-16, and the UTF-8 validity check.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kurvex {

// Every byte maps to one character; the five bytes that Windows-1252 leaves undefined map to the
// control characters of the same number, so that any byte text survives a round trip.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Characters without a Windows-1252 byte become '?'; invalid UTF-8 sequences too.
std::string Utf8ToCp1252(std::string_view utf8);

// True when every character has a Windows-1252 byte, so Utf8ToCp1252 puts no '?' in.
bool FitsCp1252(std::string_view utf8);

// Keeps the well-formed UTF-8 sequences and reads every other byte as Windows-1252, so one stray
// byte does not change how the rest is read. multiByteUtf8 tells whether a well-formed sequence of
// more than one byte occurred (the text was written as UTF-8).
std::string Utf8OrCp1252ToUtf8(std::string_view bytes, bool& multiByteUtf8);

// UTF-16 without its byte-order mark; no value when the byte count is odd or a surrogate is unpaired.
std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// UTF-16 without a byte-order mark; invalid UTF-8 sequences become U+FFFD.
std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Decodes the next code point of well-formed UTF-8 at pos and moves pos behind it; an invalid
// sequence yields U+FFFD and moves pos by one byte.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

} // namespace kurvex

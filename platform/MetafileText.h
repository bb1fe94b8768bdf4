// Text encodings a metafile needs: UTF-8 decoding, Windows-1252/1253 bytes and UTF-16 units.
#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kurvex {

// Malformed sequences become U+FFFD, one per offending byte.
std::u32string DecodeUtf8(const std::string& utf8);

std::optional<std::uint8_t> ToCp1252(char32_t c);
std::optional<std::uint8_t> ToCp1253(char32_t c);

// True when the text needs the Greek code page: some character is missing from Windows-1252
// but present in Windows-1253 (π, α, ...).
bool NeedsGreekCodePage(const std::u32string& text);

// One byte per character in the chosen code page; '?' for a character it lacks.
std::string EncodeSingleByte(const std::u32string& text, bool greek);

std::u16string ToUtf16(const std::u32string& text);

// The letters a font of the symbol encoding shows for Latin ones (a is α, p is π, e is ε); other
// characters stay as they are.
char32_t SymbolFontLetter(char32_t c);
std::u32string SymbolFontToUnicode(const std::u32string& text);

} // namespace kurvex

// Text encodings a metafile needs: UTF-8 decoding, Windows-1252/1253 bytes and UTF-16 units.
#include "platform/MetafileText.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace kurvex {

namespace {

// Windows-1253 bytes 0x80..0xBF; 0 marks a byte without a character. From 0xC0 on the code page
// is the Greek block U+0390.. in order, with a hole at 0xD2 and none at 0xFF.
constexpr std::array<char32_t, 64> kCp1253High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0,      0x2039, 0,
    0,      0,      0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0,      0x203A, 0,      0,      0,      0,      0x00A0, 0x0385, 0x0386, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0,      0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x0384, 0x00B5, 0x00B6, 0x00B7, 0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F};

// The symbol encoding's letters for a..z and A..Z.
constexpr std::u32string_view kSymbolLower = U"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
constexpr std::u32string_view kSymbolUpper = U"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";

} // namespace

std::u32string DecodeUtf8(const std::string& utf8)
{
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        out.push_back(NextCodePoint(utf8, pos));
    }
    return out;
}

std::optional<std::uint8_t> ToCp1252(char32_t c)
{
    std::string utf8;
    AppendUtf8(utf8, c);
    const std::string byte = Utf8ToCp1252(utf8);
    if (byte.size() != 1 || (byte[0] == '?' && c != U'?')) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(byte[0]);
}

std::optional<std::uint8_t> ToCp1253(char32_t c)
{
    if (c < 0x80) {
        return static_cast<std::uint8_t>(c);
    }
    if (c >= 0x0390 && c <= 0x03CE && c != 0x03A2) {
        return static_cast<std::uint8_t>(c - 0x0390 + 0xC0);
    }
    for (std::size_t i = 0; i < kCp1253High.size(); ++i) {
        if (kCp1253High[i] != 0 && kCp1253High[i] == c) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

bool NeedsGreekCodePage(const std::u32string& text)
{
    for (const char32_t c : text) {
        if (!ToCp1252(c) && ToCp1253(c)) {
            return true;
        }
    }
    return false;
}

std::string EncodeSingleByte(const std::u32string& text, bool greek)
{
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        const auto b = greek ? ToCp1253(c) : ToCp1252(c);
        out.push_back(static_cast<char>(b.value_or('?')));
    }
    return out;
}

char32_t SymbolFontLetter(char32_t c)
{
    if (c >= U'a' && c <= U'z') {
        return kSymbolLower[c - U'a'];
    }
    if (c >= U'A' && c <= U'Z') {
        return kSymbolUpper[c - U'A'];
    }
    return c;
}

std::u32string SymbolFontToUnicode(const std::u32string& text)
{
    std::u32string out = text;
    for (char32_t& c : out) {
        c = SymbolFontLetter(c);
    }
    return out;
}

std::u16string ToUtf16(const std::u32string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        }
    }
    return out;
}

} // namespace kurvex

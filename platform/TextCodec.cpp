// Conversion between Windows-1252, UTF-8 and UTF-16, and the UTF-8 validity check.
#include "platform/TextCodec.h"

#include <array>

namespace kurvex {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of Windows-1252 equals Latin-1.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed sequence at pos, 0 if there is none.
std::size_t sequenceLength(std::string_view s, std::size_t pos)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = byteAt(pos);
    const std::size_t left = s.size() - pos;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return left >= 2 && isContinuation(byteAt(pos + 1)) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !isContinuation(byteAt(pos + 1)) || !isContinuation(byteAt(pos + 2)))
            return 0;
        const unsigned char c1 = byteAt(pos + 1);
        if (c == 0xE0 && c1 < 0xA0)
            return 0; // overlong
        if (c == 0xED && c1 >= 0xA0)
            return 0; // surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !isContinuation(byteAt(pos + 1)) || !isContinuation(byteAt(pos + 2)) ||
            !isContinuation(byteAt(pos + 3)))
            return 0;
        const unsigned char c1 = byteAt(pos + 1);
        if (c == 0xF0 && c1 < 0x90)
            return 0; // overlong
        if (c == 0xF4 && c1 >= 0x90)
            return 0; // above U+10FFFF
        return 4;
    }
    return 0;
}

int cp1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == cp)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

char32_t NextCodePoint(std::string_view utf8, std::size_t& pos)
{
    const std::size_t len = sequenceLength(utf8, pos);
    if (len == 0) {
        ++pos;
        return kReplacement;
    }
    const auto byteAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(utf8[i]));
    };
    char32_t cp = 0;
    switch (len) {
    case 1:
        cp = byteAt(pos);
        break;
    case 2:
        cp = ((byteAt(pos) & 0x1F) << 6) | (byteAt(pos + 1) & 0x3F);
        break;
    case 3:
        cp = ((byteAt(pos) & 0x0F) << 12) | ((byteAt(pos + 1) & 0x3F) << 6) | (byteAt(pos + 2) & 0x3F);
        break;
    default:
        cp = ((byteAt(pos) & 0x07) << 18) | ((byteAt(pos + 1) & 0x3F) << 12) |
             ((byteAt(pos + 2) & 0x3F) << 6) | (byteAt(pos + 3) & 0x3F);
        break;
    }
    pos += len;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (const char ch : cp1252) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            AppendUtf8(out, kHighTable[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int b = cp1252Byte(NextCodePoint(utf8, pos));
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

bool FitsCp1252(std::string_view utf8)
{
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (sequenceLength(utf8, pos) == 0 || cp1252Byte(NextCodePoint(utf8, pos)) < 0)
            return false;
    }
    return true;
}

std::string Utf8OrCp1252ToUtf8(std::string_view bytes, bool& multiByteUtf8)
{
    multiByteUtf8 = false;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t ascii = pos;
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80)
            ++ascii;
        out.append(bytes, pos, ascii - pos);
        pos = ascii;
        if (pos == bytes.size())
            break;
        const std::size_t len = sequenceLength(bytes, pos);
        if (len == 0) {
            out += Cp1252ToUtf8(bytes.substr(pos, 1));
            ++pos;
            continue;
        }
        multiByteUtf8 = multiByteUtf8 || len > 1;
        out.append(bytes, pos, len);
        pos += len;
    }
    return out;
}

std::optional<std::string> Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t cp = unitAt(i);
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            return std::nullopt;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (i + 2 >= bytes.size())
                return std::nullopt;
            const char32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return std::nullopt;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    const auto appendUnit = [&](char32_t unit) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp < 0x10000) {
            appendUnit(cp);
        } else {
            appendUnit(0xD800 + ((cp - 0x10000) >> 10));
            appendUnit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t len = sequenceLength(bytes, pos);
        if (len == 0)
            return false;
        pos += len;
    }
    return true;
}

} // namespace kurvex

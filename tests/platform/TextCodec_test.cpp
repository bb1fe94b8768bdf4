// Windows-1252, UTF-8 and UTF-16 conversion and the UTF-8 check.
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

namespace kurvex {
namespace {

TEST(TextCodec, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(TextCodec, MapsTheProgramsCharactersAndMarksTheRest)
{
    EXPECT_EQ(Cp1252ToUtf8("Tangentenl\xE4nge \xF0\xD6 \x80\x84\x93 x\xB2"), "Tangentenlänge ðÖ €„“ x²");
    EXPECT_EQ(Utf8ToCp1252("π = 3"), "? = 3");
    EXPECT_EQ(Utf8ToCp1252("a\xE4z"), "a?z"); // a lone Latin-1 byte is not UTF-8
    EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80!"), "?!");
}

TEST(TextCodec, RecognisesWellFormedUtf8Only)
{
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain ASCII", true},
        {"Tangentenlänge", true},
        {"\xF0\x9F\x98\x80", true},
        {"Tangentenl\xE4nge", false}, // Windows-1252
        {"\xC3", false},              // cut short
        {"\xC0\xAF", false},          // overlong
        {"\xE0\x80\xAF", false},      // overlong
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\x80", false},              // stray continuation byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << "bytes of length " << c.bytes.size();
}

TEST(TextCodec, StrayBytesAreWindows1252AndTheRestStaysUtf8)
{
    struct Case {
        std::string bytes;
        std::string utf8;
        bool multiByte;
    };
    const Case cases[] = {
        {"Tangentenlänge x\xB2", "Tangentenlänge x²", true},
        {"Tangentenl\xE4nge", "Tangentenlänge", false},
        {"\x80 und \xE2\x82\xAC", "€ und €", true},
        {"cut short \xC3", "cut short Ã", false},
        {"plain", "plain", false},
    };
    for (const Case& c : cases) {
        bool multiByte = !c.multiByte;
        EXPECT_EQ(Utf8OrCp1252ToUtf8(c.bytes, multiByte), c.utf8);
        EXPECT_EQ(multiByte, c.multiByte) << c.utf8;
    }
}

TEST(TextCodec, Utf16InBothByteOrders)
{
    const std::string text = "aä€😀";
    const std::string little("a\0\xE4\0\xAC\x20\x3D\xD8\x00\xDE", 10);
    const std::string big("\0a\0\xE4\x20\xAC\xD8\x3D\xDE\x00", 10);
    EXPECT_EQ(Utf8ToUtf16(text, false), little);
    EXPECT_EQ(Utf8ToUtf16(text, true), big);
    EXPECT_EQ(Utf16ToUtf8(little, false), text);
    EXPECT_EQ(Utf16ToUtf8(big, true), text);
    const std::string broken[] = {
        std::string("a\0b", 3),     // odd byte count
        std::string("\x3D\xD8", 2), // high surrogate at the end
        std::string("\x3D\xD8"
                    "a\0",
                    4),             // high surrogate without its low one
        std::string("\x00\xDE", 2), // low surrogate alone
    };
    for (const std::string& bytes : broken)
        EXPECT_EQ(Utf16ToUtf8(bytes, false), std::nullopt) << "bytes of length " << bytes.size();
}

TEST(TextCodec, TellsWhetherWindows1252HoldsTheText)
{
    EXPECT_TRUE(FitsCp1252("Grüße, 3 € „x²“"));
    EXPECT_FALSE(FitsCp1252("π"));
    EXPECT_FALSE(FitsCp1252("a\xE4")); // not UTF-8
}

} // namespace
} // namespace kurvex

// Windows-1252 <-> UTF-8 conversion and the UTF-8 check.
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

} // namespace
} // namespace kurvex

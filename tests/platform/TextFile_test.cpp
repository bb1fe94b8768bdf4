// Reading the program's text files: line ends, files that are no text or too large, the causes named.
#include "platform/TextFile.h"

#include "support/TestTempDir.h"

#include <gtest/gtest.h>

namespace kurvex {
namespace {

using test::TempDir;
using test::WriteBytes;
using Lines = std::vector<std::string>;

TEST(TextFile, EveryLineEndEndsALine)
{
    struct Case {
        const char* name;
        const char* bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"CR LF", "x^2\r\nsin(x)\r\n", {"x^2", "sin(x)"}},
        {"LF", "x^2\nsin(x)\n", {"x^2", "sin(x)"}},
        {"CR alone", "x^2\rsin(x)\r", {"x^2", "sin(x)"}},
        {"mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"blank lines kept", "a\r\rb\r\n\r\nc\n\nd", {"a", "", "b", "", "c", "", "d"}},
        {"no line end at the end", "a\rb", {"a", "b"}},
        {"CR then CR LF", "a\r\r\n", {"a", ""}},
        {"empty", "", {}},
    };
    TempDir dir;
    const std::string path = dir.file("Bsp.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, c.bytes);
        const TextFileContent content = ReadTextFile(path);
        EXPECT_EQ(content.cause, "");
        ASSERT_TRUE(content.lines.has_value());
        EXPECT_EQ(*content.lines, c.lines);
    }
}

TEST(TextFile, WhatIsNoTextFileIsRefusedWithItsCause)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        const char* cause;
    };
    const Case cases[] = {
        {"a NUL byte", std::string("a=1\r\n\0", 6), "keine Textdatei oder unbekannte Zeichenkodierung"},
        {"an escape character", "a=1\r\n\x1B[0m", "keine Textdatei oder unbekannte Zeichenkodierung"},
        {"UTF-16 without its mark", test::Utf16Bytes(u"a=1\r\n", false),
         "keine Textdatei oder unbekannte Zeichenkodierung"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("f.txt");
        WriteBytes(path, c.bytes);
        const TextFileContent content = ReadTextFile(path);
        EXPECT_EQ(content.cause, c.cause);
        EXPECT_EQ(content.lines, Lines{});
    }
    // Tabs, form feeds and an old editor's end-of-file mark are text.
    WriteBytes(dir.file("ok.txt"), "a\tb\f\r\n\x1A");
    EXPECT_EQ(ReadTextFile(dir.file("ok.txt")).cause, "");
}

TEST(TextFile, FileAtTheSizeLimitIsReadAndOneByteMoreIsNot)
{
    TempDir dir;
    const std::string path = dir.file("Bsp1.txt");
    std::string text;
    while (text.size() < kMaxTextFileBytes)
        text += "x^2\r\n";
    text.resize(kMaxTextFileBytes);
    WriteBytes(path, text);
    EXPECT_EQ(ReadTextFile(path).cause, "");
    WriteBytes(path, text + "x");
    EXPECT_EQ(ReadTextFile(path).cause, "größer als 4 MB");
    EXPECT_EQ(ReadTextFile(path).lines, Lines{});
}

TEST(TextFile, MissingFileAlsoBelowAPlainFileIsNoFailure)
{
    TempDir dir;
    EXPECT_EQ(ReadTextFile(dir.file("fehlt.txt")).lines, std::nullopt);
    EXPECT_EQ(ReadTextFile(dir.file("fehlt.txt")).cause, "");
    WriteBytes(dir.file("plain"), "");
    EXPECT_EQ(ReadTextFile(dir.file("plain") + "/unter.txt").lines, std::nullopt);
}

} // namespace
} // namespace kurvex

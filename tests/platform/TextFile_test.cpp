// Reading the program's text files: line ends, files that are no text or too large, the causes named.
#include "platform/TextFile.h"

#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

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

TEST(TextFile, WindowsBytesAndUtf8AreToldApartAlsoWithCarriageReturnsAlone)
{
    TempDir dir;
    const std::string path = dir.file("Hilfe.txt");
    WriteBytes(path, "f\xFCr\rk\xF6nnen\r");
    TextFileContent content = ReadTextFile(path);
    EXPECT_EQ(content.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(content.lines, (Lines{"für", "können"}));
    WriteBytes(path, "für\rkönnen\r");
    content = ReadTextFile(path);
    EXPECT_EQ(content.encoding, TextEncoding::Utf8);
    EXPECT_EQ(content.lines, (Lines{"für", "können"}));
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

TEST(TextFile, FolderFifoAndHugeFileAreRefusedWithoutWaitingOrReadingThem)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("Bsp1.txt"));
    ASSERT_EQ(::mkfifo(dir.file("Hilfe.txt").c_str(), 0644), 0);
    WriteBytes(dir.file("FktListe.txt"), "[Sonstige]\r\nf201(x)=x\r\n");
    std::filesystem::resize_file(dir.file("FktListe.txt"), kMaxTextFileBytes + 1);
    WriteBytes(dir.file("Bsp2.txt"), "x^2\r\n");
    std::filesystem::resize_file(dir.file("Bsp2.txt"), kMaxTextFileBytes);

    const std::pair<const char*, const char*> cases[] = {
        {"Bsp1.txt", "ein Verzeichnis, keine Datei"},
        {"Hilfe.txt", "keine gewöhnliche Datei"},
        {"FktListe.txt", "größer als 4 MB"},
    };
    for (const auto& [name, cause] : cases) {
        SCOPED_TRACE(name);
        const TextFileContent content = ReadTextFile(dir.file(name));
        EXPECT_EQ(content.cause, cause);
        EXPECT_EQ(content.lines, Lines{});
    }
    // Exactly the limit is read (and found to be no text: the rest of it is NUL bytes).
    EXPECT_EQ(ReadTextFile(dir.file("Bsp2.txt")).cause, "keine Textdatei oder unbekannte Zeichenkodierung");
}

TEST(TextFile, MissingFileIsNoFailureAndAnUnreadableOneSaysSo)
{
    TempDir dir;
    EXPECT_EQ(ReadTextFile(dir.file("fehlt.txt")).lines, std::nullopt);
    EXPECT_EQ(ReadTextFile(dir.file("fehlt.txt")).cause, "");
    WriteBytes(dir.file("plain"), "");
    EXPECT_EQ(ReadTextFile(dir.file("plain") + "/unter.txt").lines, std::nullopt);

    const std::string path = dir.file("geheim.txt");
    WriteBytes(path, "x\r\n");
    ASSERT_TRUE(test::HandToOrdinaryUser(dir.path()) && test::HandToOrdinaryUser(path));
    std::filesystem::permissions(path, std::filesystem::perms::owner_write);
    const std::optional<bool> refused = test::RunAsOrdinaryUser(
        [&] { return ::access(path.c_str(), R_OK) != 0; },
        [&] {
            std::string error;
            const auto lines = ReadTextLines(path, error);
            return lines == Lines{} &&
                   error ==
                       "Die Datei \"" + path + "\" konnte nicht gelesen werden (keine Leseberechtigung).";
        });
    if (!refused)
        GTEST_SKIP() << "no process for whom the file's mode holds could be started";
    EXPECT_TRUE(*refused);
}

} // namespace
} // namespace kurvex

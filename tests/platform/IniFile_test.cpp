// INI documents: Windows-written files, edits that keep the rest of the file, safe saving.
#include "platform/IniFile.h"

#include "platform/TestTempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::size_t FileCount(const std::filesystem::path& dir)
{
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

TEST(IniFile, MissingFileReadsAsEmptyAndIsNotCreated)
{
    TempDir dir;
    const IniFile ini(dir.file("none.ini"));
    EXPECT_TRUE(ini.readOk());
    EXPECT_EQ(ini.readInteger("Farben", "Gitter", 42), 42);
    EXPECT_EQ(ini.readFloat("Faktor", "x", -1.5), -1.5);
    EXPECT_EQ(ini.readString("A", "b", "def"), "def");
    EXPECT_TRUE(ini.readBool("A", "b", true));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.ini")));
}

TEST(IniFile, ReadsAFileWrittenOnWindows)
{
    TempDir dir;
    const std::string path = dir.file("win.ini");
    WriteBytes(path, "; written by hand\r\n"
                     "[FARBEN]\r\n"
                     "Gitter = 0xFF\r\n"
                     "  hintergrund=16777215  \r\n"
                     "\r\n"
                     "[faktor]\r\n"
                     "Tangentenl\xE4nge = 1,5\r\n"
                     "[Koordinatensystem]\r\n"
                     "X1=-7\r\n"
                     "gitter=3\r\n"
                     "Skalierung=0\r\n");
    const IniFile ini(path);
    ASSERT_TRUE(ini.readOk());
    EXPECT_EQ(ini.readInteger("Farben", "Gitter", 0), 255);
    EXPECT_EQ(ini.readInteger("Farben", "Hintergrund", 0), 0xFFFFFF);
    EXPECT_DOUBLE_EQ(ini.readFloat("Faktor", "Tangentenlänge", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.readFloat("Faktor", "TANGENTENLÄNGE", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.readFloat("Koordinatensystem", "x1", 0), -7.0);
    EXPECT_EQ(ini.readInteger("Koordinatensystem", "Gitter", 0), 3);
    EXPECT_FALSE(ini.readBool("Koordinatensystem", "Skalierung", true));
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"FARBEN", "faktor", "Koordinatensystem"}));
}

TEST(IniFile, ReadsUtf8WithByteOrderMarkAndLfLines)
{
    TempDir dir;
    const std::string path = dir.file("utf8.ini");
    WriteBytes(path, "\xEF\xBB\xBF[Faktor]\nTangentenlänge=2,25\n[Funktionsterme]\nf(x)=x²+ð\n");
    const IniFile ini(path);
    EXPECT_DOUBLE_EQ(ini.readFloat("Faktor", "Tangentenlänge", 0), 2.25);
    EXPECT_EQ(ini.readString("Funktionsterme", "f(x)", ""), "x²+ð");
}

TEST(IniFile, FirstOfDuplicateSectionsAndKeysWins)
{
    TempDir dir;
    const std::string path = dir.file("dup.ini");
    WriteBytes(path, "[A]\nk=1\nK=2\n[a]\nk=3\nother=4\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("A", "k", 0), 1);
    EXPECT_FALSE(ini.hasKey("A", "other"));
    EXPECT_EQ(ini.keyNames("a"), std::vector<std::string>{"k"});
    ini.writeInteger("A", "k", 9);
    EXPECT_EQ(ini.lines(), (std::vector<std::string>{"[A]", "k=9", "K=2", "[a]", "k=3", "other=4"}));
}

TEST(IniFile, CommentsAndLinesWithoutKeysAreNotKeys)
{
    TempDir dir;
    const std::string path = dir.file("c.ini");
    WriteBytes(path, "k=0\n[S]\n;k=1\njust text\n=5\nk=2\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.readInteger("S", "k", -1), 2);
    EXPECT_EQ(ini.keyNames("S"), std::vector<std::string>{"k"});
}

TEST(IniFile, WritesKeepEveryOtherLineInPlace)
{
    TempDir dir;
    const std::string path = dir.file("keep.ini");
    WriteBytes(path, "; Kommentar oben\r\n"
                     "[Unbekannt]\r\n"
                     "foo = bar\r\n"
                     "\r\n"
                     "[Faktor]\r\n"
                     "drucken% = 50\r\n"
                     "extra=1\r\n"
                     "\r\n"
                     "[Ende]\r\n"
                     "z=1\r\n");
    IniFile ini(path);
    ini.writeInteger("faktor", "DRUCKEN%", 120);             // in place
    ini.writeFloat("Faktor", "Tangentenlänge", 1.5);         // appended to its section, before the blank
    ini.writeString("Neu", "f(x)", "x\xC2\xB2 {Kommentar}"); // new section at the end
    ASSERT_EQ(ini.save(), "");
    EXPECT_EQ(ReadBytes(path), "; Kommentar oben\r\n"
                               "[Unbekannt]\r\n"
                               "foo = bar\r\n"
                               "\r\n"
                               "[Faktor]\r\n"
                               "DRUCKEN%=120\r\n"
                               "extra=1\r\n"
                               "Tangentenl\xE4nge=1,5\r\n"
                               "\r\n"
                               "[Ende]\r\n"
                               "z=1\r\n"
                               "[Neu]\r\n"
                               "f(x)=x\xB2 {Kommentar}\r\n");
}

TEST(IniFile, ValuesCannotBreakTheLineStructure)
{
    TempDir dir;
    const std::string path = dir.file("nl.ini");
    IniFile ini(path);
    ini.writeString("S", "k", "eins\r\n[Zwei]\nz=1");
    ASSERT_EQ(ini.save(), "");
    const IniFile back(path);
    EXPECT_EQ(back.sectionNames(), std::vector<std::string>{"S"});
    EXPECT_EQ(back.readString("S", "k", ""), "eins  [Zwei] z=1");
}

TEST(IniFile, IntegerText)
{
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"12", 12},
        {"  -5 ", -5},
        {"+7", 7},
        {"0xFF", 255},
        {"0XcCcCcC", 0xCCCCCC},
        {"0xFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"0x100000000", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1,5", std::nullopt},
        {"0x", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniFile, FloatText)
{
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"1,5", 1.5},           {"1.5", 1.5},
        {" -7 ", -7.0},         {"1e-7", 1e-7},
        {"1,5E3", 1500.0},      {"+2", 2.0},
        {"-0,25", -0.25},       {"", std::nullopt},
        {"abc", std::nullopt},  {"1,2,3", std::nullopt},
        {"1.5x", std::nullopt}, {"inf", std::nullopt},
        {"nan", std::nullopt},  {"1e400", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIniFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniFile, FloatsAreWrittenWithACommaAndReadBackExactly)
{
    const double values[] = {0.0, -3.25, 0.1 + 0.2, 1e-7, 123456.789, 1.0 / 3.0, -1e300, 5e-324, 4.0};
    for (const double v : values) {
        const std::string text = FormatIniFloat(v);
        EXPECT_EQ(text.find('.'), std::string::npos) << text;
        ASSERT_TRUE(ParseIniFloat(text).has_value()) << text;
        EXPECT_EQ(*ParseIniFloat(text), v) << text;
    }
    EXPECT_EQ(FormatIniFloat(1.5), "1,5");
    EXPECT_EQ(FormatIniFloat(-7.0), "-7");
}

TEST(IniFile, UnreadableFileIsNeverWrittenOver)
{
    TempDir dir;
    const std::string path = dir.file("is-a-dir.ini");
    std::filesystem::create_directory(path);
    IniFile ini(path);
    EXPECT_FALSE(ini.readOk());
    EXPECT_FALSE(ini.readError().empty());
    ini.writeInteger("S", "k", 1);
    EXPECT_FALSE(ini.save().empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(IniFile, SaveIntoReadOnlyDirectoryReportsAndKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.file("old.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access(dir.path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user may write into read-only directories";
    IniFile ini(path);
    ini.writeInteger("S", "k", 2);
    const std::string error = ini.save();
    EXPECT_NE(error.find("konnte nicht gespeichert werden"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=1\r\n");
}

TEST(IniFile, FailedWriteLeavesOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("big.ini");
    const std::string old = "[S]\r\nk=1\r\n";
    WriteBytes(path, old);
    IniFile ini(path);
    ini.writeString("S", "long", std::string(100000, 'x'));

    // A file-size limit makes the write fail midway, also for users who may write anywhere.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = ini.save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(FileCount(dir.path()), 1u);
}

TEST(IniFile, SaveKeepsFilePermissions)
{
    TempDir dir;
    const std::string path = dir.file("perm.ini");
    WriteBytes(path, "[S]\nk=1\n");
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    IniFile ini(path);
    ini.writeInteger("S", "k", 2);
    ASSERT_EQ(ini.save(), "");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(IniFile(path).readInteger("S", "k", 0), 2);
}

} // namespace
} // namespace kurvex

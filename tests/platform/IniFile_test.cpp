// INI documents: Windows-written files, edits that keep the rest of the file, safe saving.
#include "platform/IniFile.h"

#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(IniFile, FirstOfDuplicatesWinsAndCommentsAreNoKeys)
{
    TempDir dir;
    WriteBytes(dir.file("d.ini"), "k=0\n[A]\n;k=1\njust text\n=5\nk=2\nK=3\n[a]\nk=4\nother=5\n");
    IniFile ini(dir.file("d.ini"));
    EXPECT_EQ(ini.readInteger("A", "k", -1), 2);
    EXPECT_FALSE(ini.hasKey("A", "other"));
    EXPECT_EQ(ini.keyNames("a"), std::vector<std::string>{"k"});
    ini.writeInteger("a", "K", 9);
    EXPECT_EQ(ini.lines()[5], "K=9");
    EXPECT_EQ(ini.lines()[6], "K=3");
}

TEST(IniFile, WritesKeepEveryOtherLineInPlace)
{
    TempDir dir;
    const std::string path = dir.file("keep.ini");
    WriteBytes(path, "; Kommentar oben\r\n[Unbekannt]\r\nfoo = bar\r\n\r\n"
                     "[Faktor]\r\ndrucken% = 50\r\nextra=1\r\n\r\n[Ende]\r\nz=1\r\n");
    IniFile ini(path);
    ini.writeInteger("faktor", "DRUCKEN%", 120);             // in place
    ini.writeFloat("Faktor", "Tangentenlänge", 1.5);         // appended to its section, before the blank
    ini.writeString("Neu", "f(x)", "x\xC2\xB2 {Kommentar}"); // new section at the end
    ini.writeString("Neu", "k", "eins\r\n[Zwei]\nz=1");      // a value cannot break the lines
    ASSERT_EQ(ini.save(), "");
    EXPECT_EQ(ReadBytes(path), "; Kommentar oben\r\n[Unbekannt]\r\nfoo = bar\r\n\r\n"
                               "[Faktor]\r\nDRUCKEN%=120\r\nextra=1\r\nTangentenl\xE4nge=1,5\r\n\r\n"
                               "[Ende]\r\nz=1\r\n[Neu]\r\nf(x)=x\xB2 {Kommentar}\r\nk=eins  [Zwei] z=1\r\n");
}

TEST(IniFile, NumberText)
{
    using IntegerCase = std::pair<const char*, std::int32_t>;
    const IntegerCase integers[] = {{"12", 12},
                                    {"  -5 ", -5},
                                    {"+7", 7},
                                    {"0xFF", 255},
                                    {"0XcCcCcC", 0xCCCCCC},
                                    {"0xFFFFFFFF", -1},
                                    {"2147483647", INT32_MAX},
                                    {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : integers)
        EXPECT_EQ(ParseIniInteger(text), value) << '"' << text << '"';
    for (const char* text : {"2147483648", "0x100000000", "", "12abc", "1,5", "0x", "--1"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';

    using FloatCase = std::pair<const char*, double>;
    const FloatCase floats[] = {{"1,5", 1.5},   {"1.5", 1.5},      {" -7 ", -7.0},
                                {"1e-7", 1e-7}, {"1,5E3", 1500.0}, {"+2", 2.0}};
    for (const auto& [text, value] : floats)
        EXPECT_EQ(ParseIniFloat(text), value) << '"' << text << '"';
    for (const char* text : {"", "abc", "1,2,3", "1.5x", "inf", "nan", "1e400", "0x10"})
        EXPECT_EQ(ParseIniFloat(text), std::nullopt) << '"' << text << '"';

    for (const double v : {0.0, -3.25, 0.1 + 0.2, 1e-7, 123456.789, 1.0 / 3.0, -1e300, 5e-324}) {
        const std::string written = FormatIniFloat(v);
        EXPECT_EQ(written.find('.'), std::string::npos) << written;
        EXPECT_EQ(ParseIniFloat(written), v) << written;
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
    ini.writeInteger("S", "k", 1);
    EXPECT_FALSE(ini.save().empty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(IniFile, WriteFailingMidwayLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("big.ini");
    const std::string old = "[S]\r\nk=1\r\n";
    WriteBytes(path, old);
    IniFile ini(path);
    ini.writeString("S", "long", std::string(100000, 'x'));

    // A file-size limit makes the write fail midway, also for root.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = ini.save();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_NE(error.find("konnte nicht gespeichert werden"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(IniFile, SaveKeepsFilePermissions)
{
    TempDir dir;
    const std::string path = dir.file("perm.ini");
    WriteBytes(path, "[S]\nk=1\n");
    const auto perms = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(path, perms);
    IniFile ini(path);
    ini.writeInteger("S", "k", 2);
    ASSERT_EQ(ini.save(), "");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, perms);
    EXPECT_EQ(IniFile(path).readInteger("S", "k", 0), 2);
}

} // namespace
} // namespace kurvex

// INI documents: encodings, edits that keep the rest of the file, the section index, safe saving.
#include "platform/IniFile.h"

#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

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

TEST(IniFile, WritesBackInTheEncodingItRead)
{
    const auto le = [](std::u16string_view text) { return test::Utf16Bytes(text, false); };
    const auto be = [](std::u16string_view text) { return test::Utf16Bytes(text, true); };
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::string saved; // after k2=ä was written
    };
    const Case cases[] = {
        {"Windows-1252",
         "[S]\r\nk=Gr\xFC\xDF"
         "e\r\n",
         TextEncoding::Windows1252,
         "[S]\r\nk=Gr\xFC\xDF"
         "e\r\nk2=\xE4\r\n"},
        {"ASCII, LF", "[S]\nk=Gruesse\n", TextEncoding::Windows1252, "[S]\r\nk=Gruesse\r\nk2=\xE4\r\n"},
        {"UTF-8", "[S]\nk=Grüße\n", TextEncoding::Utf8, "[S]\r\nk=Grüße\r\nk2=ä\r\n"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\r\nk=Grüße\r\n", TextEncoding::Utf8WithBom,
         "\xEF\xBB\xBF[S]\r\nk=Grüße\r\nk2=ä\r\n"},
        {"UTF-16 LE", le(u"\uFEFF[S]\r\nk=Gr\u00FC\u00DFe\r\n"), TextEncoding::Utf16Le,
         le(u"\uFEFF[S]\r\nk=Gr\u00FC\u00DFe\r\nk2=\u00E4\r\n")},
        {"UTF-16 BE", be(u"\uFEFF[S]\r\nk=Gr\u00FC\u00DFe\r\n"), TextEncoding::Utf16Be,
         be(u"\uFEFF[S]\r\nk=Gr\u00FC\u00DFe\r\nk2=\u00E4\r\n")},
    };
    TempDir dir;
    const std::string path = dir.file("enc.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, c.bytes);
        IniFile ini(path);
        EXPECT_TRUE(ini.readOk());
        EXPECT_EQ(ini.encoding(), c.encoding);
        EXPECT_EQ(ini.readString("s", "K", ""), c.name == std::string("ASCII, LF") ? "Gruesse" : "Grüße");
        ini.writeString("S", "k2", "ä");
        ASSERT_EQ(ini.save(), "");
        EXPECT_EQ(ReadBytes(path), c.saved);
    }
}

TEST(IniFile, TextWindows1252CannotHoldIsWrittenAsUtf8)
{
    TempDir dir;
    const std::string path = dir.file("neu.ini");
    IniFile fresh(path);
    fresh.writeString("S", "k", "ä");
    ASSERT_EQ(fresh.save(), "");
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=\xE4\r\n"); // a new file is Windows-1252

    IniFile ini(path);
    ini.writeString("S", "pi", "π");
    ASSERT_EQ(ini.save(), "");
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=ä\r\npi=π\r\n");
    EXPECT_EQ(IniFile(path).readString("S", "pi", ""), "π");
}

// The section index against a fresh read of the saved file, through edits of every kind.
TEST(IniFile, EditsReadBackAsTheSavedFileReadsThem)
{
    TempDir dir;
    const std::string path = dir.file("many.ini");
    std::string text = "k=vor allen\r\n";
    for (int i = 0; i < 3000; ++i) {
        text += "[Abschnitt " + std::to_string(i % 2000) + "]\r\n";
        text += "k=" + std::to_string(i) + "\r\n";
        if (i % 3 == 0)
            text += "\r\n";
    }
    WriteBytes(path, text);
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("ABSCHNITT 1500", "K", -1), 1500);
    EXPECT_EQ(ini.readInteger("abschnitt 10", "k", -1), 10); // the first of two
    EXPECT_EQ(ini.sectionNames().size(), 2000u);

    ini.writeInteger("Abschnitt 3", "k", 7);   // in place
    ini.writeInteger("Abschnitt 3", "neu", 1); // appended before the blank line
    ini.writeInteger("Abschnitt 3", "zwei", 2);
    ini.writeInteger("abschnitt 3", "NEU", 3);
    ini.writeInteger("Neu", "a", 1); // a new section
    ini.writeInteger("neu", "b", 2);
    ini.writeInteger("Abschnitt 4", "[x", 4);   // a key that reads as a section header
    ini.writeInteger("Abschnitt 5", "z\ny", 5); // a line break in the name
    ASSERT_EQ(ini.save(), "");

    const IniFile reread(path);
    EXPECT_EQ(ini.lines(), reread.lines());
    EXPECT_EQ(ini.sectionNames(), reread.sectionNames());
    const std::pair<const char*, const char*> keys[] = {
        {"Abschnitt 3", "k"}, {"Abschnitt 3", "neu"}, {"Abschnitt 3", "zwei"},
        {"Neu", "a"},         {"Neu", "b"},           {"Abschnitt 4", "k"},
        {"x", "k"},           {"Abschnitt 5", "z y"}, {"Abschnitt 1999", "k"},
    };
    for (const auto& [section, key] : keys) {
        EXPECT_EQ(ini.value(section, key), reread.value(section, key)) << section << "/" << key;
        EXPECT_EQ(ini.keyNames(section), reread.keyNames(section)) << section;
    }
    EXPECT_EQ(ini.readInteger("Abschnitt 3", "neu", -1), 3);
    const std::vector<std::string> expected = {"[Abschnitt 3]", "k=7", "NEU=3", "zwei=2", ""};
    const auto& lines = reread.lines();
    const auto at = std::find(lines.begin(), lines.end(), "[Abschnitt 3]");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 5), expected);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"[Neu]", "a=1", "b=2"}));
}

TEST(IniFile, SaveKeepsTheModeWhateverTheUmask)
{
    TempDir dir;
    const std::string path = dir.file("shared.ini");
    WriteBytes(path, "[S]\nk=1\n");
    using std::filesystem::perms;
    const perms shared = perms::owner_read | perms::owner_write | perms::group_read | perms::group_write;
    std::filesystem::permissions(path, shared);
    IniFile ini(path);
    ini.writeInteger("S", "k", 2);
    const mode_t previousMask = ::umask(077);
    const std::string error = ini.save();
    ::umask(previousMask);
    ASSERT_EQ(error, "");
    EXPECT_EQ(std::filesystem::status(path).permissions() & perms::all, shared);
}

} // namespace
} // namespace kurvex

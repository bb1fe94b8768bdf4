// Example files: Windows-written lists, faulty files kept byte for byte, add rules, safe saving.
#include "core/ExampleFile.h"
#include "core/term/Term.h"

#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const ExampleFormat kLines;
const ExampleFormat kRemarks{0, ExampleKey::TextBeforeSemicolon, 0, std::nullopt};
// Term, xP, xQ and the world window; ten entries at most; a default group for an empty list.
const ExampleFormat kGroups{6, ExampleKey::WholeText, 10, ExampleEntry{"1/4x^2", {1, 3, -7, 7, -3, 11}}};
const std::string kDefaultGroupBytes = "1/4x^2\r\n1\r\n3\r\n-7\r\n7\r\n-3\r\n11\r\n";

ExampleEntry Line(std::string text)
{
    return {std::move(text), {}};
}

ExampleEntry Group(std::string text, double xP)
{
    return {std::move(text), {xP, 2, -7, 7, -3, 11}};
}

std::string GroupBytes(const std::string& term, const std::string& xP)
{
    return term + "\r\n" + xP + "\r\n2\r\n-7\r\n7\r\n-3\r\n11\r\n";
}

// Group 3's xQ, line 17, is no number.
const std::string kBadThirdGroup = GroupBytes("a", "1") + GroupBytes("b", "2") +
                                   "c\r\n3\r\nzwei\r\n-7\r\n7\r\n-3\r\n11\r\n" + GroupBytes("d", "4");

std::vector<std::string> FilesIn(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(dir))
        names.push_back(item.path().filename().string());
    return names;
}

TEST(ExampleFile, Reading)
{
    struct Case {
        const char* name;
        const ExampleFormat& format;
        std::string bytes;
        std::vector<ExampleEntry> entries;
        std::string message; // a part of it; empty when the load is complete
    };
    const std::string kBadByte = "x\nx \xE2\x89\xA4 1\ny\n"; // U+2264 has no Windows-1252 byte
    const Case cases[] = {
        {"Windows list with pi", kLines, "x^2;  a\r\n2\xF0x\r\n", {Line("x^2;  a"), Line("2\xF0x")}, ""},
        {"UTF-8, BOM, LF", kLines, "\xEF\xBB\xBF\xC3\xA4x\nx^3\n", {Line("\xE4x"), Line("x^3")}, ""},
        {"empty file", kGroups, "", {}, ""},
        {"blank lines", kLines, "a\r\n\r\nb\r\n\r\n", {Line("a"), Line("b")}, ""},
        {"bad number in group 3",
         kGroups,
         kBadThirdGroup,
         {Group("a", 1), Group("b", 2)},
         "Die Beispieldatei Bsp.txt konnte nicht vollständig gelesen werden: Zeile 17 ist keine Zahl."},
        {"infinite number", kGroups, GroupBytes("x", "inf"), {}, "Zeile 2 ist keine Zahl"},
        {"cut-off group", kGroups, GroupBytes("a", "1") + "b\n1\n", {Group("a", 1)}, "nach Zeile 9 endet"},
        {"no Windows-1252 byte", kLines, kBadByte, {Line("x")}, "Zeile 2 enthält ein Zeichen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteBytes(dir.file("Bsp.txt"), c.bytes);
        const ExampleFile file(dir.file("Bsp.txt"), c.format);
        EXPECT_EQ(file.entries(), c.entries);
        EXPECT_EQ(file.loadComplete(), c.message.empty());
        const std::string& said = file.loadMessage();
        EXPECT_TRUE(c.message.empty() ? said.empty() : said.find(c.message) != std::string::npos) << said;
    }
}

TEST(ExampleFile, FileNotReadCompletelyIsNeverWritten)
{
    TempDir dir;
    const std::string bad = dir.file("Bsp3.txt");
    WriteBytes(bad, kBadThirdGroup);
    const std::string folder = dir.file("Bsp1.txt"); // unreadable as a file
    std::filesystem::create_directory(folder);

    for (const std::string& path : {bad, folder}) {
        SCOPED_TRACE(path);
        ExampleFile file(path, kGroups);
        EXPECT_NE(file.loadMessage().find("wird beim Schließen nicht überschrieben"), std::string::npos);
        EXPECT_EQ(file.add(Group("neu", 5)), AddResult::Added);
        file.remove(0);
        EXPECT_EQ(file.save(), ""); // said once, when reading
    }
    EXPECT_EQ(ReadBytes(bad), kBadThirdGroup);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(FilesIn(dir.path()).size(), 2u);
}

TEST(ExampleFile, MissingFileReadsAsEmpty)
{
    for (const ExampleFormat* format : {&kLines, &kGroups}) {
        SCOPED_TRACE(format->numberLines);
        TempDir dir;
        const std::string path = dir.file("Bsp.txt");
        ExampleFile file(path, *format);
        EXPECT_TRUE(file.loadComplete());
        EXPECT_EQ(file.size(), 0u);
        EXPECT_EQ(file.save(), "");
        // An empty list makes no file; groups get the default group, which reads back.
        EXPECT_EQ(std::filesystem::exists(path), format == &kGroups);
        if (format == &kGroups) {
            EXPECT_EQ(ReadBytes(path), kDefaultGroupBytes);
            EXPECT_EQ(ExampleFile(path, kGroups).entries(), std::vector<ExampleEntry>{*kGroups.defaultEntry});
        }
    }
}

TEST(ExampleFile, AddRules)
{
    std::vector<ExampleEntry> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back(Group("x^" + std::to_string(i), i));
    const std::vector<ExampleEntry> nine(ten.begin(), ten.end() - 1);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        const ExampleFormat& format;
        std::vector<ExampleEntry> before;
        ExampleEntry candidate;
        AddResult result;
    };
    using R = AddResult;
    const Case cases[] = {
        {"same line", kLines, {Line("x^2")}, Line("x^2"), R::Duplicate},
        {"same term, other remark", kRemarks, {Line("x^2;  Parabel")}, Line("x^2;  a"), R::Duplicate},
        {"other term, same remark", kRemarks, {Line("x^2;  a")}, Line("x^3;  a"), R::Added},
        {"line without semicolon", kRemarks, {Line("x^2")}, Line("x^2;  Parabel"), R::Duplicate},
        {"same f1, other f2", kGroups, {Group("x^2;x", 1)}, Group("x^2;2x-1", 1), R::Added},
        {"same term, other numbers", kGroups, {Group("x^2", 1)}, Group("x^2", 2), R::Duplicate},
        {"tenth entry", kGroups, nine, Group("neu", 1), R::Added},
        {"eleventh entry", kGroups, ten, Group("neu", 1), R::Full},
        {"line break", kLines, {}, Line("x\r\n1"), R::Invalid},
        {"undefined number", kGroups, {}, Group("x", nan), R::Invalid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ExampleFile file(dir.file("Bsp.txt"), c.format);
        for (const ExampleEntry& e : c.before)
            ASSERT_EQ(file.add(e), AddResult::Added);
        EXPECT_EQ(file.add(c.candidate), c.result);
        EXPECT_EQ(file.size(), c.before.size() + (c.result == AddResult::Added ? 1 : 0));
    }
}

TEST(ExampleFile, SavingWritesCrLfAndCommasAtomically)
{
    struct Case {
        const char* name;
        const ExampleFormat& format;
        std::vector<ExampleEntry> entries;
        std::string bytes;
    };
    const Case cases[] = {
        {"lines", kLines, {Line("2\xF0x;  \xDC"), Line("x^2")}, "2\xF0x;  \xDC\r\nx^2\r\n"},
        {"group",
         kGroups,
         {{"\xD6(x)", {.5, -1.25, -7, 7, 1e-7, 1234.5}}},
         "\xD6(x)\r\n0,5\r\n-1,25\r\n-7\r\n7\r\n1E-7\r\n1234,5\r\n"},
        {"emptied lines", kLines, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("Bsp.txt");
        WriteBytes(path, "alt\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
        ExampleFile file(path, c.format);
        while (file.remove(0)) {
        }
        for (const ExampleEntry& e : c.entries)
            ASSERT_EQ(file.add(e), AddResult::Added);
        EXPECT_EQ(file.save(), "");
        EXPECT_EQ(ReadBytes(path), c.bytes);
        EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Bsp.txt"}); // no temporary file left
    }
}

// A list a teacher saved as UTF-8 in a modern editor stays UTF-8 when the program adds to it.
TEST(ExampleFile, ListReadAsUtf8IsWrittenBackAsUtf8)
{
    TempDir dir;
    const std::string path = dir.file("Bsp1.txt");
    WriteBytes(path, "sin(\xCF\x80x);  Schwingung \xC3\xBC"
                     "ber Zeit\r\n");
    ExampleFile file(path, kRemarks);
    ASSERT_TRUE(file.loadComplete());
    ASSERT_EQ(file.size(), 1u);
    EXPECT_EQ(file.entry(0).text, "sin(\xF0x);  Schwingung \xFC"
                                  "ber Zeit");
    ASSERT_EQ(file.add(Line("x^2;  \xC4hnlich")), AddResult::Added);
    EXPECT_EQ(file.save(), "");
    EXPECT_EQ(ReadBytes(path), "sin(\xCF\x80x);  Schwingung \xC3\xBC"
                               "ber Zeit\r\nx^2;  \xC3\x84hnlich\r\n");
}

TEST(ExampleFile, NumbersIgnoreTheProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"de_DE.UTF-8", "C"}) {
        SCOPED_TRACE(locale);
        ASSERT_TRUE(std::setlocale(LC_ALL, locale));
        TempDir dir;
        const std::string path = dir.file("Bsp3.txt");
        WriteBytes(path, GroupBytes("a", "1,5") + GroupBytes("b", "2.5"));
        ExampleFile file(path, kGroups);
        EXPECT_EQ(file.entries(), (std::vector<ExampleEntry>{Group("a", 1.5), Group("b", 2.5)}));
        ASSERT_EQ(file.add(Group("c", 0.25)), AddResult::Added);
        EXPECT_EQ(file.save(), "");
        EXPECT_EQ(ReadBytes(path), GroupBytes("a", "1,5") + GroupBytes("b", "2,5") + GroupBytes("c", "0,25"));
        EXPECT_EQ(ExampleFile(path, kGroups).entry(2), Group("c", 0.25));
    }
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(ExampleFile, FailedSaveIsReportedAndKeepsTheOldFile)
{
    TempDir dir;
    WriteBytes(dir.file("plain"), "kein Ordner");
    ExampleFile underFile(dir.file("plain") + "/Bsp8.txt", kLines);
    ASSERT_EQ(underFile.add(Line("1/n")), AddResult::Added);
    const std::string message = underFile.save();
    EXPECT_NE(message.find("Bsp8.txt\" konnte nicht gespeichert werden"), std::string::npos) << message;

    // In a read-only folder an unchanged list, even one written with LF and points, is no failure.
    const std::string path = dir.file("Bsp3.txt");
    const std::string bytes = "x\n1.5\n2\n-7\n7\n-3\n11\n";
    WriteBytes(path, bytes);
    const std::optional<bool> ok = test::RunWithoutWriteAccess(dir.path(), [&] {
        ExampleFile unchanged(path, kGroups);
        unchanged.add(Group("y", 1));
        unchanged.remove(1);
        ExampleFile changed(path, kGroups);
        changed.add(Group("y", 1));
        return unchanged.save().empty() && !changed.save().empty() && ReadBytes(path) == bytes &&
               FilesIn(dir.path()).size() == 2;
    });
    if (!ok)
        GTEST_SKIP() << "no process without write access could be set up";
    EXPECT_TRUE(*ok);
}

TEST(ExampleFile, ListFarLargerThanAnyRealOneIsNotReadAndLeftAlone)
{
    TempDir dir;
    const std::string path = dir.file("Bsp1.txt");
    WriteBytes(path, "x^2;  Normalparabel\r\n");
    std::filesystem::resize_file(path, 200u << 20); // sparse: no disk taken, nothing to read
    ExampleFile file(path, kRemarks);
    EXPECT_FALSE(file.loadComplete());
    EXPECT_EQ(file.size(), 0u);
    EXPECT_EQ(file.loadMessage(), "Die Datei \"" + path +
                                      "\" konnte nicht gelesen werden (größer als 4 MB). Die Datei wird beim "
                                      "Schließen nicht überschrieben.");
    ASSERT_EQ(file.add(Line("x^3")), AddResult::Added);
    EXPECT_EQ(file.save(), "");
    EXPECT_EQ(std::filesystem::file_size(path), 200u << 20);
}

// What a teacher can edit by hand: "1,1", not "1,0999999999999996".
TEST(ExampleFile, NumbersAreWrittenWithFifteenSignificantDigits)
{
    const std::pair<double, const char*> cases[] = {
        {1.0999999999999996, "1,1"},
        {1.0 / 3.0, "0,333333333333333"},
        {1e-7, "1E-7"},
        {123456789012345678.0, "1,23456789012346E+17"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        TempDir dir;
        const std::string path = dir.file("Bsp9.txt");
        ExampleFile file(path, kGroups);
        ASSERT_EQ(file.add(Group("1/4x^2;1/x", value)), AddResult::Added);
        EXPECT_EQ(file.save(), "");
        EXPECT_EQ(ReadBytes(path), GroupBytes("1/4x^2;1/x", text));
        // The list holds what the file gives back, so the next save finds nothing changed.
        EXPECT_EQ(ExampleFile(path, kGroups).entries(), file.entries());
    }
}

// Two copies of the program on one folder, or a hand edit while the lesson is open.
TEST(ExampleFile, SaveAppliesItsOwnChangesToTheFileAsItIsNow)
{
    struct Case {
        const char* name;
        std::string read;                  // the file when the list was read
        std::string meanwhile;             // the file when the list is saved
        std::vector<std::string> removals; // the list's own changes
        std::vector<std::string> additions;
        std::string saved;
    };
    const Case cases[] = {
        {"both added", "x^2\r\n", "x^2\r\nx^5+1\r\n", {}, {"x^6+2"}, "x^2\r\nx^5+1\r\nx^6+2\r\n"},
        {"both added the same", "x^2\r\n", "x^2\r\nx^5+1\r\n", {}, {"x^5+1"}, "x^2\r\nx^5+1\r\n"},
        {"added by hand, deleted here",
         "a\r\nb\r\nc\r\n",
         "a\r\nb\r\nc\r\nd\r\n",
         {"b"},
         {"e"},
         "a\r\nc\r\nd\r\ne\r\n"},
        {"deleted there, added here", "a\r\nb\r\n", "b\r\n", {}, {"c"}, "b\r\nc\r\n"},
        {"deleted in both", "a\r\nb\r\n", "b\r\n", {"a"}, {}, "b\r\n"},
        {"file removed meanwhile", "a\r\nb\r\n", "", {"a"}, {"c"}, "c\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("Bsp1.txt");
        WriteBytes(path, c.read);
        ExampleFile file(path, kLines);
        for (const std::string& text : c.removals) {
            const auto& entries = file.entries();
            const auto at = std::find(entries.begin(), entries.end(), Line(text));
            ASSERT_NE(at, entries.end());
            file.remove(static_cast<std::size_t>(at - entries.begin()));
        }
        for (const std::string& text : c.additions)
            ASSERT_EQ(file.add(Line(text)), AddResult::Added);
        if (c.meanwhile.empty())
            std::filesystem::remove(path);
        else
            WriteBytes(path, c.meanwhile);
        EXPECT_EQ(file.save(), "");
        EXPECT_EQ(ReadBytes(path), c.saved);
    }
}

TEST(ExampleFile, FileThatCannotBeReadAnyMoreAtSavingIsLeftAlone)
{
    TempDir dir;
    const std::string path = dir.file("Bsp4.txt");
    WriteBytes(path, "a\r\n");
    ExampleFile file(path, kLines);
    ASSERT_EQ(file.add(Line("b")), AddResult::Added);
    const std::string damaged = std::string("a\r\n\0\0", 5);
    WriteBytes(path, damaged);
    EXPECT_EQ(file.save(), "Die Beispieldatei wurde seit dem Öffnen verändert. Die Datei \"" + path +
                               "\" konnte nicht gelesen werden (keine Textdatei oder unbekannte "
                               "Zeichenkodierung). Die Änderungen der Beispielliste sind nicht gespeichert.");
    EXPECT_EQ(ReadBytes(path), damaged);
}

// "term;  remark" lines: a line without ";" is a term, and the remark loses only its blanks.
TEST(TermExample, SplitAndJoin)
{
    struct Case {
        const char* line;
        TermExample expected;
    };
    const Case cases[] = {
        {"x^2;  Normalparabel", {"x^2", "Normalparabel"}},
        {"x^3-3x;  kubische Parabel", {"x^3-3x", "kubische Parabel"}},
        {"x^2", {"x^2", ""}},
        {"x^2;Parabel", {"x^2", "Parabel"}},
        {"x^2; \t Parabel  ", {"x^2", "Parabel"}},
        {"x;  a; b", {"x", "a; b"}},
        {";  nur Text", {"", "nur Text"}},
        {"sin(x);   ", {"sin(x)", ""}},
        {"", {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitTermExample(c.line), c.expected);
    }
    EXPECT_EQ(JoinTermExample("x^2", "Normalparabel"), "x^2;  Normalparabel");
    const TermExample withPi{"2\xF0x", "\xE4hnlich"};
    EXPECT_EQ(SplitTermExample(JoinTermExample(withPi.term, withPi.remark)), withPi);
}

// The example lists shipped beside the program load completely, and every term compiles in the
// parser mode of its window.
TEST(ExampleFile, ShippedListsLoadAndTheirTermsCompile)
{
    struct Case {
        const char* file;
        bool integrand; // terms in t, x refused
    };
    for (const Case c : {Case{"Bsp1.txt", false}, Case{"Bsp2.txt", true}}) {
        SCOPED_TRACE(c.file);
        const bool keptMode = IntegrandMode;
        IntegrandMode = c.integrand;
        const ExampleFile examples(std::string(KURVEX_SOURCE_DIR) + "/resources/data/" + c.file, kRemarks);
        EXPECT_TRUE(examples.loadComplete()) << examples.loadMessage();
        EXPECT_GE(examples.size(), 5u);
        for (const ExampleEntry& e : examples.entries()) {
            SCOPED_TRACE(e.text);
            TermTree tree;
            EXPECT_TRUE(CompileTerm(tree, SplitTermExample(e.text).term, true));
        }
        IntegrandMode = keptMode;
    }
}

} // namespace
} // namespace kurvex

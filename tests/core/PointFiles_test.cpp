// Point files: number text, the five formats written and read back under any process locale, files
// as spreadsheets write them, malformed files, ".dat" counts, target names and value-table cells.
#include "core/PointFiles.h"

#include "core/term/Term.h"
#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(PointFiles, NumberTextHasFifteenDigitsAndAnExponentOnlyForVerySmallOrLargeValues)
{
    const struct {
        double v;
        const char* comma;
        const char* point;
    } cases[] = {
        {0.0, "0", "0"},
        {1.5, "1,5", "1.5"},
        {-2.0, "-2", "-2"},
        {1990.0, "1990", "1990"},
        {0.1 + 0.2, "0,3", "0.3"},
        {1.0 / 3.0, "0,333333333333333", "0.333333333333333"},
        {1e-5, "0,00001", "0.00001"},
        {1e-7, "1E-7", "1E-7"},
        {-1.25e-9, "-1,25E-9", "-1.25E-9"},
        {-3.25e12, "-3250000000000", "-3250000000000"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {1e15, "1E+15", "1E+15"},
        {2.5e20, "2,5E+20", "2.5E+20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comma);
        EXPECT_EQ(PointNumberText(c.v, ','), c.comma);
        EXPECT_EQ(PointNumberText(c.v, '.'), c.point);
    }
}

TEST(PointFiles, NumbersAreReadWithCommaOrPointSignAndExponent)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1,5", 1.5},
        {"1.5", 1.5},
        {"+2", 2.0},
        {"-0,25", -0.25},
        {" 3 ", 3.0},
        {"1E-7", 1e-7},
        {"2,5e+3", 2500.0},
        {"1e005", 1e5},
        {"007", 7.0},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1,2,3", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {"1e400", std::nullopt},
        {"-", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParsePointNumber(c.text), c.value);
    }
}

struct FormatCase {
    PointFileFormat format;
    const char* name;
    std::string firstPointLine; // the line of the first point, (-3.25e12, 1e-7)
};

const FormatCase kFormats[] = {
    {PointFileFormat::Own, "a.dat", "-3250000000000;1E-7"},
    {PointFileFormat::TabComma, "b.txt", "-3250000000000\t1E-7"},
    {PointFileFormat::TabPoint, "c.txt", "-3250000000000\t1E-7"},
    {PointFileFormat::SemicolonComma, "d.txt", "-3250000000000;1E-7"},
    {PointFileFormat::SemicolonPoint, "e.txt", "-3250000000000;1E-7"},
};

TEST(PointFiles, EveryFormatRoundTripsAwkwardValuesUnderAnyProcessLocale)
{
    const std::vector<DataPoint> points{{-3.25e12, 1e-7}, {0, 0}, {1.5, -2.25}, {1e-7, 123456.789}};
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"de_DE.UTF-8", "C"}) {
        if (std::setlocale(LC_ALL, locale) == nullptr) {
            ADD_FAILURE() << "locale " << locale << " is missing";
            continue;
        }
        for (const FormatCase& f : kFormats) {
            SCOPED_TRACE(testing::Message() << locale << " " << f.name);
            TempDir dir;
            const std::string path = dir.file(f.name);
            ASSERT_EQ(WritePointFile(path, points, f.format), "");
            const std::string bytes = ReadBytes(path);
            const bool comma = f.format == PointFileFormat::Own || f.format == PointFileFormat::TabComma ||
                               f.format == PointFileFormat::SemicolonComma;
            EXPECT_NE(bytes.find(comma ? "1,5" : "1.5"), std::string::npos) << bytes;
            EXPECT_EQ(bytes.find(comma ? "1.5" : "1,5"), std::string::npos) << bytes;
            EXPECT_NE(bytes.find(f.firstPointLine + "\r\n"), std::string::npos) << bytes;
            const PointFileContent back = ReadPointFile(path);
            EXPECT_EQ(back.error, "");
            EXPECT_EQ(back.points, points);
        }
    }
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(PointFiles, OwnFormatOfThreePointsHasFiveLinesSortedByTheCaller)
{
    TempDir dir;
    const std::string path = dir.file("drei.dat");
    ASSERT_EQ(WritePointFile(path, {{-1, 2}, {0.5, 1}, {3, -4}}, PointFileFormat::Own), "");
    EXPECT_EQ(ReadBytes(path), "Regression\r\n3\r\n-1;2\r\n0,5;1\r\n3;-4\r\n");
}

TEST(PointFiles, SpreadsheetFilesAreRead)
{
    const struct {
        const char* name;
        std::string bytes;
        std::vector<DataPoint> points;
    } cases[] = {
        {"CR LF, BOM, semicolons",
         "\xEF\xBB\xBF"
         "1;2,5\r\n2;3,5\r\n",
         {{1, 2.5}, {2, 3.5}}},
        {"tabs, points", "1.5\t2.5\n-2\t+4E2\n", {{1.5, 2.5}, {-2, 400}}},
        {"mixed separators", "1.5\t2,5\r\n3;4\r\n", {{1.5, 2.5}, {3, 4}}},
        {"third column ignored", "1;2;3\n4\t5\t6\n", {{1, 2}, {4, 5}}},
        {"empty y is 0", "7;\n", {{7, 0}}},
        {"blank lines skipped", "1;2\n\n   \n3;4\n\n", {{1, 2}, {3, 4}}},
        {"CR alone ends lines", "1;2\r3;4\r", {{1, 2}, {3, 4}}},
        {"blanks inside numbers", " 1 000 ; 2 \n", {{1000, 2}}},
        {"exponents", "1e-3;2E+3\n", {{0.001, 2000}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("werte.txt");
        WriteBytes(path, c.bytes);
        const PointFileContent content = ReadPointFile(path);
        EXPECT_EQ(content.error, "");
        EXPECT_EQ(content.points, c.points);
    }
}

TEST(PointFiles, MalformedLinesStopTheLoadNamingTheLine)
{
    const struct {
        const char* name;
        const char* file;
        std::string bytes;
        const char* error;
    } cases[] = {
        {"no separator", "a.txt", "1;2\n7\n",
         "Die Datei wurde nicht geladen: In Zeile 2 fehlt das Trennzeichen (; oder Tab) zwischen x und y."},
        {"word for y", "a.txt", "1;2\n\n3;vier\n",
         "Die Datei wurde nicht geladen: In Zeile 3 steht keine g\xC3\xBCltige Zahl."},
        {"empty x", "a.txt", ";5\n",
         "Die Datei wurde nicht geladen: In Zeile 1 steht keine g\xC3\xBCltige Zahl."},
        {"two decimal signs", "a.dat", "Regression\n2\n1;2\n1.2.3;4\n",
         "Die Datei wurde nicht geladen: In Zeile 4 steht keine g\xC3\xBCltige Zahl."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file(c.file);
        WriteBytes(path, c.bytes);
        const PointFileContent content = ReadPointFile(path);
        EXPECT_EQ(content.error, c.error);
        EXPECT_TRUE(content.points.empty());
    }
}

TEST(PointFiles, OwnFormatCountsAndHeader)
{
    std::string many = "Regression\n150\n";
    for (int i = 0; i < 150; ++i) {
        many += std::to_string(i) + ";1\n";
    }
    const struct {
        const char* name;
        std::string bytes;
        std::size_t points;
        bool notice;
    } cases[] = {
        {"count as announced", "Regression\r\n2\r\n1;2\r\n3;4\r\n5;6\r\n", 2, false},
        {"count 0", "Regression\n0\n1;2\n", 0, false},
        {"negative count", "Regression\n-3\n1;2\n", 0, false},
        {"count not a number", "Regression\nzwei\n1;2\n", 0, false},
        {"count beyond the lines", "Regression\n5\n1;2\n3;4\n", 2, false},
        {"wrong header", "Regresion\n2\n1;2\n3;4\n", 0, false},
        {"header in capitals", "REGRESSION\n1\n1;2\n", 0, false},
        {"more than 101", many, 101, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.file("p.dat");
        WriteBytes(path, c.bytes);
        const PointFileContent content = ReadPointFile(path);
        EXPECT_EQ(content.error, "");
        EXPECT_EQ(content.points.size(), c.points);
        EXPECT_EQ(!content.notice.empty(), c.notice) << content.notice;
    }
}

TEST(PointFiles, TextFileGivesAtMostOneHundredPointsAndSaysSoWhenItHeldMore)
{
    struct Case {
        int rows;
        const char* after; // what follows the rows
        std::size_t points;
        const char* notice;
    };
    const Case cases[] = {
        {100, "", 100, ""},
        {100, "\r\n  \r\n", 100, ""},
        {101, "", 100, "Die Datei enthält mehr als 100 Punkte; die ersten 100 wurden geladen."},
        {100, "kein Punkt\r\n", 100, "Die Datei enthält mehr als 100 Punkte; die ersten 100 wurden geladen."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " rows, then \"" + c.after + "\"");
        std::string text;
        for (int i = 0; i < c.rows; ++i) {
            text += std::to_string(i) + ";" + std::to_string(i * i) + "\r\n";
        }
        TempDir dir;
        const std::string path = dir.file("viele.txt");
        WriteBytes(path, text + c.after);
        const PointFileContent content = ReadPointFile(path);
        EXPECT_EQ(content.error, "");
        ASSERT_EQ(content.points.size(), c.points);
        EXPECT_EQ(content.points.back(), (DataPoint{99, 9801}));
        EXPECT_EQ(content.notice, c.notice);
    }
}

TEST(PointFiles, ReaderIsChosenByTheSuffixInAnyCase)
{
    EXPECT_TRUE(IsTextPointFile("/a/werte.txt"));
    EXPECT_TRUE(IsTextPointFile("/a/WERTE.TXT"));
    EXPECT_TRUE(IsTextPointFile("werte.Txt"));
    EXPECT_FALSE(IsTextPointFile("/a/werte.dat"));
    EXPECT_FALSE(IsTextPointFile("/a.txt/werte"));
    EXPECT_FALSE(IsTextPointFile("werte"));
    TempDir dir;
    const std::string path = dir.file("GROSS.TXT");
    WriteBytes(path, "1;2\n");
    EXPECT_EQ(ReadPointFile(path).points, (std::vector<DataPoint>{{1, 2}}));
}

TEST(PointFiles, MissingOrUnreadableFileIsAnErrorNamingFileAndCause)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("ordner.txt"));
    const std::pair<const char*, const char*> cases[] = {{"fehlt.dat", "nicht gefunden"},
                                                         {"ordner.txt", "ein Verzeichnis, keine Datei"}};
    for (const auto& [name, cause] : cases) {
        const PointFileContent content = ReadPointFile(dir.file(name));
        EXPECT_EQ(content.error,
                  "Die Datei \"" + dir.file(name) + "\" konnte nicht gelesen werden (" + cause + ").");
        EXPECT_TRUE(content.points.empty());
    }
}

TEST(PointFiles, TargetKeepsTheChosenNameAndReplacesOnlyAPointFileSuffix)
{
    const struct {
        const char* chosen;
        PointFileFormat format;
        const char* target;
    } cases[] = {
        {"/d/Versuch.2.dat", PointFileFormat::Own, "/d/Versuch.2.dat"},
        {"/d/Versuch.2", PointFileFormat::Own, "/d/Versuch.2.dat"},
        {"/d/Versuch.txt", PointFileFormat::Own, "/d/Versuch.dat"},
        {"/d/Versuch.DAT", PointFileFormat::TabComma, "/d/Versuch.txt"},
        {"/d/Versuch", PointFileFormat::SemicolonPoint, "/d/Versuch.txt"},
        {"/d.x/Versuch", PointFileFormat::Own, "/d.x/Versuch.dat"},
        {"/d/.txt", PointFileFormat::Own, "/d/.txt.dat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        EXPECT_EQ(PointFileTarget(c.chosen, c.format), c.target);
    }
}

TEST(PointFiles, FailedWriteIsReportedAndLeavesNoFile)
{
    TempDir dir;
    const std::string path = dir.file("kein/Ordner.dat");
    const std::string error = WritePointFile(path, {{1, 2}}, PointFileFormat::Own);
    EXPECT_NE(error.find("konnte nicht gespeichert werden"), std::string::npos) << error;
}

TEST(PointFiles, CellsTakeConstantExpressionsSilently)
{
    int messages = 0;
    SetSyntaxErrorHandler([&messages](int, const std::string&, int) { ++messages; });
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1,5", 1.5},
        {"2*pi", 6.283185307179586},
        {"1/3", 1.0 / 3.0},
        {"-4", -4.0},
        {"\xCF\x80", 3.141592653589793},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"x", std::nullopt},
        {"1/0", std::nullopt},
        {"2+", std::nullopt},
        {"ln(-1)", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto v = CellValue(c.text);
        ASSERT_EQ(v.has_value(), c.value.has_value());
        if (v) {
            EXPECT_DOUBLE_EQ(*v, *c.value);
        }
    }
    EXPECT_EQ(messages, 0);
    SetSyntaxErrorHandler(nullptr);
    EXPECT_EQ(CellText(2.5), "2,5");
    EXPECT_EQ(CellText(1e-7), "1E-7");
}

} // namespace
} // namespace kurvex

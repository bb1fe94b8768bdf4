// The fit report: every line of a straight-line report, the parameter lines of each model, the
// sine's headings, padding, the lines printing takes and their pages.
#include "core/FitReport.h"

#include "core/FitCheck.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kurvex {
namespace {

const std::string kRule(60, '-');

// The lines between the second and the third rule: the parameters.
std::vector<std::string> parameterLines(const std::vector<std::string>& report)
{
    std::vector<std::string> out;
    int rules = 0;
    for (const std::string& line : report) {
        if (line == kRule) {
            ++rules;
        } else if (rules == 2) {
            out.push_back(line);
        }
    }
    return out;
}

FitReportInput lineThroughOriginAndOneTwo()
{
    FitReportInput in;
    in.regModel = kRegLine;
    in.formulaText = "y = m*x + c";
    in.firstParam = 0;
    in.paramNames = {"c", "m"};
    in.params = {0.0, 2.0};
    in.r = 1.0;
    in.r2 = 1.0;
    in.points = {{0, 0}, {1, 2}};
    in.fitted = {0, 2};
    in.residualVariance = 0.0;
    in.digits = 3;
    return in;
}

TEST(FitReport, LineThroughTheOriginAndOneTwoHasEveryHeadingColumnAndPadding)
{
    const std::vector<std::string> expected = {
        "Regressionsmodell: y = m*x + c",
        kRule,
        "Anpassungsparameter     ",
        kRule,
        "   c =     0,000        ",
        "   m =     2,000        ",
        kRule,
        "Korrelationskoeffizient: r =   1,000     ",
        "                        r\xC2\xB2 =   1,000     ",
        "",
        "Messwerte",
        kRule,
        "    x           y gemessen    y berechnet      delta y      ",
        kRule,
        "  0,000          0,000          0,000          0,000        ",
        "  1,000          2,000          2,000          0,000        ",
        kRule,
        "Standardabweichung: s =   0,000     ",
        "    ",
    };
    const std::vector<std::string> report = WriteFitReport(lineThroughOriginAndOneTwo());
    ASSERT_EQ(report.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(report[i], expected[i]) << "line " << i + 1;
    }
}

TEST(FitReport, ParameterLinesOfEachModelInTheOrderOfItsFormula)
{
    struct Case {
        const char* name;
        int model;
        std::vector<std::string> names;
        std::vector<double> params;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"quadratic: the x^2 coefficient first",
         kRegQuadratic,
         {"a0", "a1", "a2"},
         {1, -2, 3},
         {"   a =     3,000        ", "   b =    -2,000        ", "   c =     1,000        "}},
        {"polynomial of degree 3: the model's names",
         kRegPolynomial,
         {"a0", "a1", "a2", "a3"},
         {1, 2, 3, 4},
         {"   a0 =    1,000        ", "   a1 =    2,000        ", "   a2 =    3,000        ",
          "   a3 =    4,000        "}},
        {"exponential: b with the sign opposite to P[2]",
         kRegExponential,
         {"a", "b"},
         {0, 3, 0.5},
         {"   a =     3,000        ", "   b =    -0,500        "}},
        {"exponential growing",
         kRegExponential,
         {"a", "b"},
         {0, 3, -0.5},
         {"   a =     3,000        ", "   b =     0,500        "}},
        {"bounded growth: c is P[2] times P[0]",
         kRegBoundedGrowth,
         {"a", "b", "k"},
         {4, 0.5, 2},
         {"   a =     4,000        ", "   b =    -0,500        ", "   c =     8,000        "}},
        {"proportional", kRegProportional, {"m"}, {-1.5}, {"   m =    -1,500        "}},
        {"logistic: a = P[1], b = -P[2], c = P[3]",
         kRegLogistic,
         {"a", "b", "c"},
         {0, 10, 1, -2},
         {"   a =    10,000        ", "   b =    -1,000        ", "   c =    -2,000        "}},
        {"power", kRegPower, {"a", "z"}, {2, 1.5}, {"   a =     2,000        ", "   z =     1,500        "}},
        {"a zeroed parameter has no minus sign",
         kRegExponential,
         {"a", "b"},
         {0, 3, 0},
         {"   a =     3,000        ", "   b =     0,000        "}},
        {"a long name is not cut",
         kRegRational,
         {"numerator0"},
         {123456.0},
         {"   numerator0 =   1,235 E+5    "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FitReportInput in = lineThroughOriginAndOneTwo();
        in.regModel = c.model;
        in.paramNames = c.names;
        in.params = c.params;
        EXPECT_EQ(parameterLines(WriteFitReport(in)), c.lines);
    }
}

TEST(FitReport, SineReportNamesItsModelAndTakesRSquaredAndVarianceAsGiven)
{
    FitReportInput in = lineThroughOriginAndOneTwo();
    in.regModel = kRegSine;
    in.formulaText = "not shown";
    in.paramNames.clear();
    in.params = {2, 1, 0.5, -1};
    in.r = -0.5;
    in.r2 = 0.25;
    in.residualVariance = 4.0;
    const std::vector<std::string> report = WriteFitReport(in);
    EXPECT_EQ(report.front(), "Regressionsmodell: f(x)=a sin(bx + c)+ d");
    EXPECT_EQ(parameterLines(report),
              (std::vector<std::string>{"   a =     2,000        ", "   b =     1,000        ",
                                        "   c =     0,500        ", "   d =    -1,000        "}));
    EXPECT_NE(std::find(report.begin(), report.end(), "Korrelationskoeffizient: r =  -0,500     "),
              report.end());
    EXPECT_NE(std::find(report.begin(), report.end(), std::string(24, ' ') + "r\xC2\xB2 =   0,250     "),
              report.end());
    EXPECT_EQ(report[report.size() - 2], "Standardabweichung: s =   2,000     ");
}

TEST(FitReport, RowsShowMeasuredFittedAndDifferenceEvenInExponentForm)
{
    FitReportInput in = lineThroughOriginAndOneTwo();
    in.points = {{-1.5, 1e-11}, {250, -3}};
    in.fitted = {0.25, -2.5};
    const std::vector<std::string> report = WriteFitReport(in);
    // Rows follow the second rule under "Messwerte".
    const auto header = std::find(report.begin(), report.end(), "Messwerte");
    ASSERT_NE(header, report.end());
    EXPECT_EQ(*(header + 4), " -1,500          0,000          0,250         -0,250        ");
    EXPECT_EQ(*(header + 5), "  2,500 E+2     -3,000         -2,500         -0,500        ");
}

TEST(FitReport, PaddingCountsCharactersAndKeepsLongerTexts)
{
    const struct {
        std::string text;
        int n;
        std::string padded;
    } cases[] = {
        {"ab", 5, "ab  "}, {"abcd", 5, "abcd"}, {"abcdef", 5, "abcdef"},
        {"", 1, ""},       {"x", 0, "x"},       {"r\xC2\xB2", 4, "r\xC2\xB2 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text + " to " + std::to_string(c.n));
        EXPECT_EQ(PadReportText(c.text, c.n), c.padded);
    }
}

TEST(FitReport, TenPointLineReportPrintsTwentySixLinesAndStopsBeforeTheEndMark)
{
    FitReportInput in = lineThroughOriginAndOneTwo();
    in.points.clear();
    in.fitted.clear();
    for (int i = 0; i < 10; ++i) {
        in.points.push_back({double(i), 2.0 * i});
        in.fitted.push_back(2.0 * i);
    }
    const std::vector<std::string> report = WriteFitReport(in);
    const std::vector<std::string> printed = PrintedReportLines(report);
    EXPECT_EQ(printed.size(), 26u);
    EXPECT_EQ(printed.back(), "Standardabweichung: s =   0,000     ");
    EXPECT_EQ(report.back(), kReportEndMark);

    // An edited report prints up to its first end mark, or everything without one.
    EXPECT_EQ(PrintedReportLines({"a", "    ", "b", "    "}), (std::vector<std::string>{"a"}));
    EXPECT_EQ(PrintedReportLines({"a", "   ", "b"}), (std::vector<std::string>{"a", "   ", "b"}));
    EXPECT_TRUE(PrintedReportLines({}).empty());
}

TEST(FitReport, LinesPerPageKeepTwentyMillimetresFreeAboveAndBelow)
{
    const struct {
        int height;
        int lines;
    } cases[] = {
        // A4 with 5 mm printer margins: line 65 ends at 200 + 64 * 38 + 35 = 2667, within 2670.
        {2870, 65}, {435, 1}, {434, 1}, {472, 1}, {473, 2}, {0, 1}, {-50, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        EXPECT_EQ(ReportLinesPerPage(c.height), c.lines);
    }
}

TEST(FitReport, AHundredAndTwentyLineReportGoesOnTwoPagesInOrder)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 120; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    const auto pages = PaginateReport(lines, ReportLinesPerPage(2870));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 65u);
    EXPECT_EQ(pages[1].size(), 55u);
    EXPECT_EQ(pages[0].front(), "line 0");
    EXPECT_EQ(pages[1].front(), "line 65");
    EXPECT_EQ(pages[1].back(), "line 119");

    EXPECT_EQ(PaginateReport(lines, 120).size(), 1u);
    EXPECT_EQ(PaginateReport(lines, 0).size(), 120u) << "at least one line per page";
    EXPECT_TRUE(PaginateReport({}, 10).empty());
}

} // namespace
} // namespace kurvex

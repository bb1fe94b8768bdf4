// The fit report "Auswertungsprotokoll": its lines for a finished fit, the lines that go to the
// printer, and how they are spread over pages.
#pragma once

#include "core/PlotPoints.h"

#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

struct FitReportInput {
    int regModel = 0;
    // The model's formula and its parameter names from firstParam on (not used for the sine).
    std::string formulaText;
    int firstParam = 0;
    std::vector<std::string> paramNames;
    // The parameters by index (tiny values zeroed), or a, b, c, d of the sine.
    std::vector<double> params;
    // r and R2 as the label shows them (R2 inverted when above 1; the sine's r squared).
    double r = 0.0;
    double r2 = 0.0;
    // The points sorted by x and the fitted values at them.
    std::vector<DataPoint> points;
    std::vector<double> fitted;
    // Residual variance of the fit; its root is the standard deviation.
    double residualVariance = 0.0;
    int digits = 3;
};

// The last line of every report; printing stops before it.
inline constexpr std::string_view kReportEndMark = "    ";

// s followed by blanks up to n - 1 characters; a longer s stays as it is.
std::string PadReportText(std::string_view s, int n);

// The report of a fit, one string per line (UTF-8), ending with kReportEndMark.
std::vector<std::string> WriteFitReport(const FitReportInput& input);

// The lines printing takes: up to the first end mark (not printed) or the last line.
std::vector<std::string> PrintedReportLines(const std::vector<std::string>& lines);

// The printed report's geometry in tenths of a millimetre: 20 mm from the left and top edge of the
// printable area, 3.8 mm per line, a 3.5 mm font, and the same 20 mm kept free at the bottom.
inline constexpr int kReportLeft = 200;
inline constexpr int kReportTop = 200;
inline constexpr int kReportBottom = 200;
inline constexpr int kReportLinePitch = 38;
inline constexpr int kReportFontHeight = 35;

// How many lines fit on a page whose printable area is this high (tenths of a millimetre); at least
// one, so that every report is printed whatever the paper.
int ReportLinesPerPage(int printableHeight);

// The lines in pages of at most linesPerPage lines (at least one per page); no page for no lines.
std::vector<std::vector<std::string>> PaginateReport(const std::vector<std::string>& lines, int linesPerPage);

} // namespace kurvex

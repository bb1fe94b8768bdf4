// Point files of the fitting window: the own ".dat" format and four text formats, written and
// read; and the numbers of the value table's cells.
#pragma once

#include "core/PlotPoints.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// The save dialog's filters in their order: the own format, then tab or ";" between x and y with a
// decimal comma or point.
enum class PointFileFormat { Own = 1, TabComma, TabPoint, SemicolonComma, SemicolonPoint };

inline constexpr const char* kPointFileHeader = "Regression";

// v with up to 15 significant digits, trailing zeros dropped, the given decimal separator, and
// an exponent ("1,5E-7", "2E+20") outside 1e-5 <= |v| < 1e15. Never depends on the process locale.
std::string PointNumberText(double v, char decimalSeparator);
// A number as files and cells write it: decimal comma or point, an optional leading "+" or "-",
// an "e" or "E" exponent, blanks anywhere. Nothing for any other text or a value not finite.
std::optional<double> ParsePointNumber(std::string_view text);

// The lines of a point file of the points in the order given (callers sort them by x).
std::vector<std::string> PointFileLines(const std::vector<DataPoint>& points, PointFileFormat format);
// The file a save writes for the chosen name: its ".dat" or ".txt" suffix (any case) replaced by
// the format's, any other name kept whole with the format's suffix added.
std::string PointFileTarget(const std::string& chosenPath, PointFileFormat format);
// Writes the file through a temporary file and a rename (CR LF); a German description of a
// failure, else an empty text.
std::string WritePointFile(const std::string& path, const std::vector<DataPoint>& points,
                           PointFileFormat format);

struct PointFileContent {
    std::vector<DataPoint> points;
    // Why nothing was loaded (German, with the line number), or empty.
    std::string error;
    // Said after loading: a file with more points than the window keeps was cut.
    std::string notice;
};

// Whether a file goes to the text reader: its name ends in ".txt", in any case.
bool IsTextPointFile(std::string_view path);
// The own format: "Regression", a count, then that many lines "x;y" (at most kMaxPlotPoints are
// taken). A wrong first line or a count below 1 loads nothing, without an error.
PointFileContent ReadOwnPointLines(const std::vector<std::string>& lines);
// Text format: every non-empty line one point, at most kMaxTablePoints; a notice says when the
// file held more.
PointFileContent ReadTextPointLines(const std::vector<std::string>& lines);
// Reads the file with the reader its name selects.
PointFileContent ReadPointFile(const std::string& path);

// The value of a value-table cell: a constant expression such as "2*pi" or "1/3", nothing when it
// does not compile or is undefined. Compiled without a message.
std::optional<double> CellValue(std::string_view text);
// The text a cell keeps for a value: as in the files, with a decimal comma.
std::string CellText(double value);

} // namespace kurvex

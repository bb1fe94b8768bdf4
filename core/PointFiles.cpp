// Point files of the fitting window: writing the five formats, reading ".dat" and ".txt", and the
// numbers of the value table's cells.
#include "core/PointFiles.h"

#include "core/term/Term.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kurvex {

namespace {

constexpr int kSignificantDigits = 15;
constexpr int kLowestFixedExponent = -5;
constexpr int kFirstScientificExponent = 15;

std::string removeBlanks(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c != ' ' && c != '\t') {
            out.push_back(c);
        }
    }
    return out;
}

bool blankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string lineError(std::size_t lineNumber, std::string_view what)
{
    return "Die Datei wurde nicht geladen: In Zeile " + std::to_string(lineNumber) + " " + std::string(what);
}

// One data line: "." and "," are decimal signs, TAB and ";" separate x and y; a third column is
// ignored and an empty y counts as 0.
std::optional<DataPoint> parseDataLine(std::string_view line, std::size_t lineNumber, std::string& error)
{
    std::string text(line);
    std::replace(text.begin(), text.end(), '\t', ';');
    const std::size_t first = text.find(';');
    if (first == std::string::npos) {
        error = lineError(lineNumber, "fehlt das Trennzeichen (; oder Tab) zwischen x und y.");
        return std::nullopt;
    }
    const std::size_t second = text.find(';', first + 1);
    std::string yText =
        removeBlanks(text.substr(first + 1, second == std::string::npos ? second : second - first - 1));
    if (yText.empty()) {
        yText = "0";
    }
    const auto x = ParsePointNumber(text.substr(0, first));
    const auto y = ParsePointNumber(yText);
    if (!x || !y) {
        error = lineError(lineNumber, "steht keine g\xC3\xBCltige Zahl.");
        return std::nullopt;
    }
    return DataPoint{*x, *y};
}

// Reads the data lines from index first on, skipping empty ones, until limit points are read;
// cut tells whether a further data line followed them.
PointFileContent readDataLines(const std::vector<std::string>& lines, std::size_t first, std::size_t limit,
                               bool& cut)
{
    PointFileContent content;
    cut = false;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (blankLine(lines[i])) {
            continue;
        }
        if (content.points.size() == limit) {
            cut = true;
            break;
        }
        const auto point = parseDataLine(lines[i], i + 1, content.error);
        if (!point) {
            content.points.clear();
            return content;
        }
        content.points.push_back(*point);
    }
    return content;
}

std::string cutNotice(std::size_t limit, std::size_t taken)
{
    return "Die Datei enth\xC3\xA4lt mehr als " + std::to_string(limit) + " Punkte; die ersten " +
           std::to_string(taken) + " wurden geladen.";
}

} // namespace

std::string PointNumberText(double v, char decimalSeparator)
{
    if (!std::isfinite(v) || v == 0.0) {
        return "0";
    }
    char buf[64];
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, kSignificantDigits - 1);
    if (ec != std::errc()) {
        return "0";
    }
    const std::string_view sci(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = sci.find('e');
    const bool negative = sci.front() == '-';
    std::string digits;
    for (const char c : sci.substr(0, e)) {
        if (c >= '0' && c <= '9') {
            digits.push_back(c);
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    int exponent = 0;
    const std::string_view expText = sci.substr(e + 1);
    std::from_chars(expText.data() + (expText.front() == '+' ? 1 : 0), expText.data() + expText.size(),
                    exponent);

    std::string out = negative ? "-" : "";
    if (exponent < kLowestFixedExponent || exponent >= kFirstScientificExponent) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) {
            out += decimalSeparator;
            out += digits.substr(1);
        }
        out += exponent < 0 ? "E-" : "E+";
        out += std::to_string(std::abs(exponent));
        return out;
    }
    if (exponent < 0) {
        out += "0";
        out += decimalSeparator;
        out += std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        return out;
    }
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
        return out + digits + std::string(whole - digits.size(), '0');
    }
    return out + digits.substr(0, whole) + decimalSeparator + digits.substr(whole);
}

std::optional<double> ParsePointNumber(std::string_view text)
{
    std::string s = removeBlanks(text);
    std::replace(s.begin(), s.end(), ',', '.');
    if (!s.empty() && s.front() == '+') {
        s.erase(0, 1);
    }
    // from_chars would also take "inf", "nan" and hexadecimal digits; only decimal text is a number.
    if (s.empty() || s.find_first_not_of("0123456789.-+eE") != std::string::npos) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> PointFileLines(const std::vector<DataPoint>& points, PointFileFormat format)
{
    const bool comma = format == PointFileFormat::Own || format == PointFileFormat::TabComma ||
                       format == PointFileFormat::SemicolonComma;
    const bool tab = format == PointFileFormat::TabComma || format == PointFileFormat::TabPoint;
    const char separator = comma ? ',' : '.';
    std::vector<std::string> lines;
    if (format == PointFileFormat::Own) {
        lines.emplace_back(kPointFileHeader);
        lines.push_back(std::to_string(points.size()));
    }
    for (const DataPoint& p : points) {
        lines.push_back(PointNumberText(p.x, separator) + (tab ? "\t" : ";") +
                        PointNumberText(p.y, separator));
    }
    return lines;
}

std::string PointFileTarget(const std::string& chosenPath, PointFileFormat format)
{
    const std::string suffix = format == PointFileFormat::Own ? ".dat" : ".txt";
    const std::size_t slash = chosenPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = chosenPath.find_last_of('.');
    if (dot != std::string::npos && dot > nameStart) {
        const std::string ext = lowerAscii(std::string_view(chosenPath).substr(dot));
        if (ext == ".dat" || ext == ".txt") {
            return chosenPath.substr(0, dot) + suffix;
        }
    }
    return chosenPath + suffix;
}

std::string WritePointFile(const std::string& path, const std::vector<DataPoint>& points,
                           PointFileFormat format)
{
    return WriteTextLines(path, PointFileLines(points, format));
}

bool IsTextPointFile(std::string_view path)
{
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return false;
    }
    return lowerAscii(path.substr(dot)) == ".txt";
}

PointFileContent ReadOwnPointLines(const std::vector<std::string>& lines)
{
    if (lines.size() < 2 || lines[0] != kPointFileHeader) {
        return {};
    }
    const std::string countText = removeBlanks(lines[1]);
    long long count = 0;
    const auto [ptr, ec] = std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (ec != std::errc() || ptr != countText.data() + countText.size() || count < 1) {
        return {};
    }
    const bool cut = count > static_cast<long long>(kMaxPlotPoints);
    bool more = false;
    PointFileContent content =
        readDataLines(lines, 2, cut ? kMaxPlotPoints : static_cast<std::size_t>(count), more);
    if (cut && content.error.empty()) {
        content.notice = cutNotice(kMaxPlotPoints, content.points.size());
    }
    return content;
}

PointFileContent ReadTextPointLines(const std::vector<std::string>& lines)
{
    bool cut = false;
    PointFileContent content = readDataLines(lines, 0, kMaxTablePoints, cut);
    if (cut && content.error.empty()) {
        content.notice = cutNotice(kMaxTablePoints, content.points.size());
    }
    return content;
}

PointFileContent ReadPointFile(const std::string& path)
{
    const TextFileContent file = ReadTextFile(path);
    if (!file.lines || !file.cause.empty()) {
        PointFileContent content;
        content.error = ReadFailureText(path, file.cause.empty() ? "nicht gefunden" : file.cause);
        return content;
    }
    return IsTextPointFile(path) ? ReadTextPointLines(*file.lines) : ReadOwnPointLines(*file.lines);
}

std::optional<double> CellValue(std::string_view text)
{
    if (blankLine(text)) {
        return std::nullopt;
    }
    // Cells hold UTF-8; the compiler reads the program's single-byte terms (π and Φ included).
    TermTree tree;
    if (!CompileTermSilently(tree, TermFromUtf8(text), false)) {
        return std::nullopt;
    }
    const double v = EvaluateDerivative(tree, 0, 0, 0, 0, 0, 0, 0, 0);
    if (!EvalOk || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::string CellText(double value)
{
    return PointNumberText(value, ',');
}

} // namespace kurvex

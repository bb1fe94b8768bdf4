// The fit report, its printed lines and its pages.
#include "core/FitReport.h"

#include "core/FitCheck.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kurvex {

namespace {

const std::string kRule(60, '-');

// Characters, not bytes: a UTF-8 continuation byte starts no character.
std::size_t characterCount(std::string_view s)
{
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

double param(const std::vector<double>& p, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < p.size() ? p[static_cast<std::size_t>(i)] : 0.0;
}

// The parameters as the report names them: the model's own names, or a, b, c in the order of the
// formula where the term is written differently from the fitted parameters.
std::vector<std::pair<std::string, double>> namedParameters(const FitReportInput& in)
{
    const auto& P = in.params;
    const int last = in.firstParam + static_cast<int>(in.paramNames.size()) - 1;
    switch (in.regModel) {
    case kRegSine:
        return {{"a", param(P, 0)}, {"b", param(P, 1)}, {"c", param(P, 2)}, {"d", param(P, 3)}};
    case kRegExponential:
        return {{"a", param(P, 1)}, {"b", -param(P, 2)}};
    case kRegBoundedGrowth:
        return {{"a", param(P, 0)}, {"b", -param(P, 1)}, {"c", param(P, 2) * param(P, 0)}};
    case kRegProportional:
        return {{"m", param(P, 0)}};
    case kRegLogistic:
        return {{"a", param(P, 1)}, {"b", -param(P, 2)}, {"c", param(P, 3)}};
    case kRegPolynomial:
    case kRegQuadratic:
        if (last == 2) {
            return {{"a", param(P, 2)}, {"b", param(P, 1)}, {"c", param(P, 0)}};
        }
        break;
    default:
        break;
    }
    std::vector<std::pair<std::string, double>> named;
    for (int i = in.firstParam; i <= last; ++i) {
        named.emplace_back(in.paramNames[static_cast<std::size_t>(i - in.firstParam)], param(P, i));
    }
    return named;
}

} // namespace

std::string PadReportText(std::string_view s, int n)
{
    std::string out(s);
    const std::size_t length = characterCount(s);
    const auto wanted = static_cast<std::size_t>(std::max(0, n - 1));
    if (length < wanted) {
        out.append(wanted - length, ' ');
    }
    return out;
}

std::vector<std::string> WriteFitReport(const FitReportInput& in)
{
    const auto FZ = [&in](double v) { return FormatNumberZeroed(in.digits, v); };
    const auto column = [&FZ](double v) { return PadReportText(FZ(v), 16); };
    const bool sine = in.regModel == kRegSine;

    std::vector<std::string> lines;
    lines.push_back(sine ? "Regressionsmodell: f(x)=a sin(bx + c)+ d"
                         : "Regressionsmodell: " + in.formulaText);
    lines.push_back(kRule);
    lines.push_back(PadReportText("Anpassungsparameter", 25));
    lines.push_back(kRule);
    for (const auto& [name, value] : namedParameters(in)) {
        lines.push_back(PadReportText("   " + name + " = ", 10) + column(value));
    }
    lines.push_back(kRule);
    lines.push_back("Korrelationskoeffizient: r = " + FZ(in.r));
    lines.push_back(std::string(24, ' ') + "r\xC2\xB2 = " + FZ(in.r2));
    lines.emplace_back();
    lines.emplace_back("Messwerte");
    lines.push_back(kRule);
    lines.push_back(PadReportText("    x", 16) + PadReportText(" y gemessen", 16) +
                    PadReportText("y berechnet", 16) + PadReportText("  delta y", 16));
    lines.push_back(kRule);
    for (std::size_t i = 0; i < in.points.size(); ++i) {
        const DataPoint& p = in.points[i];
        const double c = i < in.fitted.size() ? in.fitted[i] : 0.0;
        lines.push_back(column(p.x) + column(p.y) + column(c) + column(p.y - c));
    }
    lines.push_back(kRule);
    lines.push_back("Standardabweichung: s = " + FormatNumber(in.digits, std::sqrt(in.residualVariance)));
    lines.emplace_back(kReportEndMark);
    return lines;
}

std::vector<std::string> PrintedReportLines(const std::vector<std::string>& lines)
{
    const auto end = std::find(lines.begin(), lines.end(), kReportEndMark);
    return {lines.begin(), end};
}

int ReportLinesPerPage(int printableHeight)
{
    // Line i stands at kReportTop + i * pitch and needs its font height above the bottom margin.
    const int room = printableHeight - kReportTop - kReportBottom - kReportFontHeight;
    return room < 0 ? 1 : room / kReportLinePitch + 1;
}

std::vector<std::vector<std::string>> PaginateReport(const std::vector<std::string>& lines, int linesPerPage)
{
    const auto perPage = static_cast<std::size_t>(std::max(1, linesPerPage));
    std::vector<std::vector<std::string>> pages;
    for (std::size_t first = 0; first < lines.size(); first += perPage) {
        const std::size_t last = std::min(lines.size(), first + perPage);
        pages.emplace_back(lines.begin() + static_cast<std::ptrdiff_t>(first),
                           lines.begin() + static_cast<std::ptrdiff_t>(last));
    }
    return pages;
}

} // namespace kurvex

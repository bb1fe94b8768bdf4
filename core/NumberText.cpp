// Number text with a decimal comma, and small string helpers.
#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace kurvex {
namespace {

// Decimals beyond this only show binary noise; the bound also keeps the buffer small.
constexpr int kMaxDecimals = 20;
constexpr int kMaxWidth = 255;

// x with d decimals and a point; a zero never carries a minus sign.
std::string fixedText(double x, int d)
{
    char buf[400];
    const auto [ptr, ec] =
        std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, std::clamp(d, 0, kMaxDecimals));
    std::string text(buf, ec == std::errc() ? ptr : buf);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return text;
}

std::string formatNumber(int D, double x, bool padded)
{
    if (!std::isfinite(x))
        return kUndefinedNumberText;
    D = std::clamp(D, 0, kMaxDecimals);
    const double a = std::fabs(x);
    const bool fixed = a < 100.0 && (a > 0.1 || a < 1e-20);
    if (!fixed)
        return PointToComma(FloatStrSci(D + 3, D, x));
    std::string text = FloatStrFixed(D + 4, D, x);
    if (padded)
        text += "     ";
    return PointToComma(text);
}

} // namespace

std::string FloatStrFixed(int w, int d, double x)
{
    if (!std::isfinite(x))
        return kUndefinedNumberText;
    std::string text = fixedText(x, d);
    const auto width = static_cast<std::size_t>(std::clamp(w, 0, kMaxWidth));
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    return text;
}

std::string FloatStrSci(int w, int d, double x)
{
    if (!std::isfinite(x))
        return kUndefinedNumberText;
    double m = std::fabs(x);
    int e = 0;
    char sign = '+';
    if (m > 1.0) {
        while (m >= 10.0) {
            m /= 10.0;
            ++e;
        }
    } else if (m > 0.0) {
        sign = '-';
        while (m < 0.999999999) {
            m *= 10.0;
            ++e;
        }
    }
    const std::string mantissa = FloatStrFixed(w, d, x < 0 ? -m : m);
    return " " + mantissa + " E" + sign + std::to_string(e);
}

std::string FormatNumberPadded(int D, double x)
{
    return formatNumber(D, x, true);
}

std::string FormatNumber(int D, double x)
{
    return formatNumber(D, x, true);
}

std::string FormatNumberShort(int D, double x)
{
    return formatNumber(D, x, false);
}

std::string FormatNumberZeroed(int D, double x)
{
    return FormatNumberPadded(D, std::fabs(x) < 1e-10 ? 0.0 : x);
}

std::string FormatTwoDecimals(double x)
{
    if (!std::isfinite(x))
        return kUndefinedNumberText;
    return PointToComma(fixedText(x, 2));
}

std::string FormatGeneral(double x, int significantDigits, int minExponentDigits)
{
    if (!std::isfinite(x))
        return kUndefinedNumberText;
    if (x == 0.0)
        return "0";
    const int precision = std::clamp(significantDigits, 1, 17);
    // d.ddd…e±x with the wanted digits; rounding may carry into the exponent.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, precision - 1);
    const std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    const bool negative = text.front() == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (text[i] != '.')
            digits.push_back(text[i]);
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= precision || exponent < -5) {
        out += digits.front();
        if (digits.size() > 1) {
            out += ',';
            out.append(digits, 1);
        }
        out += 'E';
        if (exponent < 0)
            out += '-';
        const std::string exponentDigits = std::to_string(std::abs(exponent));
        const int padding = std::clamp(minExponentDigits, 1, 4) - static_cast<int>(exponentDigits.size());
        out.append(static_cast<std::size_t>(std::max(0, padding)), '0');
        out += exponentDigits;
        return out;
    }
    if (exponent < 0) {
        out += "0,";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto intDigits = static_cast<std::size_t>(exponent + 1);
    if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
        return out;
    }
    out.append(digits, 0, intDigits);
    out += ',';
    out.append(digits, intDigits);
    return out;
}

std::string IntToStrPlain(long long i)
{
    return std::to_string(i);
}

std::string PointToComma(std::string_view s)
{
    std::string out(s);
    std::replace(out.begin(), out.end(), '.', ',');
    return out;
}

std::string CommaToPoint(std::string_view s)
{
    std::string out(s);
    std::replace(out.begin(), out.end(), ',', '.');
    return out;
}

std::string RepeatChar(char c, int n)
{
    return std::string(static_cast<std::size_t>(std::clamp(n, 0, 255)), c);
}

std::string PadWithChar(std::string_view s, int n, char c)
{
    std::string out(s);
    while (static_cast<long long>(out.size()) < static_cast<long long>(n) - 1)
        out += c;
    return out;
}

void SwapInt(int& a, int& b)
{
    std::swap(a, b);
}

void SwapDouble(double& a, double& b)
{
    std::swap(a, b);
}

} // namespace kurvex

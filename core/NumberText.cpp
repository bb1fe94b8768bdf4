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

// Powers of ten that a double holds exactly.
constexpr int kMaxExactPowerOfTen = 22;

std::string toChars(double x, std::chars_format format, int precision)
{
    char buf[400];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, format, precision);
    return std::string(buf, ec == std::errc() ? ptr : buf);
}

// True when x lies exactly halfway between two multiples of 10^-d; d < 0 counts tens, hundreds...
bool exactlyHalfway(double x, int d)
{
    if (d >= 0) {
        // x * 10^d is a whole number and a half exactly when x has d + 1 binary places.
        const double halves = std::ldexp(x, d + 1);
        const double wholes = std::ldexp(x, d);
        return std::isfinite(halves) && std::floor(halves) == halves && std::floor(wholes) != wholes;
    }
    if (-d > kMaxExactPowerOfTen)
        return false;
    const double step = std::pow(10.0, -d);
    return std::fmod(std::fabs(x), step) == step / 2.0;
}

// Adds one unit in the last digit of a digit text with an optional sign and point; returns whether
// the carry ran out of the leading digit, which then became 1.
bool incrementLastDigit(std::string& text)
{
    for (std::size_t i = text.size(); i-- > 0;) {
        char& c = text[i];
        if (c < '0' || c > '9')
            continue;
        if (c != '9') {
            ++c;
            return false;
        }
        c = '0';
    }
    text.insert(text.front() == '-' ? 1 : 0, 1, '1');
    return true;
}

// x with d decimals and a point; a zero never carries a minus sign.
std::string fixedText(double x, int d)
{
    std::string text = DecimalText(x, std::chars_format::fixed, std::clamp(d, 0, kMaxDecimals));
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

std::string DecimalText(double x, std::chars_format format, int precision)
{
    if (!std::isfinite(x) || x == 0.0)
        return toChars(x, format, precision);
    if (format == std::chars_format::fixed) {
        if (!exactlyHalfway(x, precision))
            return toChars(x, format, precision);
        // One decimal more is exact and ends in the 5 that is rounded up.
        std::string text = toChars(x, format, precision + 1);
        text.pop_back();
        if (text.back() == '.')
            text.pop_back();
        incrementLastDigit(text);
        return text;
    }
    // Scientific: one digit more shows the exponent the rounded place belongs to.
    const std::string longer = toChars(x, format, precision + 1);
    const std::size_t e = longer.find('e');
    int exponent = 0;
    std::from_chars(longer.data() + e + (longer[e + 1] == '+' ? 2 : 1), longer.data() + longer.size(),
                    exponent);
    if (!exactlyHalfway(x, precision - exponent))
        return toChars(x, format, precision);
    std::string mantissa = longer.substr(0, e - 1);
    if (mantissa.back() == '.')
        mantissa.pop_back();
    if (incrementLastDigit(mantissa)) {
        // 9.95 became 10.0: one place to the left, one more in the exponent.
        const std::size_t point = mantissa.find('.');
        if (point != std::string::npos) {
            std::swap(mantissa[point], mantissa[point - 1]);
            mantissa.pop_back();
        } else {
            mantissa.pop_back();
        }
        ++exponent;
    }
    const std::string digits = std::to_string(std::abs(exponent));
    return mantissa + (exponent < 0 ? "e-" : "e+") + (digits.size() < 2 ? "0" : "") + digits;
}

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
    const std::string text = DecimalText(x, std::chars_format::scientific, precision - 1);
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

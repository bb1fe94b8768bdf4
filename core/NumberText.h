// Number text with a decimal comma, and small string helpers.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace kurvex {

// Shown instead of a number that is infinite or not a number.
inline constexpr const char* kUndefinedNumberText = "nicht definiert";

// Fixed form when 0.1 < |x| < 100 or |x| < 1e-20, else scientific; D decimals, decimal comma.
// The fixed form is followed by five blanks.
std::string FormatNumberPadded(int D, double x);
// The text edits and labels show; the same as FormatNumberPadded.
std::string FormatNumber(int D, double x);
// As FormatNumberPadded without the five trailing blanks.
std::string FormatNumberShort(int D, double x);
// A fixed zero when |x| < 1e-10, else FormatNumberPadded.
std::string FormatNumberZeroed(int D, double x);
// x rounded to two decimals, with a decimal comma and no padding.
std::string FormatTwoDecimals(double x);
// The shortest text of x with at most significantDigits digits and a decimal comma, trailing
// zeros dropped: fixed while the integer part has at most significantDigits digits and
// |x| >= 0.00001, else scientific ("1,5E20", "1E-6") with at least minExponentDigits exponent
// digits and no plus sign.
std::string FormatGeneral(double x, int significantDigits, int minExponentDigits);

// std::to_chars of a finite x in fixed form with `precision` decimals, or in scientific form with
// `precision` decimals in the mantissa ("1.25e+02"), except that a value lying exactly halfway
// between two texts rounds away from zero, as pupils round by hand.
std::string DecimalText(double x, std::chars_format format, int precision);

// x with d decimals and a decimal point, right-aligned in at least w characters.
std::string FloatStrFixed(int w, int d, double x);
// " " + mantissa as FloatStrFixed(w, d, m) + " E" + exponent sign + exponent digits.
std::string FloatStrSci(int w, int d, double x);
std::string IntToStrPlain(long long i);

std::string PointToComma(std::string_view s);
std::string CommaToPoint(std::string_view s);
// n copies of c, n from 0 to 255.
std::string RepeatChar(char c, int n);
// s with c appended while its length is below n - 1.
std::string PadWithChar(std::string_view s, int n, char c);
void SwapInt(int& a, int& b);
void SwapDouble(double& a, double& b);

} // namespace kurvex

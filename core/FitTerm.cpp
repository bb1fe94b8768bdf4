// The fitted term and the correlation text.
#include "core/FitTerm.h"

#include "core/FitCheck.h"
#include "core/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

namespace kurvex {

namespace {

using NumberFormat = std::function<std::string(double)>;

// The shortest text that reads back as v exactly, with a decimal point.
std::string exactNumber(double v)
{
    // A negative zero would read "-0" and make "+-0" after a plus sign.
    if (v == 0.0) {
        return "0";
    }
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

double param(const std::vector<double>& p, std::size_t i)
{
    return i < p.size() ? p[i] : 0.0;
}

// Writes one model's term with the given number text; between a number and "x^" the label leaves
// the "*" to the parser, the drawn term writes it.
class TermWriter {
public:
    TermWriter(NumberFormat number, const char* times) : number_(std::move(number)), times_(times) {}

    // "+" and the number for v >= 0; a negative number carries its own "-".
    std::string signedNumber(double v) const { return (v >= 0 ? "+" : "") + number_(v); }
    std::string power(double v, int i) const { return signedNumber(v) + times_ + "x^" + std::to_string(i); }

    std::string write(const FitTermInput& in) const
    {
        const auto& P = in.params;
        const auto n = [&](std::size_t i) { return number_(param(P, i)); };
        switch (in.regModel) {
        case kRegLine:
            return n(1) + "*x" + signedNumber(param(P, 0));
        case kRegProportional:
            return n(0) + "*x";
        case kRegPolynomial:
        case kRegQuadratic:
            return polynomial(P, 0, static_cast<int>(P.size()) - 1);
        case kRegRational: {
            const int p = in.numeratorDegree;
            const int q = in.denominatorDegree;
            std::string t = "(" + polynomial(P, 0, p) + ")/(1";
            for (int j = 1; j <= q; ++j) {
                t += power(param(P, static_cast<std::size_t>(p + j)), j);
            }
            return t + ")";
        }
        case kRegExponential:
            return n(1) + "*exp(" + number_(-param(P, 2)) + "*x)";
        case kRegBoundedGrowth: {
            const double a = param(P, 0);
            const std::string scale = a >= 0 ? "-" + number_(a) : "+" + number_(-a);
            return number_(a * param(P, 2)) + scale + "*exp(" + number_(-param(P, 1)) + "*x)";
        }
        case kRegPower:
            return n(0) + "*x^" + n(1);
        case kRegLogistic:
            return n(1) + "/(1+exp(" + number_(-param(P, 2)) + "*x" + signedNumber(param(P, 3)) + "))";
        case kRegSine:
            return n(0) + "*sin(" + n(1) + "*x" + signedNumber(param(P, 2)) + ")" + signedNumber(param(P, 3));
        default:
            return "0";
        }
    }

private:
    // P[first] + P[first+1] x^1 + ... + P[first+degree] x^degree.
    std::string polynomial(const std::vector<double>& P, std::size_t first, int degree) const
    {
        std::string t = number_(param(P, first));
        for (int i = 1; i <= degree; ++i) {
            t += power(param(P, first + static_cast<std::size_t>(i)), i);
        }
        return t;
    }

    NumberFormat number_;
    const char* times_;
};

} // namespace

double ShownR2(double r2)
{
    return std::max(0.0, r2 > 1.0 ? 1.0 / r2 : r2);
}

// A slope of 0 counts as positive.
double FitCorrelation(const FitTermInput& in)
{
    if (in.regModel == kRegSine) {
        return in.sineR;
    }
    double r = std::sqrt(ShownR2(in.r2));
    if (in.regModel == kRegLine && param(in.params, 1) < 0) {
        r = -r;
    }
    if (in.regModel == kRegProportional && param(in.params, 0) < 0) {
        r = -r;
    }
    return r;
}

void ZeroTinyParameters(std::vector<double>& params)
{
    for (double& v : params) {
        if (std::fabs(v) < kTinyParameter) {
            v = 0.0;
        }
    }
}

FitTermTexts BuildFitTerm(const FitTermInput& input)
{
    const int digits = input.digits;
    const TermWriter shown([digits](double v) { return FormatNumberShort(digits, v); }, "");
    const TermWriter exact(exactNumber, "*");
    FitTermTexts texts;
    texts.term = shown.write(input);
    texts.parserTerm = exact.write(input);
    texts.termLine = "f(x) = " + texts.term + "     ";
    texts.correlation = "Korrelationskoeffizient: r = " + FormatNumberZeroed(digits, FitCorrelation(input));
    if (input.regModel == kRegSine) {
        texts.termLine += texts.correlation;
        return texts;
    }
    texts.rText = texts.correlation;
    return texts;
}

} // namespace kurvex

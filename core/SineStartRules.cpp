// Rules of the sine fit's start-value dialog.
#include "core/SineStartRules.h"

#include "core/NumberText.h"

#include <charconv>
#include <cmath>

namespace kurvex {

namespace {

constexpr double kTwoPi = 6.283185308;
constexpr int kIterationsForText = 15;
constexpr int kIterationsOutOfRange = 10;
constexpr int kMostIterations = 30;

} // namespace

double SineStartValue(double typed, double automatic, bool amplitudeOrFrequency)
{
    if (amplitudeOrFrequency && !(std::fabs(typed) >= kSmallestSineStart)) {
        return automatic;
    }
    return typed;
}

int SineIterationLimit(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) {
        return kIterationsForText;
    }
    return value >= 1 && value <= kMostIterations ? value : kIterationsOutOfRange;
}

std::string SinePeriodText(double b, int digits)
{
    const double period = kTwoPi / b;
    if (b == 0.0 || !std::isfinite(period)) {
        return "\xE2\x80\x93";
    }
    return FormatNumber(digits, period);
}

} // namespace kurvex

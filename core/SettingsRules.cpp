// Limits the settings dialog applies to typed values: integer edits, tick units and axis ends.
#include "core/SettingsRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kurvex {

std::optional<int> ParseInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

int AnimationStepsFromText(std::string_view text)
{
    const auto v = ParseInteger(text);
    return v && *v >= 20 && *v <= 3000 ? *v : 200;
}

int AnimationDelayFromText(std::string_view text)
{
    const auto v = ParseInteger(text);
    return v ? std::clamp(*v, 0, 1000) : 0;
}

int ResultDigitsFromText(std::string_view text, int oldValue)
{
    const auto v = ParseInteger(text);
    return v ? std::clamp(*v, 2, 4) : oldValue;
}

int DecimalsFromText(std::string_view text)
{
    const auto v = ParseInteger(text);
    return v ? std::clamp(*v, 0, 4) : 2;
}

int PrintSizePercentFromText(std::string_view text)
{
    const auto v = ParseInteger(text);
    return v && *v >= 20 && *v <= 200 ? *v : 100;
}

bool TickStepAccepted(double span, double step)
{
    if (!std::isfinite(span) || !std::isfinite(step) || step <= 0.0) {
        return false;
    }
    const double n = std::nearbyint(span / step);
    return std::isfinite(n) && n >= 3.0 && n <= 21.0;
}

bool AxisRangeAccepted(double lower, double upper)
{
    return std::isfinite(lower) && std::isfinite(upper) && lower < upper;
}

} // namespace kurvex

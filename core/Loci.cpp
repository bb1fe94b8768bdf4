// Computations of the loci window.
#include "core/Loci.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kurvex {

int ParseStepCount(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos) {
        return kDefaultTSteps;
    }
    const std::string_view digits = text.substr(first, last - first + 1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || value < kMinTSteps ||
        value > kMaxTSteps) {
        return kDefaultTSteps;
    }
    return value;
}

bool ValidTRange(double min, double max)
{
    return std::isfinite(min) && std::isfinite(max) && min < max && std::isfinite(max - min);
}

std::optional<double> FamilyValue(const TermTree& f, double x, double t, const CurveParams& params)
{
    if (f.empty()) {
        return std::nullopt;
    }
    const double y = EvaluateTerm(f, x, t, params.a, params.b, params.c, params.d, 0.0);
    if (!EvalOk || !std::isfinite(y)) {
        return std::nullopt;
    }
    return y;
}

std::vector<SpecialPoint> MemberSpecialPoints(const TermTree& f, double t, const CurveParams& params,
                                              double xFrom, double xTo, SpecialPointKinds kinds)
{
    const auto member = [&f, t, &params](double x) { return FamilyValue(f, x, t, params); };
    return FindSpecialPoints(member, xFrom, xTo, SignVariant::Standard, kinds);
}

TColor SpectrumPreviewColor(int spectrum, int column)
{
    const TColor i = static_cast<TColor>(std::clamp(column, 0, kSpectrumPreviewColumns - 1));
    const TColor up = 4 * i;
    const TColor down = 255 - 4 * i;
    // Red, green and blue of each spectrum, as 0x00BBGGRR.
    const auto rgb = [](TColor r, TColor g, TColor b) { return r | (g << 8) | (b << 16); };
    switch (spectrum) {
    case 2:
        return rgb(0, down, up);
    case 3:
        return rgb(down, up, 0);
    case 4:
        return rgb(down, 0, 0);
    case 5:
        return rgb(0, down, 0);
    case 6:
        return rgb(0, 0, down);
    case 7:
        return rgb(0, up, 255);
    case 8:
        return rgb(up, 0, 255);
    case 9:
        return rgb(128, 0, up);
    case 10:
        return rgb(up, 0, 128);
    case 11:
        return rgb(0, up, 128);
    case 12:
        return rgb(3 * i, 3 * i, 3 * i);
    default:
        return rgb(up, 0, down);
    }
}

ListRecord MakeLociRecord(const LociObject& object)
{
    ListRecord rec;
    rec.value[0] = object.curve ? 1.0 : 0.0;
    rec.value[1] = object.points ? 1.0 : 0.0;
    rec.value[4] = object.t;
    rec.color = object.color;
    rec.width = object.width;
    return rec;
}

LociObject ReadLociRecord(const ListRecord& record)
{
    return {record.value[0] == 1.0, record.value[1] == 1.0, record.value[4], record.color, record.width};
}

bool InsertLociObject(RecordList& list, const LociObject& object)
{
    if (ListCount(list) >= kMaxLociObjects) {
        return false;
    }
    ListInsert(list, 1, MakeLociRecord(object));
    return true;
}

} // namespace kurvex

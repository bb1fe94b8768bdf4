// Settings file (table of settings, loading with limits, saving, defaults) and the fraction text.
#include "core/Settings.h"

#include "core/NumberText.h"
#include "core/term/Term.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

namespace kurvex {
namespace {

using R = IniSettingsRecord;

constexpr const char* kColors = "Farben";
constexpr const char* kFactor = "Faktor";
constexpr const char* kInput = "Eingabe";
constexpr const char* kParams = "Parameter";
constexpr const char* kPoints = "xP xQ Koordinaten";
constexpr const char* kSequence = "Folgen Grenzwert";
constexpr const char* kEpsDelta = "eps-delta-Umgebung maxRadius";
constexpr const char* kAxes = "Koordinatensystem";
constexpr const char* kTerms = "Funktionsterme";
constexpr const char* kAnimation = "Animation";

const SettingEntry kTable[] = {
    {kColors, "Hintergrund", &BackgroundColor, &R::backgroundColor, 0xFFFFFF},
    {kColors, "Zeichenstift", &GraphColor, &R::penColor, 0x000000},
    {kColors, "Gitter", &GridColor, &R::gridColor, 0x808080},
    {kColors, "Tangente", &TangentLineColor, &R::tangentColor, 0xFF0000},
    {kColors, "Sekante", &SecantColor, &R::secantColor, 0x800080},
    {kColors, "Dreieck", &TriangleColor, &R::triangleColor, 0x00FFFF},
    {kColors, "fStrich", &Deriv1Color, &R::deriv1Color, 0x0000FF},
    {kColors, "f2Strich", &Deriv2Color, &R::deriv2Color, 0x000080},
    {kColors, "sinus", &SinColor, &R::sinColor, 0xFF0000},
    {kColors, "cosinus", &CosColor, &R::cosColor, 0x0000FF},
    {kColors, "tangens", &TanColor, &R::tanColor, 0x000080},
    {kColors, "cotangens", &CotColor, &R::cotColor, 0x800080},
    {kColors, "flaeche", &AreaColor, &R::areaColor, 0x00FFFF},
    {kColors, "bogen", &ArcColor, &R::arcColor, 0x008000},
    {kColors, "winkel", &AngleColor, &R::angleColor, 0x00FF00},
    {kColors, "epsilon", &EpsilonColor, &R::epsilonColor, 0xC0C0C0},
    {kColors, "delta", &DeltaColor, &R::deltaColor, 0x008000},
    {kColors, "fvondelta", &FOfDeltaColor, &R::fOfDeltaColor, 0x0000FF},
    {kFactor, "drucken%", &PrintSizePercent, &R::printSize, 100},
    {kFactor, "Tangentenlänge", &TangentLength, &R::tangentLength, 1.0},
    {kInput, "Nachkommastellen", &Decimals, &R::decimals, 2},
    {kParams, "a", &ParamA, &R::a, 1.0},
    {kParams, "a1", &ParamAMin, &R::a1, -4.0},
    {kParams, "a2", &ParamAMax, &R::a2, 4.0},
    {kParams, "b", &ParamB, &R::b, 0.0},
    {kParams, "b1", &ParamBMin, &R::b1, -4.0},
    {kParams, "b2", &ParamBMax, &R::b2, 4.0},
    {kParams, "c", &ParamC, &R::c, 0.0},
    {kParams, "c1", &ParamCMin, &R::c1, -4.0},
    {kParams, "c2", &ParamCMax, &R::c2, 4.0},
    {kParams, "d", &ParamD, &R::d, 0.0},
    {kParams, "d1", &ParamDMin, &R::d1, -4.0},
    {kParams, "d2", &ParamDMax, &R::d2, 4.0},
    {kParams, "t", &ParamT, &R::t, 0.0},
    {kParams, "t1", &ParamTMin, &R::t1, -4.0},
    {kParams, "t2", &ParamTMax, &R::t2, 4.0},
    {kPoints, "xP", &PointXP, &R::xP, 1.0},
    {kPoints, "xQ", &PointXQ, &R::xQ, 2.0},
    {kSequence, "g", &SequenceLimit, &R::g, 0.0},
    {kEpsDelta, "edmax", &EpsDeltaMaxRadius, &R::edmax, 2.0},
    {kAxes, "x1", &XMin, &R::x1, -7.0},
    {kAxes, "x2", &XMax, &R::x2, 7.0},
    {kAxes, "y1", &YMin, &R::y1, -7.0},
    {kAxes, "y2", &YMax, &R::y2, 7.0},
    {kTerms, "f(x,a,b,c,d)", &TermGeneral, &R::termGeneral, 0},
    {kTerms, "f(x)", &TermText, &R::termText, 0},
    {kTerms, "f(t)", &TermOfT, &R::termOfT, 0},
    {kTerms, "af(x-u)+v", &TermShifted, &R::termShifted, 0},
    {kTerms, "Stetigkeit f1(x)", &TermPiece1, &R::termPiece1, 0},
    {kTerms, "Stetigkeit f2(x)", &TermPiece2, &R::termPiece2, 0},
    {kTerms, "Kovariation f(x)", &TermCovariation, &R::termCovariation, 0},
    {kTerms, "Bisektion f(x)", &TermBisection, &R::termBisection, 0},
    {kTerms, "Folgen a(n)", &TermSequence, &R::termSequence, 0},
    {kAnimation, "Schrittzahl", &AnimationSteps, &R::animationSteps, 200},
    {kAnimation, "Schrittzahl2", &TrigAnimationSteps, &R::trigSteps, 2},
    {kAnimation, "time", &AnimationDelay, &R::delay, 0},
    {kAxes, "Skalierung", &ShowScale, &R::scale, 1},
    {kAxes, "Gitter", &GridMode, &R::gridMode, 2},
};

// Reads one table row into the variable of the same type, cutting terms to maxTerm characters.
template <typename T> void readInto(const IniFile& ini, const SettingEntry& e, T& target, std::size_t maxTerm)
{
    if constexpr (std::is_same_v<T, TColor>) {
        target = static_cast<TColor>(ini.readInteger(e.section, e.key, static_cast<int>(e.defaultValue)));
    } else if constexpr (std::is_same_v<T, int>) {
        target = ini.readInteger(e.section, e.key, static_cast<int>(e.defaultValue));
    } else if constexpr (std::is_same_v<T, double>) {
        target = ini.readFloat(e.section, e.key, e.defaultValue);
    } else if constexpr (std::is_same_v<T, bool>) {
        target = ini.readBool(e.section, e.key, e.defaultValue != 0);
    } else {
        target = TermFromUtf8(ini.readString(e.section, e.key, ""));
        if (target.size() > maxTerm)
            target.resize(maxTerm);
    }
}

template <typename T> void writeFrom(IniFile& ini, const SettingEntry& e, const T& source)
{
    if constexpr (std::is_same_v<T, TColor>)
        ini.writeInteger(e.section, e.key, static_cast<std::int32_t>(source));
    else if constexpr (std::is_same_v<T, int>)
        ini.writeInteger(e.section, e.key, source);
    else if constexpr (std::is_same_v<T, double>)
        ini.writeFloat(e.section, e.key, source);
    else if constexpr (std::is_same_v<T, bool>)
        ini.writeBool(e.section, e.key, source);
    else
        ini.writeString(e.section, e.key, Cp1252ToUtf8(source));
}

int withinOr(int value, int low, int high, int fallback)
{
    return value >= low && value <= high ? value : fallback;
}

int clampInt(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

void validRange(double& low, double& high, double defaultLow, double defaultHigh)
{
    if (!(low < high)) {
        low = defaultLow;
        high = defaultHigh;
    }
}

// A world-window axis the mapping and the tick rule can work with.
void validAxis(double& low, double& high)
{
    const double span = high - low;
    if (!(low < high) || !(span >= 1e-4 && span <= 1e7)) {
        low = -7.0;
        high = 7.0;
    }
}

// The limits the settings dialogs apply on entry, so that a damaged or hand-edited file cannot
// bring a zero step count, a zero span or a negative precision into the program.
struct Limited {
    int& steps;
    int& trigSteps;
    int& printSize;
    int& delay;
    int& decimals;
    std::array<std::pair<double*, double*>, 5> ranges;
    double& xMin;
    double& xMax;
    double& yMin;
    double& yMax;
};

void applyLimits(const Limited& s)
{
    s.steps = withinOr(s.steps, 20, 3000, 200);
    s.trigSteps = withinOr(s.trigSteps, 1, 20, 2);
    s.printSize = withinOr(s.printSize, 20, 200, 100);
    s.delay = clampInt(s.delay, 0, 1000);
    s.decimals = clampInt(s.decimals, 0, 4);
    for (const auto& [low, high] : s.ranges)
        validRange(*low, *high, -4.0, 4.0);
    validAxis(s.xMin, s.xMax);
    validAxis(s.yMin, s.yMax);
}

} // namespace

std::span<const SettingEntry> SettingsTable()
{
    return kTable;
}

std::string SettingsFilePath()
{
    return ProgramDir + kSettingsFileName;
}

namespace {

SettingValue currentValue(const SettingEntry& e)
{
    return std::visit([](const auto* var) { return SettingValue(*var); }, e.variable);
}

std::vector<SettingValue> currentValues()
{
    std::vector<SettingValue> values;
    for (const SettingEntry& e : kTable)
        values.push_back(currentValue(e));
    return values;
}

// A term cut to the length the variables keep would be another term or a syntax error at every
// lesson; it is not used, and the message names it.
std::string refuseLongTerms(const IniFile& ini)
{
    std::vector<std::string> keys;
    for (const SettingEntry& e : kTable) {
        auto* const* term = std::get_if<std::string*>(&e.variable);
        if (!term || TermFromUtf8(ini.readString(e.section, e.key, "")).size() <= kMaxTermLength)
            continue;
        (*term)->clear();
        keys.push_back("\"" + std::string(e.key) + "\"");
    }
    if (keys.empty())
        return {};
    const bool one = keys.size() == 1;
    std::string names;
    for (const std::string& key : keys)
        names += (names.empty() ? "" : ", ") + key;
    return "In der Datei \"" + ini.path() + "\" " + (one ? "ist der Term " : "sind die Terme ") + names +
           " im Abschnitt [" + kTerms + "] länger als " + std::to_string(kMaxTermLength) + " Zeichen; " +
           (one ? "er wird" : "sie werden") + " nicht verwendet.";
}

// The store of LoadSettings and SaveSettings: the file the program loaded last.
SettingsStore& programStore()
{
    static SettingsStore store{std::string()};
    return store;
}

} // namespace

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

std::string SettingsStore::load()
{
    const IniFile ini(path_);
    for (const SettingEntry& e : kTable)
        std::visit([&](auto* var) { readInto(ini, e, *var, kMaxTermLength); }, e.variable);
    // The record is read from the file again, so it equals the file and not the variables.
    for (const SettingEntry& e : kTable)
        std::visit([&](auto field) { readInto(ini, e, IniSettings.*field, kMaxIniTermLength); }, e.field);
    const std::string longTerms = refuseLongTerms(ini);

    applyLimits({AnimationSteps,
                 TrigAnimationSteps,
                 PrintSizePercent,
                 AnimationDelay,
                 Decimals,
                 {{{&ParamAMin, &ParamAMax},
                   {&ParamBMin, &ParamBMax},
                   {&ParamCMin, &ParamCMax},
                   {&ParamDMin, &ParamDMax},
                   {&ParamTMin, &ParamTMax}}},
                 XMin,
                 XMax,
                 YMin,
                 YMax});
    R& r = IniSettings;
    applyLimits({r.animationSteps,
                 r.trigSteps,
                 r.printSize,
                 r.delay,
                 r.decimals,
                 {{{&r.a1, &r.a2}, {&r.b1, &r.b2}, {&r.c1, &r.c2}, {&r.d1, &r.d2}, {&r.t1, &r.t2}}},
                 r.x1,
                 r.x2,
                 r.y1,
                 r.y2});

    loaded_ = currentValues();
    if (!ini.readOk())
        return ini.readError() + " Es gelten die Standardwerte; die Datei bleibt unverändert.";
    return longTerms;
}

std::string SettingsStore::save()
{
    IniFile ini(path_); // as the file stands now, with what others saved since the load
    for (std::size_t row = 0; row < std::size(kTable); ++row) {
        const SettingEntry& e = kTable[row];
        const bool changed = loaded_.empty() || currentValue(e) != loaded_[row];
        if (!changed && ini.hasKey(e.section, e.key))
            continue;
        // A term the file already holds keeps its text there, such as a real π in a UTF-8 file.
        if (const auto* term = std::get_if<std::string*>(&e.variable)) {
            const auto inFile = ini.value(e.section, e.key);
            if (inFile && TermFromUtf8(*inFile) == **term)
                continue;
        }
        std::visit([&](const auto* var) { writeFrom(ini, e, *var); }, e.variable);
    }
    std::string error = ini.save();
    if (error.empty())
        loaded_ = currentValues(); // what the file now holds of this run's changes
    return error;
}

std::string LoadSettings()
{
    return LoadSettings(SettingsFilePath());
}

std::string LoadSettings(const std::string& path)
{
    programStore() = SettingsStore(path);
    return programStore().load();
}

std::string SaveSettings()
{
    return SaveSettings(SettingsFilePath());
}

std::string SaveSettings(const std::string& path)
{
    if (programStore().path() == path)
        return programStore().save();
    return SettingsStore(path).save();
}

void SetDefaultSettings()
{
    XMin = -7.0;
    XMax = 7.0;
    YMin = -7.0;
    YMax = 7.0;
    ParamA = 1.0;
    ParamB = ParamC = ParamD = ParamT = 0.0;
    for (double* low : {&ParamAMin, &ParamBMin, &ParamCMin, &ParamDMin, &ParamTMin})
        *low = -4.0;
    for (double* high : {&ParamAMax, &ParamBMax, &ParamCMax, &ParamDMax, &ParamTMax})
        *high = 4.0;
    CurrentX = 0.0;
    GridMode = 1;
    BackgroundColor = 0xFFFFFF;
    GraphColor = 0x000000;
    GridColor = 0xCCCCCC;
    TangentLineColor = 0xFF0000;
    TriangleColor = 0x00FFFF;
    Deriv1Color = 0x0000FF;
    Deriv2Color = 0x000080;
    AreaColor = 0x008000;
    EpsilonColor = 0xBBFFFF;
    DeltaColor = 0x00BB00;
    FOfDeltaColor = 0x0000FF;
    TraceMode = ShowDerivative = UseSpectrum = FixFamily = false;
    LineWidth = 1;
    ShowScale = true;
    PrintSizePercent = 100;
    AnimationSteps = 200;
    DrawScale = 1.0;
    EpsDeltaMaxRadius = 2.0;
    for (std::string* term : {&TermGeneral, &TermText, &TermOfT, &TermShifted, &TermPiece1, &TermPiece2,
                              &TermCovariation, &TermBisection, &TermSequence})
        term->clear();
    Decimals = 2;
    PointXP = 1.0;
    PointXQ = 2.0;
    SequenceLimit = 0.0;
}

void SetTrigDefaultColors()
{
    SinColor = 0xFF0000;
    CosColor = 0x0000FF;
    TanColor = 0xFF00FF;
    CotColor = 0x800080;
    AngleColor = 0x00FF00;
    ArcColor = 0x008000;
    TrigAnimationSteps = 4;
}

// ---- Fraction text ----

namespace {

// Reduces p/q by their greatest common divisor; false when the arithmetic failed.
bool reduceFraction(double& p, double& q)
{
    double divisor = 1.0;
    if (std::fabs(p) < 2147483647.0 && std::fabs(q) < 2147483647.0) {
        auto a = static_cast<std::int64_t>(std::nearbyint(std::fabs(p)));
        auto b = static_cast<std::int64_t>(std::nearbyint(std::fabs(q)));
        while (b != 0) {
            const std::int64_t r = a % b;
            a = b;
            b = r;
        }
        divisor = static_cast<double>(a);
    } else {
        double a = std::fabs(p);
        double b = std::fabs(q);
        while (b >= 0.5) {
            const double r = a - std::trunc(a / b) * b;
            a = b;
            b = r;
            if (!std::isfinite(a) || !std::isfinite(b))
                return false;
        }
        divisor = a;
    }
    if (!(divisor > 0.0) || !std::isfinite(divisor))
        return false;
    p /= divisor;
    q /= divisor;
    return std::isfinite(p) && std::isfinite(q);
}

// Digits of a whole number held in a double, without a sign for zero.
std::string wholeNumberText(double v)
{
    if (v == 0.0)
        return "0";
    char buf[400];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 0);
    return ec == std::errc() ? std::string(buf, ptr) : std::string();
}

// Decimal text of x with ten decimals and trailing zeros dropped (one decimal stays); values of
// 1e18 and more are written as plain digits from an 18-digit mantissa.
std::string decimalFallbackText(double x)
{
    char buf[400];
    if (std::fabs(x) >= 1e18) {
        const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 17);
        const std::string sci(buf, ec == std::errc() ? ptr : buf);
        const std::size_t e = sci.find('e');
        if (e == std::string::npos)
            return sci;
        const int exponent = std::stoi(sci.substr(e + 1));
        std::string out;
        for (const char c : sci.substr(0, e)) {
            if (c != '.')
                out += c;
        }
        const std::size_t sign = out.front() == '-' ? 1 : 0;
        while (out.size() - sign < static_cast<std::size_t>(exponent) + 1)
            out += '0';
        return out;
    }
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 10);
    std::string text(buf, ec == std::errc() ? ptr : buf);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    for (std::size_t sep = text.find(',');
         sep != std::string::npos && text.back() == '0' && sep < text.size() - 2;)
        text.pop_back();
    return text;
}

} // namespace

bool ContinuedFraction(double& p, double& q, double tol, double x)
{
    p = 0.0;
    q = 1.0;
    if (!std::isfinite(x) || !(tol > 0.0))
        return false;
    const double ax = std::fabs(x);
    double y = ax;
    p = 1.0;
    q = 0.0;
    double prevP = 0.0;
    double prevQ = 1.0;
    for (int step = 0; step < 50; ++step) {
        const double a = std::trunc(y + tol);
        const double newP = a * p + prevP;
        const double newQ = a * q + prevQ;
        prevP = p;
        prevQ = q;
        p = newP;
        q = newQ;
        if (!reduceFraction(p, q))
            break;
        const double r = y - a;
        if (r < tol)
            break;
        y = 1.0 / r;
        if (!(std::fabs(ax - p / q) >= tol))
            break;
    }
    const bool found = q != 0.0 && std::fabs(ax - p / q) < tol;
    if (x < 0)
        p = -p;
    return found;
}

std::string FloatToFractionText(bool mixed, double x)
{
    if (!std::isfinite(x))
        return kUndefinedNumberText;
    double p = 0.0;
    double q = 1.0;
    const bool ok = ContinuedFraction(p, q, 1e-15, x);
    if (!ok || std::fabs(p) * std::fabs(q) > 1e14)
        return decimalFallbackText(x);
    if (q == 1.0)
        return wholeNumberText(p);
    if (mixed && std::fabs(x) > 1.0) {
        const double whole = std::trunc(std::fabs(x));
        const double rest = std::fabs(p) - whole * q;
        return std::string(x < 0 ? "-" : "") + wholeNumberText(whole) + "'" + wholeNumberText(rest) + "/" +
               wholeNumberText(q);
    }
    return wholeNumberText(p) + "/" + wholeNumberText(q);
}

std::string FloatToFraction(double x)
{
    return FloatToFractionText(false, x);
}

} // namespace kurvex

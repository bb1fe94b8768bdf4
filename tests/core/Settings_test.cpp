// Settings file: defaults, round trip, Windows files, damaged values, failures, default buttons.
#include "core/Settings.h"

#include "core/NumberText.h"
#include "platform/IniFile.h"
#include "support/SharedState.h"
#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <type_traits>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Lines separated by '|', as the file holds them with CR LF.
std::string Crlf(std::string_view joined)
{
    std::string out;
    for (const char c : joined)
        out += c == '|' ? std::string("\r\n") : std::string(1, c);
    return out + "\r\n";
}

// A new file saved from the absent-key defaults, byte for byte.
const std::string kDefaultFile =
    Crlf("[Farben]|Hintergrund=16777215|Zeichenstift=0|Gitter=8421504|Tangente=16711680|Sekante=8388736|"
         "Dreieck=65535|fStrich=255|f2Strich=128|sinus=16711680|cosinus=255|tangens=128|cotangens=8388736|"
         "flaeche=65535|bogen=32768|winkel=65280|epsilon=12632256|delta=32768|fvondelta=255|"
         "[Faktor]|drucken%=100|Tangentenl\xE4nge=1|[Eingabe]|Nachkommastellen=2|"
         "[Parameter]|a=1|a1=-4|a2=4|b=0|b1=-4|b2=4|c=0|c1=-4|c2=4|d=0|d1=-4|d2=4|t=0|t1=-4|t2=4|"
         "[xP xQ Koordinaten]|xP=1|xQ=2|[Folgen Grenzwert]|g=0|[eps-delta-Umgebung maxRadius]|edmax=2|"
         "[Koordinatensystem]|x1=-7|x2=7|y1=-7|y2=7|Skalierung=1|Gitter=2|"
         "[Funktionsterme]|f(x,a,b,c,d)=|f(x)=|f(t)=|af(x-u)+v=|Stetigkeit f1(x)=|Stetigkeit f2(x)=|"
         "Kovariation f(x)=|Bisektion f(x)=|Folgen a(n)=|[Animation]|Schrittzahl=200|Schrittzahl2=2|time=0");

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { LoadSettings(dir.file("missing.ini")); }
    void LoadLines(std::string_view joined)
    {
        WriteBytes(path, Crlf(joined));
        LoadSettings(path);
    }
    test::SharedStateScope shared;
    TempDir dir;
    const std::string path = dir.file("Kurvex.ini");
};

std::string Describe(const SettingEntry& e)
{
    return std::string(e.section) + "/" + e.key;
}

// A variable's or record field's value as text, so that rows of every type compare alike.
template <typename T> std::string AsText(const T& v)
{
    if constexpr (std::is_same_v<T, std::string>)
        return v;
    else
        return FormatIniFloat(static_cast<double>(v));
}
std::string VariableText(const SettingEntry& e)
{
    return std::visit([](auto* var) { return AsText(*var); }, e.variable);
}
std::string FieldText(const SettingEntry& e)
{
    return std::visit([](auto field) { return AsText(IniSettings.*field); }, e.field);
}

TEST_F(SettingsTest, TableNamesEveryVariableAndFieldOnce)
{
    const auto table = SettingsTable();
    ASSERT_EQ(table.size(), 58u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            EXPECT_NE(table[i].variable, table[j].variable) << Describe(table[i]);
            EXPECT_NE(table[i].field, table[j].field) << Describe(table[i]);
        }
    }
}

TEST_F(SettingsTest, NoFileGivesEveryDefault)
{
    for (const SettingEntry& e : SettingsTable())
        EXPECT_EQ(FieldText(e), VariableText(e)) << Describe(e);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.ini")));
    // The variables' defaults, keys, sections and their order, as a new file shows them.
    ASSERT_EQ(SaveSettings(path), "");
    EXPECT_EQ(ReadBytes(path), kDefaultFile);
}

TEST_F(SettingsTest, SaveAndLoadReproduceEveryVariable)
{
    const double awkward[] = {-3.75, 0.1 + 0.2, 1e-7, 123456.789, -0.001, 2.5e5};
    const std::string longTerm = "\xF0*sin(x)+\xD6(x)-3,5x^2 {Kommentar mit Blanks und \xE4}";
    std::size_t i = 0;
    for (const SettingEntry& e : SettingsTable()) {
        ++i;
        std::visit(
            [&](auto* var) {
                using T = std::remove_pointer_t<decltype(var)>;
                if constexpr (std::is_same_v<T, TColor>)
                    *var = static_cast<TColor>(0x010203 * i);
                else if constexpr (std::is_same_v<T, double>)
                    *var = awkward[i % std::size(awkward)];
                else if constexpr (std::is_same_v<T, std::string>)
                    *var = longTerm.substr(0, 40 + i);
            },
            e.variable);
    }
    // Counts, ranges and the world window within the limits that loading applies.
    ShowScale = false;
    PrintSizePercent = 37;
    Decimals = 3;
    AnimationSteps = 2999;
    TrigAnimationSteps = 19;
    AnimationDelay = 999;
    GridMode = 3;
    ParamAMin = -0.001, ParamAMax = 0.1 + 0.2;
    ParamBMin = -3.75, ParamBMax = 123456.789;
    ParamCMin = 1e-7, ParamCMax = 2.5e5;
    ParamDMin = -123456.789, ParamDMax = -1e-7;
    ParamTMin = 0.1 + 0.2, ParamTMax = 0.30000000000000009;
    XMin = -0.001, XMax = 0.1 + 0.2;
    YMin = 123456.789, YMax = 123456.789 + 1.5e-4;

    std::vector<std::string> expected;
    for (const SettingEntry& e : SettingsTable())
        expected.push_back(VariableText(e));
    ASSERT_EQ(SaveSettings(path), "");
    // Term markers are single Windows-1252 bytes in the file.
    EXPECT_NE(ReadBytes(path).find("Folgen a(n)=\xF0*sin(x)+\xD6(x)"), std::string::npos);

    SetDefaultSettings();
    SetTrigDefaultColors();
    LoadSettings(path);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const SettingEntry& e = SettingsTable()[k];
        EXPECT_EQ(VariableText(e), expected[k]) << Describe(e);
        EXPECT_EQ(FieldText(e), expected[k]) << Describe(e);
    }
    EXPECT_EQ(TermSequence, longTerm.substr(0, 40 + 53));
}

TEST_F(SettingsTest, ReadsFilesWrittenOnWindowsOrAsUtf8)
{
    const std::pair<const char*, std::string> files[] = {
        {"Windows-1252, CR LF", Crlf("; von Hand|[farben]|GITTER = 0xFF|Hintergrund= 255 |[Faktor]|"
                                     "Tangentenl\xE4nge=1,5|[Parameter]|A = 0,5|[Koordinatensystem]|x1=-7|"
                                     "x2=3,5|Gitter=3|skalierung=0|[Funktionsterme]|f(x)=x^2-\xF0")},
        {"UTF-8 with BOM, LF",
         "\xEF\xBB\xBF[Farben]\nGitter=255\nHintergrund=0xff\n[Faktor]\nTANGENTENLÄNGE=1.5\n"
         "[Parameter]\na=0.5\n[Koordinatensystem]\nx2=3.5\ngitter=3\nSkalierung=0\n"
         "[Funktionsterme]\nf(x)=x^2-ð\n"}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteBytes(path, bytes);
        LoadSettings(path);
        EXPECT_EQ(GridColor, 0xFFu);
        EXPECT_EQ(BackgroundColor, 0xFFu);
        EXPECT_EQ(GridMode, 3);
        EXPECT_EQ(TangentLength, 1.5);
        EXPECT_EQ(ParamA, 0.5);
        EXPECT_EQ(XMin, -7.0);
        EXPECT_EQ(XMax, 3.5);
        EXPECT_FALSE(ShowScale);
        EXPECT_EQ(TermText, "x^2-\xF0");
        // The record holds the file's values, whatever the variables become later.
        XMax = GridMode = 1;
        EXPECT_EQ(IniSettings.gridMode, 3);
        EXPECT_EQ(IniSettings.x2, 3.5);
    }
}

TEST_F(SettingsTest, LongTermIsCutInTheVariableButKeptInTheRecord)
{
    std::string term;
    for (int i = 0; i < 150; ++i)
        term += static_cast<char>('a' + i % 26);
    LoadLines("[Funktionsterme]|Folgen a(n)=" + term + "|f(t)=" + term + term);
    EXPECT_EQ(TermSequence, term.substr(0, 120));
    EXPECT_EQ(IniSettings.termSequence, term);
    EXPECT_EQ(TermOfT, term.substr(0, 120));
    EXPECT_EQ(IniSettings.termOfT, (term + term).substr(0, 180));
}

TEST_F(SettingsTest, SavingKeepsUnknownLinesAndTheirOrder)
{
    LoadLines("; eigene Notiz|[Zusatz]|wert=1|[Animation]|Schrittzahl=300|alt=x");
    ASSERT_EQ(SaveSettings(path), "");
    const std::string kept = Crlf("; eigene Notiz|[Zusatz]|wert=1|[Animation]|Schrittzahl=300|alt=x|"
                                  "Schrittzahl2=2|time=0|[Farben]");
    EXPECT_EQ(ReadBytes(path).rfind(kept, 0), 0u);
    EXPECT_EQ(
        IniFile(path).sectionNames(),
        (std::vector<std::string>{"Zusatz", "Animation", "Farben", "Faktor", "Eingabe", "Parameter",
                                  "xP xQ Koordinaten", "Folgen Grenzwert", "eps-delta-Umgebung maxRadius",
                                  "Koordinatensystem", "Funktionsterme"}));
}

TEST_F(SettingsTest, DamagedOrOutOfRangeValuesGiveDefaultsOrLimits)
{
    struct Case {
        const char* lines;
        double (*read)();
        double expected;
    };
    const Case cases[] = {
        {"[Animation]|Schrittzahl=0", [] { return double(AnimationSteps); }, 200},
        {"[Animation]|Schrittzahl=19", [] { return double(AnimationSteps); }, 200},
        {"[Animation]|Schrittzahl=3000", [] { return double(AnimationSteps); }, 3000},
        {"[Animation]|Schrittzahl=3001", [] { return double(IniSettings.animationSteps); }, 200},
        {"[Animation]|Schrittzahl2=0", [] { return double(TrigAnimationSteps); }, 2},
        {"[Animation]|Schrittzahl2=20", [] { return double(TrigAnimationSteps); }, 20},
        {"[Animation]|time=-5", [] { return double(AnimationDelay); }, 0},
        {"[Animation]|time=5000", [] { return double(AnimationDelay); }, 1000},
        {"[Faktor]|drucken%=19", [] { return double(PrintSizePercent); }, 100},
        {"[Faktor]|drucken%=200", [] { return double(PrintSizePercent); }, 200},
        {"[Faktor]|drucken%=201", [] { return double(IniSettings.printSize); }, 100},
        {"[Faktor]|Tangentenl\xE4nge=abc", [] { return TangentLength; }, 1},
        {"[Eingabe]|Nachkommastellen=9", [] { return double(Decimals); }, 4},
        {"[Eingabe]|Nachkommastellen=-1", [] { return double(IniSettings.decimals); }, 0},
        {"[Eingabe]|Nachkommastellen=zwei", [] { return double(Decimals); }, 2},
        {"[Parameter]|a1=5|a2=1", [] { return ParamAMin; }, -4},
        {"[Parameter]|a1=5|a2=1", [] { return IniSettings.a2; }, 4},
        {"[Parameter]|c1=2|c2=2", [] { return ParamCMax; }, 4},
        {"[Parameter]|b1=1,2,3", [] { return ParamBMin; }, -4},
        {"[Koordinatensystem]|x1=5|x2=-5", [] { return XMin; }, -7},
        {"[Koordinatensystem]|x1=3|x2=3", [] { return IniSettings.x2; }, 7},
        {"[Koordinatensystem]|x1=0|x2=0,0001", [] { return XMax; }, 0.0001},
        {"[Koordinatensystem]|x1=0|x2=0,00009", [] { return XMax; }, 7},
        {"[Koordinatensystem]|y1=0|y2=10000000", [] { return YMax; }, 1e7},
        {"[Koordinatensystem]|y1=0|y2=1e8", [] { return IniSettings.y1; }, -7},
        {"[Koordinatensystem]|Gitter=", [] { return double(GridMode); }, 2},
        {"[Farben]|Gitter=blau", [] { return double(GridColor); }, 0x808080},
    };
    for (const Case& c : cases) {
        LoadLines(c.lines);
        EXPECT_EQ(c.read(), c.expected) << c.lines;
    }
}

TEST_F(SettingsTest, DefaultButtonsWriteTheirOwnDefaults)
{
    SecantColor = 0x123456;
    TangentLength = 3.0;
    AnimationDelay = 40;
    TraceMode = true;
    LineWidth = 3;
    DrawScale = 4.0;
    TermBisection = "x";
    SetDefaultSettings();
    SetTrigDefaultColors();
    EXPECT_FALSE(TraceMode);
    EXPECT_EQ(LineWidth, 1);
    EXPECT_EQ(DrawScale, 1.0);
    ASSERT_EQ(SaveSettings(path), "");
    // The file differs from the absent-key defaults in exactly these lines.
    std::string expected = kDefaultFile;
    using Change = std::pair<std::string_view, std::string_view>;
    const Change changes[] = {{"Gitter=8421504", "Gitter=13421772"},
                              {"Sekante=8388736", "Sekante=1193046"},
                              {"tangens=128", "tangens=16711935"},
                              {"flaeche=65535", "flaeche=32768"},
                              {"epsilon=12632256", "epsilon=12320767"},
                              {"delta=32768", "delta=47872"},
                              {"nge=1\r", "nge=3\r"},
                              {"Gitter=2\r", "Gitter=1\r"},
                              {"Schrittzahl2=2", "Schrittzahl2=4"},
                              {"time=0", "time=40"}};
    for (const auto& [from, to] : changes)
        expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(SettingsTest, DefaultPathIsInTheProgramDirectory)
{
    ProgramDir = dir.path().string() + "/";
    EXPECT_EQ(SettingsFilePath(), path);
    ParamA = 2.5;
    ASSERT_EQ(SaveSettings(), "");
    ParamA = 0.0;
    LoadSettings();
    EXPECT_EQ(ParamA, 2.5);
}

// Qt sets the process locale from the environment; no number text may follow it.
TEST_F(SettingsTest, SameResultsUnderAGermanProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    ParamB = 0.1 + 0.2;
    XMin = -2.5;
    const std::string error = SaveSettings(path);
    LoadSettings(dir.file("missing.ini"));
    LoadSettings(path);
    const std::vector<std::string> texts = {FormatNumber(2, 3.14159), FormatNumber(2, 1234.5),
                                            FloatStrFixed(6, 2, 3.14159), FloatToFraction(std::sqrt(2.0)),
                                            FloatToFraction(0.5)};
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(error, "");
    EXPECT_EQ(ParamB, 0.1 + 0.2);
    EXPECT_EQ(XMin, -2.5);
    EXPECT_NE(ReadBytes(path).find("x1=-2,5\r\n"), std::string::npos);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"  3,14     ", "  1,23 E+3", "  3.14", "1,4142135624", "1/2"}));
}

TEST_F(SettingsTest, SaveIntoADirectoryWithoutWriteAccessReportsAndKeepsTheOldFile)
{
    const std::string old = Crlf("[Parameter]|a=3");
    WriteBytes(path, old);
    ParamA = 5.0;
    const std::optional<bool> reported = test::RunWithoutWriteAccess(dir.path(), [&] {
        return SaveSettings(path).find("konnte nicht gespeichert werden") != std::string::npos;
    });
    if (!reported)
        GTEST_SKIP() << "no process without write access could be started";
    EXPECT_TRUE(*reported);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

} // namespace
} // namespace kurvex

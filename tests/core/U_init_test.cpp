// Settings file: defaults, round trip, Windows files, damaged values, failures, default buttons.
#include "core/U_init.h"

#include "platform/IniFile.h"
#include "platform/TestTempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <sys/resource.h>
#include <type_traits>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { LoadSettings(dir.file("missing.ini")); }
    // Other suites of the same program find the defaults again.
    void TearDown() override { LoadSettings(dir.file("missing.ini")); }
    // Loads a file holding the given lines (CR LF).
    void LoadLines(std::initializer_list<std::string_view> lines)
    {
        std::string bytes;
        for (const auto line : lines)
            (bytes += line) += "\r\n";
        WriteBytes(path, bytes);
        LoadSettings(path);
    }
    TempDir dir;
    const std::string path = dir.file("Kurvex.ini");
};

std::string Describe(const SettingEntry& e)
{
    return std::string(e.section) + "/" + e.key;
}

// The value a row's variable holds, as a double or a text, for comparisons across types.
std::string VariableText(const SettingEntry& e)
{
    return std::visit(
        [](auto* var) -> std::string {
            using T = std::remove_pointer_t<decltype(var)>;
            if constexpr (std::is_same_v<T, std::string>)
                return *var;
            else
                return FormatIniFloat(static_cast<double>(*var));
        },
        e.variable);
}

std::string FieldText(const SettingEntry& e)
{
    return std::visit(
        [](auto field) -> std::string {
            const auto& v = IniSettings.*field;
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>)
                return v;
            else
                return FormatIniFloat(static_cast<double>(v));
        },
        e.field);
}

TEST_F(SettingsTest, TableHoldsEveryKeyOnceInWriteOrder)
{
    const auto table = SettingsTable();
    ASSERT_EQ(table.size(), 58u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        for (std::size_t j = i + 1; j < table.size(); ++j) {
            EXPECT_FALSE(std::string(table[i].section) == table[j].section &&
                         std::string(table[i].key) == table[j].key)
                << Describe(table[i]);
            EXPECT_NE(table[i].variable, table[j].variable) << Describe(table[i]);
            EXPECT_NE(table[i].field, table[j].field) << Describe(table[i]);
        }
    }
    EXPECT_EQ(Describe(table.front()), "Farben/Hintergrund");
    EXPECT_EQ(Describe(table.back()), "Koordinatensystem/Gitter");
}

TEST_F(SettingsTest, NoFileGivesEveryDefaultInVariablesAndRecord)
{
    for (const SettingEntry& e : SettingsTable()) {
        const bool isText = std::holds_alternative<std::string*>(e.variable);
        const std::string expected = isText ? std::string() : FormatIniFloat(e.defaultValue);
        EXPECT_EQ(VariableText(e), expected) << Describe(e);
        EXPECT_EQ(FieldText(e), expected) << Describe(e);
    }
    EXPECT_EQ(GridColor, 0x808080u);
    EXPECT_EQ(GridMode, 2);
    EXPECT_TRUE(ShowScale);
    EXPECT_EQ(IniSettings.x1, -7.0);
    EXPECT_EQ(IniSettings.y2, 7.0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.ini")));
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
                else if constexpr (std::is_same_v<T, bool>)
                    *var = false;
                else if constexpr (std::is_same_v<T, std::string>)
                    *var = longTerm.substr(0, 40 + i);
            },
            e.variable);
    }
    // Values within the limits that loading applies.
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
    YMin = 123456.789, YMax = 123456.789 + 1e-4 * 1.5;

    std::vector<std::string> expected;
    for (const SettingEntry& e : SettingsTable())
        expected.push_back(VariableText(e));
    ASSERT_EQ(SaveSettings(path), "");

    SetDefaultSettings();
    SetTrigDefaultColors();
    LoadSettings(path);
    std::size_t k = 0;
    for (const SettingEntry& e : SettingsTable()) {
        EXPECT_EQ(VariableText(e), expected[k]) << Describe(e);
        EXPECT_EQ(FieldText(e), expected[k]) << Describe(e);
        ++k;
    }
    EXPECT_EQ(TermSequence, longTerm.substr(0, 40 + 53));
}

TEST_F(SettingsTest, TermMarkersAreStoredAsWindows1252Bytes)
{
    TermText = "2\xF0x+\xD6(x)";
    ASSERT_EQ(SaveSettings(path), "");
    EXPECT_NE(ReadBytes(path).find("f(x)=2\xF0x+\xD6(x)\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(path).find("Tangentenl\xE4nge=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ReadsAFileWrittenOnWindows)
{
    LoadLines({"[farben]", "GITTER = 0xFF", "Hintergrund= 255 ", "[Faktor]", "Tangentenl\xE4nge=1,5",
               "[Parameter]", "A = 0,5", "[Koordinatensystem]", "x1=-7", "x2=3,5", "Gitter=3", "skalierung=0",
               "[Funktionsterme]", "f(x)=x^2-\xF0"});
    EXPECT_EQ(GridColor, 0xFFu);
    EXPECT_EQ(BackgroundColor, 0xFFu);
    EXPECT_EQ(GridMode, 3);
    EXPECT_EQ(TangentLength, 1.5);
    EXPECT_EQ(ParamA, 0.5);
    EXPECT_EQ(XMin, -7.0);
    EXPECT_EQ(XMax, 3.5);
    EXPECT_FALSE(ShowScale);
    EXPECT_EQ(TermText, "x^2-\xF0");
    EXPECT_EQ(IniSettings.gridColor, 0xFFu);
    EXPECT_EQ(IniSettings.gridMode, 3);
    EXPECT_EQ(IniSettings.x2, 3.5);
    EXPECT_EQ(IniSettings.tangentLength, 1.5);
}

TEST_F(SettingsTest, RecordFollowsTheFileNotTheVariables)
{
    LoadLines({"[xP xQ Koordinaten]", "xP=0,5", "xQ=-1"});
    PointXP = 42.0;
    EXPECT_EQ(IniSettings.xP, 0.5);
    EXPECT_EQ(IniSettings.xQ, -1.0);
}

TEST_F(SettingsTest, LongTermIsCutInTheVariableButKeptInTheRecord)
{
    std::string term;
    for (int i = 0; i < 150; ++i)
        term += static_cast<char>('a' + i % 26);
    LoadLines({"[Funktionsterme]", "Folgen a(n)=" + term, "f(t)=" + term + term});
    EXPECT_EQ(TermSequence, term.substr(0, 120));
    EXPECT_EQ(IniSettings.termSequence, term);
    EXPECT_EQ(TermOfT.size(), 120u);
    EXPECT_EQ(IniSettings.termOfT, (term + term).substr(0, 180));
}

TEST_F(SettingsTest, SavingKeepsUnknownLinesAndTheirOrder)
{
    WriteBytes(path, "; eigene Notiz\r\n[Zusatz]\r\nwert=1\r\n[Animation]\r\nSchrittzahl=300\r\nalt=x\r\n");
    LoadSettings(path);
    EXPECT_EQ(AnimationSteps, 300);
    ASSERT_EQ(SaveSettings(path), "");
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(
        bytes.rfind("; eigene Notiz\r\n[Zusatz]\r\nwert=1\r\n[Animation]\r\nSchrittzahl=300\r\nalt=x\r\n"
                    "Schrittzahl2=2\r\ntime=0\r\n[Farben]\r\n",
                    0),
        0u);
    const IniFile ini(path);
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{
                                      "Zusatz", "Animation", "Farben", "Faktor", "Eingabe", "Parameter",
                                      "xP xQ Koordinaten", "Folgen Grenzwert", "eps-delta-Umgebung maxRadius",
                                      "Koordinatensystem", "Funktionsterme"}));
}

TEST_F(SettingsTest, NewFileHasTheSectionsAndKeysInWriteOrder)
{
    ASSERT_EQ(SaveSettings(path), "");
    const IniFile ini(path);
    EXPECT_EQ(ini.sectionNames(),
              (std::vector<std::string>{"Farben", "Faktor", "Eingabe", "Parameter", "xP xQ Koordinaten",
                                        "Folgen Grenzwert", "eps-delta-Umgebung maxRadius",
                                        "Koordinatensystem", "Funktionsterme", "Animation"}));
    EXPECT_EQ(ini.keyNames("Koordinatensystem"),
              (std::vector<std::string>{"x1", "x2", "y1", "y2", "Skalierung", "Gitter"}));
    EXPECT_EQ(ini.readString("Koordinatensystem", "Skalierung", ""), "1");
    EXPECT_EQ(ini.readString("Farben", "Hintergrund", ""), "16777215");
    EXPECT_EQ(ini.readString("Parameter", "a1", ""), "-4");
    EXPECT_EQ(ini.readString("Funktionsterme", "f(x)", "?"), "");
}

TEST_F(SettingsTest, DamagedValuesGiveDefaultsOrLimits)
{
    LoadLines({"[Animation]",
               "Schrittzahl=0",
               "Schrittzahl2=0",
               "time=-5",
               "[Faktor]",
               "drucken%=10",
               "Tangentenl\xE4nge=abc",
               "[Eingabe]",
               "Nachkommastellen=9",
               "[Parameter]",
               "a1=5",
               "a2=1",
               "b1=1,2,3",
               "c1=2",
               "c2=2",
               "[Koordinatensystem]",
               "x1=3",
               "x2=3",
               "y1=0",
               "y2=1e8",
               "Gitter=",
               "[Farben]",
               "Gitter=blau"});
    EXPECT_EQ(AnimationSteps, 200);
    EXPECT_EQ(TrigAnimationSteps, 2);
    EXPECT_EQ(AnimationDelay, 0);
    EXPECT_EQ(PrintSizePercent, 100);
    EXPECT_EQ(TangentLength, 1.0);
    EXPECT_EQ(Decimals, 4);
    EXPECT_EQ(ParamAMin, -4.0);
    EXPECT_EQ(ParamAMax, 4.0);
    EXPECT_EQ(ParamBMin, -4.0);
    EXPECT_EQ(ParamCMin, -4.0);
    EXPECT_EQ(ParamCMax, 4.0);
    EXPECT_EQ(XMin, -7.0);
    EXPECT_EQ(XMax, 7.0);
    EXPECT_EQ(YMin, -7.0);
    EXPECT_EQ(YMax, 7.0);
    EXPECT_EQ(GridMode, 2);
    EXPECT_EQ(GridColor, 0x808080u);
    // The record is what windows reset from, so it is kept within the same limits.
    EXPECT_EQ(IniSettings.animationSteps, 200);
    EXPECT_EQ(IniSettings.printSize, 100);
    EXPECT_EQ(IniSettings.decimals, 4);
    EXPECT_EQ(IniSettings.a1, -4.0);
    EXPECT_EQ(IniSettings.a2, 4.0);
    EXPECT_EQ(IniSettings.x1, -7.0);
    EXPECT_EQ(IniSettings.x2, 7.0);
    EXPECT_EQ(IniSettings.y2, 7.0);
}

TEST_F(SettingsTest, LimitsAtTheirEdges)
{
    struct Case {
        const char* line;
        int* variable;
        int expected;
    };
    const Case cases[] = {
        {"Schrittzahl=20", &AnimationSteps, 20},      {"Schrittzahl=3000", &AnimationSteps, 3000},
        {"Schrittzahl=19", &AnimationSteps, 200},     {"Schrittzahl=3001", &AnimationSteps, 200},
        {"time=1000", &AnimationDelay, 1000},         {"time=1001", &AnimationDelay, 1000},
        {"Schrittzahl2=20", &TrigAnimationSteps, 20}, {"Schrittzahl2=21", &TrigAnimationSteps, 2},
    };
    for (const Case& c : cases) {
        LoadLines({"[Animation]", c.line});
        EXPECT_EQ(*c.variable, c.expected) << c.line;
    }
    const std::pair<const char*, int> print[] = {
        {"drucken%=20", 20}, {"drucken%=200", 200}, {"drucken%=201", 100}};
    for (const auto& [line, expected] : print) {
        LoadLines({"[Faktor]", line});
        EXPECT_EQ(PrintSizePercent, expected) << line;
    }
    const std::pair<const char*, int> decimals[] = {{"Nachkommastellen=0", 0}, {"Nachkommastellen=-1", 0}};
    for (const auto& [line, expected] : decimals) {
        LoadLines({"[Eingabe]", line});
        EXPECT_EQ(Decimals, expected) << line;
    }
}

TEST_F(SettingsTest, WorldWindowSpanLimits)
{
    struct Case {
        const char* x1;
        const char* x2;
        double xMin, xMax;
    };
    const Case cases[] = {
        {"x1=5", "x2=-5", -7, 7},       {"x1=0", "x2=0,0001", 0, 0.0001},
        {"x1=0", "x2=0,00009", -7, 7},  {"x1=0", "x2=10000000", 0, 1e7},
        {"x1=0", "x2=10000001", -7, 7}, {"x1=-10000", "x2=100000", -10000, 100000},
    };
    for (const Case& c : cases) {
        LoadLines({"[Koordinatensystem]", c.x1, c.x2});
        EXPECT_EQ(XMin, c.xMin) << c.x1 << ' ' << c.x2;
        EXPECT_EQ(XMax, c.xMax) << c.x1 << ' ' << c.x2;
        EXPECT_EQ(IniSettings.x1, c.xMin);
        EXPECT_EQ(IniSettings.x2, c.xMax);
        EXPECT_EQ(YMin, -7.0);
    }
}

TEST_F(SettingsTest, DefaultButtonWritesItsOwnDefaults)
{
    SecantColor = 0x123456;
    TanColor = 0x654321;
    TangentLength = 3.0;
    TrigAnimationSteps = 7;
    AnimationDelay = 40;
    TraceMode = ShowDerivative = true;
    LineWidth = 3;
    DrawScale = 4.0;
    TermBisection = "x";
    SetDefaultSettings();
    ASSERT_EQ(SaveSettings(path), "");
    const IniFile ini(path);
    EXPECT_EQ(ini.readInteger("Farben", "Gitter", 0), 0xCCCCCC);
    EXPECT_EQ(ini.readInteger("Koordinatensystem", "Gitter", 0), 1);
    EXPECT_EQ(ini.readInteger("Farben", "flaeche", 0), 0x8000);
    EXPECT_EQ(ini.readInteger("Farben", "epsilon", 0), 0xBBFFFF);
    EXPECT_EQ(ini.readInteger("Farben", "delta", 0), 0xBB00);
    // Left as they were.
    EXPECT_EQ(SecantColor, 0x123456u);
    EXPECT_EQ(TanColor, 0x654321u);
    EXPECT_EQ(TangentLength, 3.0);
    EXPECT_EQ(TrigAnimationSteps, 7);
    EXPECT_EQ(AnimationDelay, 40);
    // Run-time values reset too.
    EXPECT_FALSE(TraceMode);
    EXPECT_FALSE(ShowDerivative);
    EXPECT_EQ(LineWidth, 1);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_EQ(TermBisection, "");
}

TEST_F(SettingsTest, TrigDefaultButton)
{
    SetTrigDefaultColors();
    EXPECT_EQ(SinColor, 0xFF0000u);
    EXPECT_EQ(CosColor, 0xFFu);
    EXPECT_EQ(TanColor, 0xFF00FFu);
    EXPECT_EQ(CotColor, 0x800080u);
    EXPECT_EQ(AngleColor, 0xFF00u);
    EXPECT_EQ(ArcColor, 0x8000u);
    EXPECT_EQ(TrigAnimationSteps, 4);
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
    ProgramDir.clear();
}

TEST_F(SettingsTest, SameResultsUnderAGermanProcessLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    ParamB = 0.1 + 0.2;
    XMin = -2.5;
    const std::string error = SaveSettings(path);
    LoadSettings(dir.file("missing.ini"));
    EXPECT_EQ(ParamB, 0.0);
    LoadSettings(path);
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_EQ(error, "");
    EXPECT_EQ(ParamB, 0.1 + 0.2);
    EXPECT_EQ(XMin, -2.5);
    EXPECT_NE(ReadBytes(path).find("x1=-2,5\r\n"), std::string::npos);
}

TEST_F(SettingsTest, FailedSaveReportsAndKeepsTheOldFile)
{
    WriteBytes(path, "[Parameter]\r\na=3\r\n");
    TermText = std::string(120, 'x');
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = SaveSettings(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_NE(error.find("konnte nicht gespeichert werden"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "[Parameter]\r\na=3\r\n");
}

TEST_F(SettingsTest, SaveIntoReadOnlyDirectoryReportsFailure)
{
    WriteBytes(path, "[Parameter]\r\na=3\r\n");
    std::filesystem::permissions(dir.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access(dir.path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "this user may write into read-only directories";
    EXPECT_FALSE(SaveSettings(path).empty());
    EXPECT_EQ(ReadBytes(path), "[Parameter]\r\na=3\r\n");
}

} // namespace
} // namespace kurvex

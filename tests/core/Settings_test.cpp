// Settings file: defaults, round trip, encodings, damaged values, permissions, default buttons.
#include "core/Settings.h"

#include "core/NumberText.h"
#include "platform/IniFile.h"
#include "platform/TextCodec.h"
#include "support/SharedState.h"
#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
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

TEST_F(SettingsTest, LongTermIsNotUsedButNamedAndKeptInTheRecordAndTheFile)
{
    std::string term;
    for (int i = 0; i < 150; ++i)
        term += static_cast<char>('a' + i % 26);
    const std::string file =
        Crlf("[Funktionsterme]|Folgen a(n)=" + term + "|f(t)=" + term + term + "|f(x)=x^2");
    WriteBytes(path, file);
    const std::string message = LoadSettings(path);
    // Its first 120 characters would be another term, or a syntax error in every lesson.
    EXPECT_EQ(TermSequence, "");
    EXPECT_EQ(TermOfT, "");
    EXPECT_EQ(TermText, "x^2");
    EXPECT_EQ(IniSettings.termSequence, term);
    EXPECT_EQ(IniSettings.termOfT, (term + term).substr(0, 180));
    EXPECT_EQ(message, "In der Datei \"" + path +
                           "\" sind die Terme \"f(t)\", \"Folgen a(n)\" im Abschnitt [Funktionsterme] "
                           "länger als 120 Zeichen; sie werden nicht verwendet.");
    AnimationDelay = 20;
    ASSERT_EQ(SaveSettings(path), "");
    const IniFile saved(path);
    EXPECT_EQ(saved.readString("Funktionsterme", "Folgen a(n)", ""), term);
    EXPECT_EQ(saved.readString("Funktionsterme", "f(t)", ""), term + term);
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

// ---- The settings file on disk: encodings, permissions, links ----

using Perms = std::filesystem::perms;

std::size_t EntriesIn(const std::filesystem::path& dir)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

std::size_t Occurrences(std::string_view text, std::string_view part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(SettingsTest, Utf16FileIsReadByItsMarkAndWrittenBackAsUtf16)
{
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "UTF-16 BE" : "UTF-16 LE");
        const auto utf16 = [&](std::u16string_view text) { return test::Utf16Bytes(text, bigEndian); };
        WriteBytes(
            path,
            utf16(
                u"\uFEFF; Notiz: \u03C0\r\n[Parameter]\r\na=0,5\r\n[Faktor]\r\nTangentenl\u00E4nge=1,5\r\n"));
        LoadSettings(path);
        EXPECT_EQ(ParamA, 0.5);
        EXPECT_EQ(TangentLength, 1.5);
        ParamB = 2.0;
        ASSERT_EQ(SaveSettings(path), "");
        const std::string saved = ReadBytes(path);
        EXPECT_EQ(saved.rfind(utf16(u"\uFEFF; Notiz: \u03C0\r\n[Parameter]\r\na=0,5\r\na1=-4\r\n"), 0), 0u);
        EXPECT_NE(saved.find(utf16(u"\r\nb=2\r\n")), std::string::npos);
        EXPECT_NE(saved.find(utf16(u"\r\nTangentenl\u00E4nge=1,5\r\n")), std::string::npos);
        EXPECT_EQ(saved.size() % 2, 0u);
        LoadSettings(dir.file("missing.ini"));
        LoadSettings(path);
        EXPECT_EQ(ParamA, 0.5);
        EXPECT_EQ(ParamB, 2.0);
    }
}

TEST_F(SettingsTest, FileThatCannotBeDecodedIsNeverWrittenOver)
{
    const std::string lines = test::Utf16Bytes(u"\uFEFF[Parameter]\r\na=3\r\n", false);
    const std::pair<const char*, std::string> files[] = {
        {"UTF-16 without its mark", lines.substr(2)},
        {"UTF-16 with an odd byte count", lines + "x"},
        {"UTF-16 with an unpaired surrogate", lines + std::string("\x00\xD8\r\x00\n\x00", 6)},
        {"a NUL byte", Crlf("[Parameter]|a=3") + std::string(1, '\0')},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        WriteBytes(path, bytes);
        LoadSettings(path);
        ParamA = 5.0;
        EXPECT_EQ(SaveSettings(path), "Die Datei \"" + path +
                                          "\" wird nicht überschrieben, weil sie nicht gelesen werden "
                                          "konnte (keine Textdatei oder unbekannte Zeichenkodierung).");
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}

TEST_F(SettingsTest, ReadOnlyFileIsNotReplaced)
{
    const std::string old = Crlf("[Parameter]|a=3");
    WriteBytes(path, old);
    ASSERT_TRUE(test::HandToOrdinaryUser(dir.path()) && test::HandToOrdinaryUser(path));
    const Perms readOnly = Perms::owner_read | Perms::group_read | Perms::others_read;
    std::filesystem::permissions(path, readOnly);
    ParamA = 5.0;
    // Root may write any file; the user the program runs as, for whom the mode holds, may not.
    const std::optional<bool> refused = test::RunAsOrdinaryUser(
        [&] { return ::access(path.c_str(), W_OK) != 0 && ::access(dir.path().c_str(), W_OK) == 0; },
        [&] {
            return SaveSettings(path).find("konnte nicht gespeichert werden (keine Schreibberechtigung)") !=
                   std::string::npos;
        });
    if (!refused)
        GTEST_SKIP() << "no process that may write the folder but not the file could be started";
    EXPECT_TRUE(*refused);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(std::filesystem::status(path).permissions() & Perms::all, readOnly);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST_F(SettingsTest, FileOfAnotherUserIsNotReplaced)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give the file to another user";
    constexpr uid_t kOtherUser = test::kNobody - 1;
    const std::string old = Crlf("[Parameter]|a=3");
    WriteBytes(path, old);
    std::filesystem::permissions(path, Perms::owner_read | Perms::owner_write | Perms::group_read |
                                           Perms::others_read);
    ASSERT_TRUE(test::HandToOrdinaryUser(dir.path()));
    ASSERT_EQ(::chown(path.c_str(), kOtherUser, kOtherUser), 0);
    ParamA = 5.0;
    const std::optional<bool> refused = test::RunAsOrdinaryUser(
        [&] { return ::access(path.c_str(), W_OK) != 0 && ::access(dir.path().c_str(), W_OK) == 0; },
        [&] {
            return SaveSettings(path).find("konnte nicht gespeichert werden (keine Schreibberechtigung)") !=
                   std::string::npos;
        });
    ASSERT_TRUE(refused.has_value()) << "no process that may write the folder but not the file";
    EXPECT_TRUE(*refused);
    EXPECT_EQ(ReadBytes(path), old);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOtherUser);
}

TEST_F(SettingsTest, ReplacedFileKeepsItsModeAndOwner)
{
    WriteBytes(path, Crlf("[Parameter]|a=3"));
    const Perms shared =
        Perms::owner_read | Perms::owner_write | Perms::group_read | Perms::group_write | Perms::others_read;
    std::filesystem::permissions(path, shared);
    // Root saving a user's file leaves it that user's file; other users cannot give files away.
    const bool root = ::geteuid() == 0;
    constexpr uid_t kOwner = test::kNobody - 1;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), kOwner, kOwner), 0);
    }
    ParamA = 5.0;
    const mode_t previousMask = ::umask(022);
    const std::string error = SaveSettings(path);
    ::umask(previousMask);
    ASSERT_EQ(error, "");
    EXPECT_NE(ReadBytes(path).find("\r\na=5\r\n"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(path).permissions() & Perms::all, shared);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    if (root) {
        EXPECT_EQ(st.st_uid, kOwner);
        EXPECT_EQ(st.st_gid, kOwner);
    }
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST_F(SettingsTest, WritableFileInAFolderWithoutWriteAccessIsWrittenInPlace)
{
    WriteBytes(path, Crlf("; Notiz|[Parameter]|a=3"));
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ParamA = 5.0;
    const std::optional<bool> saved = test::RunWithoutWriteAccess(
        dir.path(), [&] { return ::access(path.c_str(), W_OK) == 0 && SaveSettings(path).empty(); }, {path});
    if (!saved)
        GTEST_SKIP() << "no process without write access could be started";
    EXPECT_TRUE(*saved);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind(Crlf("; Notiz|[Parameter]|a=5|a1=-4"), 0), 0u);
    EXPECT_EQ(bytes.substr(bytes.size() - 8), "time=0\r\n");
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST_F(SettingsTest, FailedSaveInPlaceReportsAndKeepsTheOldFile)
{
    const std::string old = Crlf("[Parameter]|a=3");
    WriteBytes(path, old);
    ParamA = 5.0;
    const std::optional<bool> reported = test::RunWithoutWriteAccess(
        dir.path(),
        [&] {
            // A file-size limit below the new text's size: the file may be written, but not grow.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{512, 512};
            return ::setrlimit(RLIMIT_FSIZE, &small) == 0 &&
                   SaveSettings(path).find("konnte nicht gespeichert werden") != std::string::npos;
        },
        {path});
    if (!reported)
        GTEST_SKIP() << "no process without write access could be started";
    EXPECT_TRUE(*reported);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST_F(SettingsTest, FileReadAsUtf8StaysUtf8AndWindows1252StaysWindows1252)
{
    // A comment and a term with characters Windows-1252 cannot hold, typed into a UTF-8 file.
    WriteBytes(
        path,
        Crlf("; Fläche ≈ π·r² – Notiz|[Funktionsterme]|f(x)=sin(π*x)|f(t)=Φ(t)|[Faktor]|Tangentenlänge=1,5"));
    LoadSettings(path);
    EXPECT_EQ(TermText, "sin(\xF0*x)"); // the program's π
    EXPECT_EQ(TermOfT, "\xD6(t)");      // and Φ
    EXPECT_EQ(TangentLength, 1.5);
    ParamA = 2.5;
    ASSERT_EQ(SaveSettings(path), "");
    std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.rfind(Crlf("; Fläche ≈ π·r² – Notiz|[Funktionsterme]|f(x)=sin(π*x)|f(t)=Φ(t)"), 0), 0u)
        << saved;
    EXPECT_NE(saved.find("\r\nTangentenlänge=1,5\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\na=2,5\r\n"), std::string::npos);
    EXPECT_EQ(saved.find('?'), std::string::npos);
    EXPECT_TRUE(IsValidUtf8(saved));

    WriteBytes(path, Crlf("; Gr\xFC\xDF"
                          "e|[Faktor]|Tangentenl\xE4nge=1,5"));
    LoadSettings(path);
    ASSERT_EQ(SaveSettings(path), "");
    saved = ReadBytes(path);
    EXPECT_EQ(saved.rfind(Crlf("; Gr\xFC\xDF"
                               "e|[Faktor]|Tangentenl\xE4nge=1,5|drucken%=100"),
                          0),
              0u)
        << saved;
    EXPECT_FALSE(IsValidUtf8(saved));
}

TEST_F(SettingsTest, OneStrayByteDoesNotSwitchAUtf8File)
{
    WriteBytes(path, Crlf("; x\xB2 von Hand|[Faktor]|Tangentenlänge=2,5"));
    LoadSettings(path);
    EXPECT_EQ(TangentLength, 2.5);
    ASSERT_EQ(SaveSettings(path), "");
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(Occurrences(saved, "Tangentenl"), 1u) << saved;
    EXPECT_EQ(saved.rfind(Crlf("; x² von Hand|[Faktor]|Tangentenlänge=2,5|drucken%=100"), 0), 0u) << saved;
    EXPECT_TRUE(IsValidUtf8(saved));
}

TEST_F(SettingsTest, SaveThroughASymbolicLinkWritesItsTarget)
{
    const std::filesystem::path store = dir.path() / "ablage";
    std::filesystem::create_directory(store);
    const std::string target = (store / "Kurvex.ini").string();
    std::filesystem::create_symlink("ablage/Kurvex.ini", path);
    // Dangling: the target is created.
    ParamA = 2.5;
    ASSERT_EQ(SaveSettings(path), "");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_NE(ReadBytes(target).find("\r\na=2,5\r\n"), std::string::npos);
    // Live: the target is replaced.
    ParamA = 3.5;
    ASSERT_EQ(SaveSettings(path), "");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_NE(ReadBytes(target).find("\r\na=3,5\r\n"), std::string::npos);
    EXPECT_EQ(EntriesIn(store), 1u);
    EXPECT_EQ(EntriesIn(dir.path()), 2u);
}

// Two copies of the program on one folder, as on a school network's shared program folder.
TEST_F(SettingsTest, TwoCopiesOnOneFileKeepWhatTheOtherSaved)
{
    WriteBytes(path, Crlf("[Animation]|Schrittzahl=350|time=0"));
    SettingsStore first(path);
    SettingsStore second(path);
    first.load();
    second.load();
    AnimationSteps = 400; // the first copy's change
    ASSERT_EQ(first.save(), "");
    AnimationSteps = 350; // the second copy still holds what it read
    AnimationDelay = 50;  // and changes only the delay
    ASSERT_EQ(second.save(), "");
    LoadSettings(path);
    EXPECT_EQ(AnimationSteps, 400);
    EXPECT_EQ(AnimationDelay, 50);
}

struct UnreadableCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* cause;
};

TEST_F(SettingsTest, FileThatCannotBeReadIsReportedAtLoadWithItsCauseAndLeftAlone)
{
    const auto bytes = [](std::string b) { return [b](const std::string& p) { WriteBytes(p, b); }; };
    std::string noise;
    std::mt19937 generator(33);
    for (int i = 0; i < 64; ++i)
        noise += static_cast<char>(1 + generator() % 255); // no NUL among them
    const char* const notText = "keine Textdatei oder unbekannte Zeichenkodierung";
    const UnreadableCase cases[] = {
        {"a NUL byte", bytes(Crlf("[Animation]|Schrittzahl=350") + std::string(1, '\0')), notText},
        {"random bytes", bytes("[Animation]\r\nSchrittzahl=350\r\n" + noise), notText},
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); },
         "ein Verzeichnis, keine Datei"},
    };
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path);
        c.make(path);
        const auto before = std::filesystem::status(path).type();
        const std::string old = std::filesystem::is_regular_file(path) ? ReadBytes(path) : std::string();
        EXPECT_EQ(LoadSettings(path), "Die Datei \"" + path + "\" konnte nicht gelesen werden (" + c.cause +
                                          "). Es gelten die Standardwerte; die Datei bleibt unverändert.");
        EXPECT_EQ(AnimationSteps, 200);
        ParamA = 5.0;
        EXPECT_NE(SaveSettings(path).find(std::string("gelesen werden konnte (") + c.cause + ")"),
                  std::string::npos);
        EXPECT_EQ(std::filesystem::status(path).type(), before);
        EXPECT_EQ(std::filesystem::is_regular_file(path) ? ReadBytes(path) : std::string(), old);
    }
}

TEST_F(SettingsTest, FileWithoutReadPermissionIsReportedAtLoad)
{
    WriteBytes(path, Crlf("[Animation]|Schrittzahl=350"));
    ASSERT_TRUE(test::HandToOrdinaryUser(dir.path()) && test::HandToOrdinaryUser(path));
    std::filesystem::permissions(path, Perms::owner_write);
    const std::optional<bool> reported = test::RunAsOrdinaryUser(
        [&] { return ::access(path.c_str(), R_OK) != 0; },
        [&] {
            return LoadSettings(path) ==
                   "Die Datei \"" + path +
                       "\" konnte nicht gelesen werden (keine Leseberechtigung). Es gelten "
                       "die Standardwerte; die Datei bleibt unverändert.";
        });
    if (!reported)
        GTEST_SKIP() << "no process for whom the file's mode holds could be started";
    EXPECT_TRUE(*reported);
}

} // namespace
} // namespace kurvex

// Shared settings and run-time variables, the settings file, and the fraction text.
#pragma once

#include "platform/Canvas.h"

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kurvex {

// Longest term text a variable keeps; the file copy in IniSettings keeps more.
constexpr std::size_t kMaxTermLength = 120;
constexpr std::size_t kMaxIniTermLength = 180;

// ---- Settings kept in the settings file (defaults are those of an absent key) ----

inline TColor BackgroundColor = 0xFFFFFF;
inline TColor GraphColor = 0x000000;
inline TColor GridColor = 0x808080;
inline TColor TangentLineColor = 0xFF0000;
inline TColor SecantColor = 0x800080;
inline TColor TriangleColor = 0x00FFFF;
inline TColor Deriv1Color = 0x0000FF;
inline TColor Deriv2Color = 0x000080;
inline TColor SinColor = 0xFF0000;
inline TColor CosColor = 0x0000FF;
inline TColor TanColor = 0x000080;
inline TColor CotColor = 0x800080;
inline TColor AreaColor = 0x00FFFF;
inline TColor ArcColor = 0x008000;
inline TColor AngleColor = 0x00FF00;
inline TColor EpsilonColor = 0xC0C0C0;
inline TColor DeltaColor = 0x008000;
inline TColor FOfDeltaColor = 0x0000FF;

inline int PrintSizePercent = 100;
inline double TangentLength = 1.0;
inline int Decimals = 2;

inline double ParamA = 1.0, ParamAMin = -4.0, ParamAMax = 4.0;
inline double ParamB = 0.0, ParamBMin = -4.0, ParamBMax = 4.0;
inline double ParamC = 0.0, ParamCMin = -4.0, ParamCMax = 4.0;
inline double ParamD = 0.0, ParamDMin = -4.0, ParamDMax = 4.0;
inline double ParamT = 0.0, ParamTMin = -4.0, ParamTMax = 4.0;

inline double PointXP = 1.0;
inline double PointXQ = 2.0;
inline double SequenceLimit = 0.0;
inline double EpsDeltaMaxRadius = 2.0;

// World window, shared by every window.
inline double XMin = -7.0;
inline double XMax = 7.0;
inline double YMin = -7.0;
inline double YMax = 7.0;

// Term texts: Windows-1252, at most kMaxTermLength characters.
inline std::string TermGeneral;     // "f(x,a,b,c,d)"
inline std::string TermText;        // "f(x)"
inline std::string TermOfT;         // "f(t)"
inline std::string TermShifted;     // "af(x-u)+v"
inline std::string TermPiece1;      // "Stetigkeit f1(x)"
inline std::string TermPiece2;      // "Stetigkeit f2(x)"
inline std::string TermCovariation; // "Kovariation f(x)"
inline std::string TermBisection;   // "Bisektion f(x)"
inline std::string TermSequence;    // "Folgen a(n)"

inline int AnimationSteps = 200;
inline int TrigAnimationSteps = 2;
inline int AnimationDelay = 0; // milliseconds

// Only the tick with index 1 on each axis is labelled.
inline bool ShowScale = true;
// 1 no grid, 2 dotted grid, 3 solid grid.
inline int GridMode = 2;

// The file's values as last loaded, a second copy beside the variables.
struct IniSettingsRecord {
    TColor backgroundColor = 0xFFFFFF;
    TColor penColor = 0x000000;
    TColor gridColor = 0x808080;
    TColor tangentColor = 0xFF0000;
    TColor secantColor = 0x800080;
    TColor triangleColor = 0x00FFFF;
    TColor deriv1Color = 0x0000FF;
    TColor deriv2Color = 0x000080;
    TColor areaColor = 0x00FFFF;
    TColor sinColor = 0xFF0000;
    TColor cosColor = 0x0000FF;
    TColor tanColor = 0x000080;
    TColor cotColor = 0x800080;
    TColor arcColor = 0x008000;
    TColor angleColor = 0x00FF00;
    TColor epsilonColor = 0xC0C0C0;
    TColor deltaColor = 0x008000;
    TColor fOfDeltaColor = 0x0000FF;
    int printSize = 100;
    int animationSteps = 200;
    int trigSteps = 2;
    int delay = 0;
    double a1 = -4.0, a2 = 4.0, b1 = -4.0, b2 = 4.0, c1 = -4.0, c2 = 4.0;
    double a = 1.0, b = 0.0, c = 0.0, d = 0.0;
    double d1 = -4.0, d2 = 4.0, t = 0.0, t1 = -4.0, t2 = 4.0;
    double x1 = -7.0, x2 = 7.0, y1 = -7.0, y2 = 7.0;
    double xP = 1.0, xQ = 2.0, edmax = 2.0, g = 0.0;
    int gridMode = 2;
    bool scale = true;
    // Term texts (Windows-1252, at most kMaxIniTermLength characters), in the file's key order.
    std::string termGeneral, termText, termOfT, termShifted, termPiece1, termPiece2, termCovariation,
        termBisection, termSequence;
    double tangentLength = 1.0;
    int decimals = 2;
};
inline IniSettingsRecord IniSettings;

// ---- Variables that live only for the run ----

inline double CurrentX = 0.0;
inline int LineWidth = 1;
inline bool TraceMode = false;
inline bool ShowDerivative = false;
inline bool UseSpectrum = false;
inline bool FixFamily = false;
inline BrushStyle AreaFillStyle = BrushStyle::Solid;
inline bool AutoTicks = true;
inline bool PiAxis = false;
inline double UserXTickStep = 0.0;
inline double UserYTickStep = 0.0;
inline int ResultDigits = 3;
inline double StepWidth = 1.0;
// Directory of the executable, with a trailing '/'.
inline std::string ProgramDir;

// Curve plotting shared by the lesson windows.
inline TColor CurveColor = 0x000000;
inline int CurveKind = 4;
inline bool AnimationRunning = false;

// Start-up flags and values set by the launcher.
inline bool ShowInfoAtStartAndExit = true;
inline bool ModuleOpen = false;
inline int StartTab = 0;
inline bool TransferFitTerm = true;
inline int RegModel = 0;
inline int PolyDegree = 3;
inline int NumeratorDegree = 1;
inline int DenominatorDegree = 1;
inline bool SpareFlag1 = true;
inline bool SpareFlag2 = false;
inline int SpareInt1 = 0;
inline int SpareInt2 = 0;
inline int SpareInt3 = 0;

// World window in force before the trigonometry window replaced it.
inline double SavedXMin = -7.0;
inline double SavedXMax = 7.0;
inline double SavedYMin = -7.0;
inline double SavedYMax = 7.0;

// ---- Plot rectangle and coordinate system ----

inline int PlotLeft = 0;
inline int PlotTop = 0;
inline int PlotWidth = 0;  // pixel column of XMax
inline int PlotHeight = 0; // pixel row of YMin
inline double XTickStep = 1.0;
inline double YTickStep = 1.0;
inline double AutoXTickStep = 1.0;
inline double AutoYTickStep = 1.0;
inline bool TrigTicks = false;
inline bool NumberLineMode = false;
// Axis captions (UTF-8).
inline std::string XAxisLabel = "x";
inline std::string YAxisLabel = "y";

// ---- Printing ----

inline double PrintMarginLeft = 0.0; // centimetres
inline double PrintMarginTop = 0.0;  // centimetres
inline int PrintOriginX = 0;         // printer pixels of the plot's upper left corner
inline int PrintOriginY = 0;

// ---- Settings file ----

inline constexpr const char* kSettingsFileName = "Kurvex.ini";

// ProgramDir + "Kurvex.ini".
std::string SettingsFilePath();

// Reads the settings file into the variables and into IniSettings. A missing file gives the
// defaults; damaged values are replaced by defaults or brought into their limits. In terms, a real
// π or Φ (from a UTF-8 file) becomes the program's byte for it; a term longer than kMaxTermLength
// is not used. Returns a German message naming the file and what is wrong with it (a file that
// could not be read, a term too long), else an empty text.
std::string LoadSettings();
std::string LoadSettings(const std::string& path);

// Writes the settings this run changed since it last loaded the same file, and those the file
// lacks; every other key keeps what the file holds now, so a save does not undo what another copy
// of the program or a hand edit put there meanwhile. A term whose text in the file already reads
// as the variable keeps that text (a real π typed into a UTF-8 file stays π). A file this run has
// not loaded receives every setting. Returns an empty text on success, else a German description
// of what could not be saved; the file on disk is then unchanged.
std::string SaveSettings();
std::string SaveSettings(const std::string& path);

// Built-in defaults of the settings dialog's default button; differs from absent-key defaults.
void SetDefaultSettings();
// Trigonometric colours and step divisor of the trigonometry settings dialog.
void SetTrigDefaultColors();

// One row of the settings table shared by loading, saving and the tests.
using SettingVariable = std::variant<TColor*, int*, double*, bool*, std::string*>;
using SettingField =
    std::variant<TColor IniSettingsRecord::*, int IniSettingsRecord::*, double IniSettingsRecord::*,
                 bool IniSettingsRecord::*, std::string IniSettingsRecord::*>;
struct SettingEntry {
    const char* section; // UTF-8
    const char* key;     // UTF-8
    SettingVariable variable;
    SettingField field;
    double defaultValue; // absent-key default of numbers and flags; texts default to empty
};
// Rows in the order the settings are written.
std::span<const SettingEntry> SettingsTable();

using SettingValue = std::variant<TColor, int, double, bool, std::string>;

// One copy of the program's view of a settings file: what its variables held after its last load
// or save, so that its save writes only what it changed since (see SaveSettings, which uses the
// store of the file loaded last).
class SettingsStore {
public:
    explicit SettingsStore(std::string path);
    const std::string& path() const { return path_; }
    // As LoadSettings.
    std::string load();
    // As SaveSettings; before any load every setting is written.
    std::string save();

private:
    std::string path_;
    std::vector<SettingValue> loaded_; // by table row; empty before the first load
};

// ---- Fraction text ----

// Continued-fraction approximation of x: true when a convergent p/q within tol was found.
// p and q are whole numbers held in doubles; p carries the sign of x.
bool ContinuedFraction(double& p, double& q, double tol, double x);
// A whole number, a fraction p/q, a mixed number n'r/q (mixed and |x| > 1), or a decimal text.
std::string FloatToFractionText(bool mixed, double x);
std::string FloatToFraction(double x);

} // namespace kurvex

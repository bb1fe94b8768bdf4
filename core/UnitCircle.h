// The trigonometry lesson's picture in world numbers: the unit circle left of the graphs, the angle
// and its arc, the tangent and cotangent values, the traced graph points, the axis marks, the value
// texts, the angle bars and the animation's turn-around.
#pragma once

#include "core/WorldWindow.h"

#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {

// The lesson's fixed world window: the unit circle in -6.5..-3.5, the graphs over -π..2π.
inline constexpr WorldRect kTrigWorld{-6.5, 6.5, -4.0, 4.0};
inline constexpr double kCircleCentreX = -5.0;
// The circle's part of the picture ends here; the graphs start right of it.
inline constexpr double kCircleAreaRight = -3.5;
// The tangent line x = -4 touches the circle at angle 0.
inline constexpr double kTangentLineX = -4.0;
inline constexpr double kGraphFrom = -std::numbers::pi;
inline constexpr double kGraphTo = 2.0 * std::numbers::pi;
// Tangent and cotangent are drawn on the circle only while their divisor is larger than this.
inline constexpr double kTanCotMinDivisor = 0.1;

struct WorldXY {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const WorldXY&) const = default;
};

// The point of the unit circle at the angle: (-5 + cos, sin).
WorldXY CirclePoint(double angle);

// ---- The arc (and the sector of the degree mode) ----

// How the arc from angle 0 to the angle is drawn: not at all, between two rays, or as the whole
// circle. A canvas takes rays through one pixel as a full turn, so ends that land on one pixel
// make either nothing (a tiny angle) or a whole circle (an angle close to a full turn or beyond).
enum class ArcShape { None, Partial, FullTurn };
ArcShape ArcShapeOf(double angle, bool endsOnOnePixel);

// The two ray points, counter-clockwise from `from` to `to`: from (-4, 0) to the circle point for a
// positive angle, the other way round for a negative one.
struct ArcRays {
    WorldXY from;
    WorldXY to;
};
ArcRays ArcRaysOf(double angle);

// ---- Tangent and cotangent ----

// tan and cot of a graph's x: nothing where the value is undefined (cot where sin x is 0) or not
// finite.
std::optional<double> TangentValue(double x);
std::optional<double> CotangentValue(double x);
// The tangent's height on the tangent line and its text: only while |cos| > 0.1.
std::optional<double> TangentOnCircle(double angle);
// The cotangent's text: only while |sin| > 0.1.
std::optional<double> CotangentOnCircle(double angle);

// ---- Graph samples ----

// x from `from` towards `to` in steps of `step` (the sign follows the direction), the last one not
// beyond `to`; at least `from` itself. Nothing for an undefined or non-positive step. A step too
// small for the distance is widened, so the list never exceeds kMaxGraphSamples.
inline constexpr std::size_t kMaxGraphSamples = 100000;
std::vector<double> GraphSampleXs(double from, double to, double step);

// ---- Texts ----

enum class TrigFunction { Sin, Cos, Tan, Cot };
// "sin(30°) = 0,5" in degree mode, "sin(0,5236) = 0,5" in radian mode; four significant digits. A
// value of rounding noise (sin 180° is 1.2E-16 in doubles) reads 0.
std::string TrigValueText(TrigFunction function, double angle, double value, bool radianMode);

// A mark on the graph's x axis: its text (in the symbol font Latin letters are Greek: "p" is π,
// "a" is α), its world point (upper left corner, before centring) and how many characters it shows,
// by which it is centred on a placeholder of as many letters "H".
struct AxisMark {
    std::string text;
    bool symbolFont = false;
    double x = 0.0;
    double y = 0.0;
    int shownCharacters = 0;
};
// Degree mode: "-180°", "180°", "360°", "30°" and α; radian mode: "x", -π, π, 2π and π/6.
std::vector<AxisMark> AxisMarks(bool radianMode);

// ---- The angle's bars ----

inline constexpr int kDegreeBarMin = -180;
inline constexpr int kDegreeBarMax = 360;
inline constexpr int kStepBarMin = -12;
inline constexpr int kStepBarMax = 24;
// ScrollBar1 in 1° steps, TrackBar1 in 15° steps.
double AngleOfDegreeBar(int position);
double AngleOfStepBar(int position);
// The nearest position of each bar, kept within the bar's range.
int DegreeBarPosition(double angle);
int StepBarPosition(double angle);

// ---- Animation ----

// 4° per frame divided by the step divisor (1 to 20).
double AnimationAngleStep(int trigAnimationSteps);
// The direction after a frame: down at or beyond 2π, up at or below -π, else unchanged. Only the
// sign is set, so an angle dragged beyond an end comes back.
int TurnAround(double angle, int direction);

} // namespace kurvex

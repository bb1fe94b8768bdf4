// The polynomial of lowest degree through conditions placed in the plane: the conditions and their
// list, the linear system and its solution, the polynomial's values and its term text.
#pragma once

#include "platform/Canvas.h"

#include <span>
#include <string>
#include <vector>

namespace kurvex {

// What a condition demands of f at its point; 1 to 3 equations each.
enum class ConditionKind {
    Point,           // f(x) = y
    PointSlope,      // f(x) = y, f'(x) = m
    Extremum,        // f(x) = y, f'(x) = 0
    Inflection,      // f(x) = y, f''(x) = 0
    InflectionSlope, // f(x) = y, f'(x) = m, f''(x) = 0
    Terrace,         // f(x) = y, f'(x) = 0, f''(x) = 0
};
constexpr int kConditionKindCount = 6;
// At most seven equations, so the polynomial has degree six at most.
constexpr int kMaxEquations = 7;

int EquationsOf(ConditionKind kind);
// Whether the kind carries a typed slope (PointSlope, InflectionSlope).
bool HasOwnSlope(ConditionKind kind);
// Whether a slope line belongs to the kind (every kind with an f' equation).
bool HasSlopeLine(ConditionKind kind);

struct Condition {
    double x = 0.0;
    double y = 0.0;
    TColor color = 0;
    ConditionKind kind = ConditionKind::Point;
    double m = 0.0; // the slope f'(x) must have; 0 for Extremum and Terrace, unused without f'
};

int TotalEquations(std::span<const Condition> conditions);

// ---- The linear system ----

struct LinearSolution {
    std::vector<double> x;
    bool singular = false;
};
// a·x = b by InvertGaussJordan (numeric/Matrices) after each row is scaled to its largest entry;
// singular when no pivot stands out of the rounding noise of the scaled matrix.
LinearSolution SolveLinearSystem(std::vector<std::vector<double>> a, std::vector<double> b);

// ---- The polynomial ----

enum class PolynomialFailure {
    None,
    SameX,        // two conditions at one x
    Undetermined, // too few or contradictory conditions
};

struct Polynomial {
    std::vector<double> a; // a0 .. a(N-1); empty without conditions
    // The same polynomial in powers of u = (x - centre) / scale, as it was solved: its values stay
    // exact where the powers of x cancel each other (conditions close together far from 0).
    std::vector<double> b;
    double centre = 0.0;
    double scale = 1.0;
    PolynomialFailure failure = PolynomialFailure::None;
    bool solved() const { return failure == PolynomialFailure::None && !a.empty(); }
};

// The polynomial of degree N - 1 (N the number of equations) that meets every condition. The system
// is set up in u, centred on the conditions when they lie far from 0 against their spread and scaled
// by a power of two, so that closely spaced conditions stay apart for the reduction; coefficients
// too small to count against the others over the conditions' range are 0.
Polynomial SolvePolynomial(std::span<const Condition> conditions);

// f (order 0), f' (1) or f'' (2) at x, from the coefficients a0, a1, ... of powers of x.
double EvaluatePolynomial(std::span<const double> a, double x, int order = 0);
// The same from the solved form in u; 0 for an unsolved polynomial.
double EvaluatePolynomial(const Polynomial& p, double x, int order = 0);

// The term from the highest power down, e.g. " -  2,000 x^2 +  4,000 x": each non-zero coefficient
// with its sign, its amount with three decimals (or as a fraction) and its power; a leading " +" is
// dropped; "0,000" (fractions: "0,00") when every coefficient is 0.
std::string PolynomialTermText(std::span<const double> a, bool fractions);

// The red message of a failed solution (UTF-8); empty for None.
std::string FailureMessage(PolynomialFailure failure);

// ---- The conditions of a window and the one selected ----

// A pick hits a condition when the mouse lies strictly within this many pixels of its point on both
// axes.
constexpr int kConditionHitRadius = 12;
bool HitsPoint(int pointX, int pointY, int mouseX, int mouseY);

class ConditionList {
public:
    const std::vector<Condition>& items() const { return items_; }
    bool empty() const { return items_.empty(); }
    int equationCount() const { return equations_; }

    // Appends and selects the condition; false (nothing changes, not even the selection) when its
    // equations would go beyond kMaxEquations.
    bool add(const Condition& c);
    bool canAdd(ConditionKind kind) const;

    // -1 when none is selected.
    int selected() const { return selected_; }
    bool hasSelection() const { return selected_ >= 0 && selected_ < static_cast<int>(items_.size()); }
    const Condition* selectedCondition() const;
    void select(int index);

    // The last condition whose pixel position the mouse hits (the one drawn on top), or -1.
    // pixelOf maps a world point to the plot's pixels.
    template <class PixelOf> int hitTest(PixelOf pixelOf, int mouseX, int mouseY) const
    {
        for (int i = static_cast<int>(items_.size()) - 1; i >= 0; --i) {
            const auto p =
                pixelOf(items_[static_cast<std::size_t>(i)].x, items_[static_cast<std::size_t>(i)].y);
            if (HitsPoint(p.x, p.y, mouseX, mouseY)) {
                return i;
            }
        }
        return -1;
    }

    // Moves the selected condition to (x, y); with shiftAll every other one moves by the same offset.
    void moveSelectedTo(double x, double y, bool shiftAll);
    // The slope of the selected condition, where its kind carries one.
    void setSelectedSlope(double m);
    // Removes the selected condition; the one before it becomes selected (the first stays first).
    bool deleteSelected();
    void clear();

private:
    std::vector<Condition> items_;
    int equations_ = 0;
    int selected_ = -1;
};

} // namespace kurvex

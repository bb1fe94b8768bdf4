// Guarded elementary functions that never raise: substitute values plus the global MathErrorCode.
#pragma once

namespace kurvex {

// Code of the last failing elementary function: 0 none, -1 domain, -2 singularity, -3 overflow,
// -4 underflow. 0 at program start; no routine reads it back, callers test the results instead.
inline int MathErrorCode = 0;

// Substitute result for a singularity or overflow: four units in the last place below DBL_MAX.
inline constexpr double kMaxSubstitute = 1.797693134862315e308;
// Arguments of SafeExp outside [kMinExpArg, kMaxExpArg] underflow or overflow.
inline constexpr double kMinExpArg = -708.3964185322641;
inline constexpr double kMaxExpArg = 709.782712893384;
// Smallest power whose reciprocal is still finite (just above 2^-1024).
inline constexpr double kMinPowerReciprocal = 5.56268464626801e-309;
inline constexpr double kMachineEpsilon = 2.220446049250313e-16;

// Stores Code in MathErrorCode; returns kMaxSubstitute for -2 and -3, else 0.
double SetMathError(int Code);

int MinInt(int a, int b);
// The larger of a and b; on a tie (and whenever the comparison fails, e.g. NaN) the first.
double MaxFloat(double a, double b);
// 1 for x >= 0 (also for -0), else -1.
double SignPlusMinus(double x);
void SwapFloats(double& a, double& b);

// e^x; below kMinExpArg 0 with code -4, above kMaxExpArg kMaxSubstitute with code -3.
double SafeExp(double x);
// ln x; x < 0 gives 0 with code -1, x = 0 gives kMaxSubstitute with code -2.
double SafeLn(double x);
// x^y for the cases that need no computation (x = 0, y = 0, y = 1); false leaves r alone.
bool PowerSpecialCase(double x, double y, double& r);
// x^n built from a base of magnitude at most 1, so it never overflows on the way.
double PowerByInteger(double x, int n);
// x^y for any exponent; a negative base only with an integral exponent (else 0, code -1).
double RealPower(double x, double y);
// sqrt(a^2 + b^2) without intermediate overflow.
double Hypotenuse(double a, double b);
// arccos x; outside [-1, 1] 0 with code -1.
double SafeArcCos(double x);

} // namespace kurvex

// Periods of sine-like data for further starts of the sine fit: from the sign changes about the mean
// and from the highest peak of the periodogram, each turned into start values by a linear fit.
#include "numeric/SinePeriods.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "numeric/GuardedMath.h"
#include "numeric/Statistics.h"

namespace kurvex {

namespace {

// Changes within this share of the standard deviation around the mean count as noise.
constexpr double kDeadBand = 0.25;
// Frequency steps per one period's b: fine enough that the linear start fit finds the phase.
constexpr int kOversampling = 4;
// Amplitudes below this share of the mean level are rounding, not oscillation.
constexpr double kNoAmplitude = 1e-10;

} // namespace

double SineFrequencyFromCrossings(const TVector& X, const TVector& Y, int N)
{
    if (N < 2)
        return 0.0;
    const double mean = VectorMean(Y, 1, N);
    const double band = kDeadBand * std::sqrt(SumSquaredDeviations(Y, 1, N, mean) / N);
    int side = 0;
    int changes = 0;
    double lastOutside = X[1];
    double firstChange = 0.0;
    double lastChange = 0.0;
    for (int i = 1; i <= N; ++i) {
        const double deviation = Y[i] - mean;
        if (!(std::fabs(deviation) > band))
            continue;
        const int sideHere = deviation > 0.0 ? 1 : -1;
        if (side != 0 && sideHere != side) {
            const double at = 0.5 * (lastOutside + X[i]);
            if (changes == 0)
                firstChange = at;
            lastChange = at;
            ++changes;
        }
        side = sideHere;
        lastOutside = X[i];
    }
    if (changes < 2 || !(lastChange > firstChange))
        return 0.0;
    // Neighbouring sign changes are half a period apart.
    return std::numbers::pi * (changes - 1) / (lastChange - firstChange);
}

double SineFrequencyFromPeriodogram(const TVector& X, const TVector& Y, int N)
{
    const double span = N >= 2 ? X[N] - X[1] : 0.0;
    if (!(span > 0.0) || !std::isfinite(span))
        return 0.0;
    const double mean = VectorMean(Y, 1, N);
    const double step = 2.0 * std::numbers::pi / (kOversampling * span);
    const int first = kOversampling / 2;
    const int last = kOversampling * (N - 1) / 2;
    // exp(i b x) at every point, advanced from one frequency to the next by one multiplication.
    std::vector<std::complex<double>> phase(N);
    std::vector<std::complex<double>> advance(N);
    for (int i = 1; i <= N; ++i) {
        advance[i - 1] = std::polar(1.0, step * X[i]);
        phase[i - 1] = std::polar(1.0, first * step * X[i]);
    }
    double bestPower = 0.0;
    int bestIndex = 0;
    for (int k = first; k <= last; ++k) {
        std::complex<double> sum = 0.0;
        for (int i = 1; i <= N; ++i) {
            sum += (Y[i] - mean) * phase[i - 1];
            phase[i - 1] *= advance[i - 1];
        }
        const double power = std::norm(sum);
        if (power > bestPower) {
            bestPower = power;
            bestIndex = k;
        }
    }
    return bestIndex * step;
}

bool SineStartForFrequency(const TVector& X, const TVector& Y, int N, double b, SineParameterSet& start)
{
    // Normal equations of y = A sin(bx) + B cos(bx) + d; A sin + B cos = a sin(bx + c).
    SineMatrix normal{};
    std::array<double, 3> right{};
    for (int i = 1; i <= N; ++i) {
        const std::array<double, 3> row{std::sin(b * X[i]), std::cos(b * X[i]), 1.0};
        for (int j = 0; j < 3; ++j) {
            right[j] += row[j] * Y[i];
            for (int k = 0; k < 3; ++k)
                normal[j][k] += row[j] * row[k];
        }
    }
    if (Invert4x4(normal, 3) == 0.0)
        return false;
    std::array<double, 3> solution{};
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 3; ++k)
            solution[j] += normal[j][k] * right[k];
    }
    start = {std::hypot(solution[0], solution[1]), b, std::atan2(solution[1], solution[0]), solution[2]};
    for (const double v : start) {
        if (!std::isfinite(v))
            return false;
    }
    // An amplitude at rounding level means there is no oscillation at b to start from.
    return start[0] > kNoAmplitude * std::fabs(start[3]);
}

} // namespace kurvex

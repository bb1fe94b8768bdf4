// Real roots of a polynomial: closed form up to degree 3, companion-matrix eigenvalues beyond.
#include "numeric/PolynomialRoots.h"

#include "numeric/Eigenvalues.h"
#include "numeric/GuardedMath.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// A zero leading coefficient would divide by zero: the polynomial has the lower degree.
int effectiveDegree(const TVector& C, int Deg)
{
    while (Deg > 0 && C[Deg] == 0.0)
        --Deg;
    return Deg;
}

void ensureSize(TVector& R, int Ub)
{
    if (Ub >= 0 && R.size() < static_cast<std::size_t>(Ub) + 1)
        R.resize(static_cast<std::size_t>(Ub) + 1, 0.0);
}

} // namespace

int CubicRoots(const TVector& C, int Deg, TVector& R)
{
    if (Deg < 1 || Deg > 3)
        return 0;
    ensureSize(R, Deg);
    Deg = effectiveDegree(C, Deg);
    int count = 0;
    switch (Deg) {
    case 1:
        R[1] = -C[0] / C[1];
        count = 1;
        break;
    case 2: {
        const double delta = C[1] * C[1] - 4.0 * C[0] * C[2];
        if (delta < 0.0)
            break;
        const double root = std::sqrt(delta);
        const double q = C[1] >= 0.0 ? -(C[1] + root) / 2.0 : -(C[1] - root) / 2.0;
        R[1] = q / C[2];
        // q = 0 only for C1 = C0 = 0: the double root 0 (C0/q would be 0/0).
        R[2] = q == 0.0 ? 0.0 : C[0] / q;
        count = 2;
        break;
    }
    case 3: {
        const double a = C[2] / C[3];
        const double b = C[1] / C[3];
        const double c = C[0] / C[3];
        const double Q = (a * a - 3.0 * b) / 9.0;
        const double T = ((2.0 * a * a - 9.0 * b) * a + 27.0 * c) / 54.0;
        const double Q3 = Q * Q * Q;
        if (Q3 - T * T >= 0.0) {
            if (Q <= 0.0) {
                // Q = 0 forces T = 0: the triple root, where T/sqrt(Q^3) would be 0/0.
                R[1] = R[2] = R[3] = -a / 3.0;
            } else {
                // Rounding can push the ratio of a double root just past +-1.
                const double ratio = std::clamp(T / std::sqrt(Q3), -1.0, 1.0);
                const double theta = SafeArcCos(ratio) / 3.0;
                const double m = -2.0 * std::sqrt(Q);
                R[1] = m * std::cos(theta) - a / 3.0;
                R[2] = m * std::cos(theta + 2.0943951023931957) - a / 3.0;
                R[3] = m * std::cos(theta - 2.0943951023931957) - a / 3.0;
            }
            count = 3;
        } else {
            double A = RealPower(std::abs(T) + std::sqrt(T * T - Q3), 0.333333333333333);
            if (T >= 0.0)
                A = -A;
            const double B = A == 0.0 ? 0.0 : Q / A;
            R[1] = A + B - a / 3.0;
            count = 1;
        }
        break;
    }
    default:
        break;
    }
    std::sort(R.begin() + 1, R.begin() + 1 + count);
    return count;
}

int PolynomialRoots(const TVector& C, int Deg, TVector& R)
{
    ensureSize(R, Deg);
    const int givenDeg = Deg;
    Deg = effectiveDegree(C, Deg);
    if (Deg < 1)
        return 0;
    if (Deg <= 3)
        return CubicRoots(C, Deg, R);

    const int n = Deg - 1;
    TMatrix A;
    AllocMatrix(A, n, n);
    for (int j = 0; j <= n; ++j)
        A[0][j] = -C[Deg - 1 - j] / C[Deg];
    for (int j = 0; j < n; ++j)
        A[j + 1][j] = 1.0;
    BalanceMatrix(A, 0, n);
    TVector re, im;
    AllocVector(re, n);
    AllocVector(im, n);
    if (HessenbergQrEigen(A, 0, n, re, im) != 0)
        return -2;

    // Selection sort by real part, the imaginary parts moved along.
    for (int i = 0; i < n; ++i) {
        int k = i;
        for (int j = i + 1; j <= n; ++j)
            if (re[j] < re[k])
                k = j;
        if (k != i) {
            std::swap(re[i], re[k]);
            std::swap(im[i], im[k]);
        }
    }
    int count = 0;
    for (int i = 0; i <= n; ++i)
        if (std::abs(im[i]) <= kMachineEpsilon)
            R[++count] = re[i];
    for (int i = count + 1; i <= givenDeg; ++i)
        R[i] = 0.0;
    return count;
}

} // namespace kurvex

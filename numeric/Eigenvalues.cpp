// Eigenvalues of a real matrix: radix-2 balancing and the double-shift Hessenberg QR iteration.
#include "numeric/Eigenvalues.h"

#include "numeric/GuardedMath.h"

#include <algorithm>
#include <cmath>

namespace kurvex {

void BalanceMatrix(TMatrix& A, int Lb, int Ub)
{
    constexpr double kRadix = 2.0;
    constexpr double kRadixSquared = kRadix * kRadix;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = Lb; i <= Ub; ++i) {
            double c = 0.0;
            double r = 0.0;
            for (int j = Lb; j <= Ub; ++j)
                if (j != i) {
                    c += std::abs(A[j][i]);
                    r += std::abs(A[i][j]);
                }
            // A non-finite norm would never come into range: leave such a row alone.
            if (c == 0.0 || r == 0.0 || !std::isfinite(c) || !std::isfinite(r))
                continue;
            double g = r / kRadix;
            double f = 1.0;
            const double s = c + r;
            while (c < g) {
                f *= kRadix;
                c *= kRadixSquared;
            }
            g = r * kRadix;
            while (c > g) {
                f /= kRadix;
                c /= kRadixSquared;
            }
            if ((c + r) / f < 0.95 * s) {
                changed = true;
                const double invF = 1.0 / f;
                for (int j = Lb; j <= Ub; ++j)
                    A[i][j] *= invF;
                for (int j = Lb; j <= Ub; ++j)
                    A[j][i] *= f;
            }
        }
    }
}

namespace {

double withSignOf(double a, double b)
{
    return std::abs(a) * SignPlusMinus(b);
}

} // namespace

int HessenbergQrEigen(TMatrix& A, int Lb, int Ub, TVector& Re, TVector& Im)
{
    if (Ub < Lb)
        return 0;
    if (Re.size() < static_cast<std::size_t>(Ub) + 1)
        Re.resize(static_cast<std::size_t>(Ub) + 1, 0.0);
    if (Im.size() < static_cast<std::size_t>(Ub) + 1)
        Im.resize(static_cast<std::size_t>(Ub) + 1, 0.0);

    double norm = 0.0;
    for (int i = Lb; i <= Ub; ++i)
        for (int j = std::max(i - 1, Lb); j <= Ub; ++j)
            norm += std::abs(A[i][j]);

    int nn = Ub;
    double t = 0.0; // accumulated exceptional shifts
    int its = 0;
    double p = 0.0, q = 0.0, r = 0.0;
    double x = 0.0, y = 0.0, z = 0.0, w = 0.0, s = 0.0;
    while (nn >= Lb) {
        // Look for a single small subdiagonal element.
        int l = nn;
        for (; l > Lb; --l) {
            s = std::abs(A[l - 1][l - 1]) + std::abs(A[l][l]);
            if (s == 0.0)
                s = norm;
            if (std::abs(A[l][l - 1]) <= kMachineEpsilon * s) {
                A[l][l - 1] = 0.0;
                break;
            }
        }
        x = A[nn][nn];
        if (l == nn) {
            Re[nn] = x + t;
            Im[nn] = 0.0;
            --nn;
            its = 0;
            continue;
        }
        y = A[nn - 1][nn - 1];
        w = A[nn][nn - 1] * A[nn - 1][nn];
        if (l == nn - 1) {
            // A 2x2 block: a real pair or a complex-conjugate pair.
            p = 0.5 * (y - x);
            q = p * p + w;
            z = std::sqrt(std::abs(q));
            x += t;
            if (q >= 0.0) {
                z = p + withSignOf(z, p);
                Re[nn - 1] = Re[nn] = x + z;
                if (z != 0.0)
                    Re[nn] = x - w / z;
                Im[nn - 1] = Im[nn] = 0.0;
            } else {
                Re[nn - 1] = Re[nn] = x + p;
                Im[nn - 1] = z;
                Im[nn] = -z;
            }
            nn -= 2;
            its = 0;
            continue;
        }
        if (its >= 30)
            return -2;
        if (its == 10 || its == 20) {
            // Exceptional shift to break a cycle.
            t += x;
            for (int i = Lb; i <= nn; ++i)
                A[i][i] -= x;
            s = std::abs(A[nn][nn - 1]) + std::abs(A[nn - 1][nn - 2]);
            x = y = 0.75 * s;
            w = -0.4375 * s * s;
        }
        ++its;
        // Look for two consecutive small subdiagonal elements.
        int m = nn - 2;
        for (; m >= l; --m) {
            z = A[m][m];
            r = x - z;
            s = y - z;
            p = (r * s - w) / A[m + 1][m] + A[m][m + 1];
            q = A[m + 1][m + 1] - z - r - s;
            r = A[m + 2][m + 1];
            s = std::abs(p) + std::abs(q) + std::abs(r);
            p /= s;
            q /= s;
            r /= s;
            if (m == l)
                break;
            const double u = std::abs(A[m][m - 1]) * (std::abs(q) + std::abs(r));
            const double v =
                std::abs(p) * (std::abs(A[m - 1][m - 1]) + std::abs(z) + std::abs(A[m + 1][m + 1]));
            if (u <= kMachineEpsilon * v)
                break;
        }
        for (int i = m + 2; i <= nn; ++i) {
            A[i][i - 2] = 0.0;
            if (i != m + 2)
                A[i][i - 3] = 0.0;
        }
        // Double-shift QR step on rows l..nn and columns m..nn.
        for (int k = m; k <= nn - 1; ++k) {
            if (k != m) {
                p = A[k][k - 1];
                q = A[k + 1][k - 1];
                r = 0.0;
                if (k != nn - 1)
                    r = A[k + 2][k - 1];
                x = std::abs(p) + std::abs(q) + std::abs(r);
                if (x != 0.0) {
                    p /= x;
                    q /= x;
                    r /= x;
                }
            }
            s = withSignOf(std::sqrt(p * p + q * q + r * r), p);
            if (s == 0.0)
                continue;
            if (k == m) {
                if (l != m)
                    A[k][k - 1] = -A[k][k - 1];
            } else {
                A[k][k - 1] = -s * x;
            }
            p += s;
            x = p / s;
            y = q / s;
            z = r / s;
            q /= p;
            r /= p;
            for (int j = k; j <= nn; ++j) {
                p = A[k][j] + q * A[k + 1][j];
                if (k != nn - 1) {
                    p += r * A[k + 2][j];
                    A[k + 2][j] -= p * z;
                }
                A[k + 1][j] -= p * y;
                A[k][j] -= p * x;
            }
            const int iMax = std::min(nn, k + 3);
            for (int i = l; i <= iMax; ++i) {
                p = x * A[i][k] + y * A[i][k + 1];
                if (k != nn - 1) {
                    p += z * A[i][k + 2];
                    A[i][k + 2] -= p * r;
                }
                A[i][k + 1] -= p * q;
                A[i][k] -= p;
            }
        }
    }
    return 0;
}

} // namespace kurvex

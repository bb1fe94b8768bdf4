// Vectors and matrices over explicit index ranges, Gauss-Jordan inversion with full pivoting.
#include "fitting/matrices.h"

#include "fitting/fmath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kurvex {

namespace {

// Grows (never shrinks) V so that index Ub exists.
void ensureVector(TVector& V, int Ub)
{
    if (Ub >= 0 && V.size() < static_cast<std::size_t>(Ub) + 1)
        V.resize(static_cast<std::size_t>(Ub) + 1, 0.0);
}

void ensureMatrix(TMatrix& A, int Ub1, int Ub2)
{
    if (Ub1 < 0)
        return;
    if (A.size() < static_cast<std::size_t>(Ub1) + 1)
        A.resize(static_cast<std::size_t>(Ub1) + 1);
    for (int i = 0; i <= Ub1; ++i)
        ensureVector(A[i], Ub2);
}

} // namespace

void AllocVector(TVector& V, int Ub)
{
    if (Ub < 0) {
        V.clear();
        return;
    }
    V.assign(static_cast<std::size_t>(Ub) + 1, 0.0);
}

void AllocIntVector(TIntVector& V, int Ub)
{
    if (Ub < 0) {
        V.clear();
        return;
    }
    V.assign(static_cast<std::size_t>(Ub) + 1, 0);
}

void AllocMatrix(TMatrix& A, int Ub1, int Ub2)
{
    if (Ub1 < 0 || Ub2 < 0) {
        A.clear();
        return;
    }
    A.assign(static_cast<std::size_t>(Ub1) + 1, TVector(static_cast<std::size_t>(Ub2) + 1, 0.0));
}

void ExchangeRows(TMatrix& A, int i, int k, int Lb, int Ub)
{
    for (int j = Lb; j <= Ub; ++j)
        std::swap(A[i][j], A[k][j]);
}

void ExchangeColumns(TMatrix& A, int j, int k, int Lb, int Ub)
{
    for (int i = Lb; i <= Ub; ++i)
        std::swap(A[i][j], A[i][k]);
}

void CopyVectorRange(TVector& Dest, const TVector& Src, int Lb, int Ub)
{
    ensureVector(Dest, Ub);
    for (int i = Lb; i <= Ub; ++i)
        Dest[i] = Src[i];
}

void CopyMatrixBlock(TMatrix& Dest, const TMatrix& Src, int Lb1, int Ub1, int Lb2, int Ub2)
{
    ensureMatrix(Dest, Ub1, Ub2);
    for (int i = Lb1; i <= Ub1; ++i)
        for (int j = Lb2; j <= Ub2; ++j)
            Dest[i][j] = Src[i][j];
}

double VectorMaximum(const TVector& V, int Lb, int Ub)
{
    double m = V[Lb];
    for (int i = Lb + 1; i <= Ub; ++i)
        if (V[i] > m)
            m = V[i];
    return m;
}

int InvertGaussJordan(const TMatrix& A, const TVector& B, int Lb, int Ub, TMatrix& Ainv, TVector& X)
{
    // The singularity test is relative to the matrix's own scale, so a well-conditioned matrix
    // of tiny entries still inverts and a singular one of huge entries is still refused.
    double scale = 0.0;
    for (int i = Lb; i <= Ub; ++i)
        for (int j = Lb; j <= Ub; ++j)
            scale = std::max(scale, std::abs(A[i][j]));
    const double threshold = kMachineEpsilon * scale;

    CopyMatrixBlock(Ainv, A, Lb, Ub, Lb, Ub);
    CopyVectorRange(X, B, Lb, Ub);
    if (Ub < Lb)
        return 0;
    const int n = Ub - Lb + 1;
    std::vector<int> pivRow(n), pivCol(n);

    for (int i = Lb; i <= Ub; ++i) {
        double pivot = Ainv[i][i];
        int pr = i;
        int pc = i;
        for (int k = i; k <= Ub; ++k)
            for (int j = i; j <= Ub; ++j)
                if (std::abs(Ainv[k][j]) > std::abs(pivot)) {
                    pivot = Ainv[k][j];
                    pr = k;
                    pc = j;
                }
        pivRow[i - Lb] = pr;
        pivCol[i - Lb] = pc;
        // Also refuses an all-zero matrix and a NaN pivot.
        if (pivot == 0.0 || !(std::abs(pivot) >= threshold))
            return -1;
        if (pr != i) {
            ExchangeRows(Ainv, pr, i, Lb, Ub);
            std::swap(X[pr], X[i]);
        }
        if (pc != i)
            ExchangeColumns(Ainv, pc, i, Lb, Ub);

        TVector& rowI = Ainv[i];
        rowI[i] = 1.0;
        const double inv = 1.0 / pivot;
        for (int j = Lb; j <= Ub; ++j)
            rowI[j] *= inv;
        X[i] *= inv;

        for (int k = Lb; k <= Ub; ++k) {
            if (k == i)
                continue;
            TVector& rowK = Ainv[k];
            const double f = rowK[i];
            if (f == 0.0)
                continue;
            rowK[i] = 0.0;
            for (int j = Lb; j <= Ub; ++j)
                rowK[j] -= f * rowI[j];
            X[k] -= f * X[i];
        }
    }

    // Column interchanges permuted the unknowns, row interchanges the equations: undo both.
    for (int i = Ub; i >= Lb; --i)
        if (pivCol[i - Lb] != i) {
            ExchangeRows(Ainv, pivCol[i - Lb], i, Lb, Ub);
            std::swap(X[pivCol[i - Lb]], X[i]);
        }
    for (int i = Ub; i >= Lb; --i)
        if (pivRow[i - Lb] != i)
            ExchangeColumns(Ainv, pivRow[i - Lb], i, Lb, Ub);
    return 0;
}

namespace {

// |a| with the sign of b.
double withSignOf(double a, double b)
{
    return std::abs(a) * SignPlusMinus(b);
}

bool negligible(double x, double norm)
{
    return std::abs(x) + norm == norm;
}

} // namespace

int SingularValueDecompose(TMatrix& A, int Lb, int Ub1, TMatrix& V, TVector& S, int Ub2)
{
    const int m = Ub1;
    const int n = Ub2;
    ensureMatrix(V, n, n);
    ensureVector(S, n);
    if (n < Lb)
        return 0;
    TVector e(static_cast<std::size_t>(n) + 1, 0.0); // superdiagonal of the bidiagonal form
    double g = 0.0;
    double scale = 0.0;
    double norm = 0.0;

    // Householder reduction to bidiagonal form.
    for (int i = Lb; i <= n; ++i) {
        const int l = i + 1;
        e[i] = scale * g;
        g = 0.0;
        scale = 0.0;
        if (i <= m) {
            for (int k = i; k <= m; ++k)
                scale += std::abs(A[k][i]);
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = i; k <= m; ++k) {
                    A[k][i] /= scale;
                    s += A[k][i] * A[k][i];
                }
                const double f = A[i][i];
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                A[i][i] = f - g;
                for (int j = l; j <= n; ++j) {
                    double sum = 0.0;
                    for (int k = i; k <= m; ++k)
                        sum += A[k][i] * A[k][j];
                    const double fj = sum / h;
                    for (int k = i; k <= m; ++k)
                        A[k][j] += fj * A[k][i];
                }
                for (int k = i; k <= m; ++k)
                    A[k][i] *= scale;
            }
        }
        S[i] = scale * g;
        g = 0.0;
        scale = 0.0;
        if (i <= m && i != n) {
            TVector& rowI = A[i];
            for (int k = l; k <= n; ++k)
                scale += std::abs(rowI[k]);
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = l; k <= n; ++k) {
                    rowI[k] /= scale;
                    s += rowI[k] * rowI[k];
                }
                const double f = rowI[l];
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                rowI[l] = f - g;
                for (int k = l; k <= n; ++k)
                    e[k] = rowI[k] / h;
                for (int j = l; j <= m; ++j) {
                    TVector& rowJ = A[j];
                    double sum = 0.0;
                    for (int k = l; k <= n; ++k)
                        sum += rowJ[k] * rowI[k];
                    for (int k = l; k <= n; ++k)
                        rowJ[k] += sum * e[k];
                }
                for (int k = l; k <= n; ++k)
                    rowI[k] *= scale;
            }
        }
        norm = MaxFloat(norm, std::abs(S[i]) + std::abs(e[i]));
    }

    // Accumulation of the right-hand transformations.
    {
        int l = n + 1;
        for (int i = n; i >= Lb; --i) {
            if (i < n) {
                if (g != 0.0) {
                    // Double division avoids a possible underflow.
                    for (int j = l; j <= n; ++j)
                        V[j][i] = (A[i][j] / A[i][l]) / g;
                    for (int j = l; j <= n; ++j) {
                        double s = 0.0;
                        for (int k = l; k <= n; ++k)
                            s += A[i][k] * V[k][j];
                        for (int k = l; k <= n; ++k)
                            V[k][j] += s * V[k][i];
                    }
                }
                for (int j = l; j <= n; ++j) {
                    V[i][j] = 0.0;
                    V[j][i] = 0.0;
                }
            }
            V[i][i] = 1.0;
            g = e[i];
            l = i;
        }
    }

    // Accumulation of the left-hand transformations; U overwrites A.
    for (int i = std::min(m, n); i >= Lb; --i) {
        const int l = i + 1;
        double gi = S[i];
        for (int j = l; j <= n; ++j)
            A[i][j] = 0.0;
        if (gi != 0.0) {
            gi = 1.0 / gi;
            for (int j = l; j <= n; ++j) {
                double s = 0.0;
                for (int k = l; k <= m; ++k)
                    s += A[k][i] * A[k][j];
                const double f = (s / A[i][i]) * gi;
                for (int k = i; k <= m; ++k)
                    A[k][j] += f * A[k][i];
            }
            for (int j = i; j <= m; ++j)
                A[j][i] *= gi;
        } else {
            for (int j = i; j <= m; ++j)
                A[j][i] = 0.0;
        }
        A[i][i] += 1.0;
    }

    // Diagonalisation of the bidiagonal form, from the last singular value to the first.
    for (int k = n; k >= Lb; --k) {
        for (int its = 1;; ++its) {
            bool cancel = true;
            int l = k;
            for (; l >= Lb; --l) {
                if (l == Lb || negligible(e[l], norm)) {
                    cancel = false;
                    break;
                }
                if (negligible(S[l - 1], norm))
                    break;
            }
            if (cancel) {
                // S[l-1] is negligible: chase e[l] out with rotations from the left.
                const int nm = l - 1;
                double c = 0.0;
                double s = 1.0;
                for (int i = l; i <= k; ++i) {
                    const double f = s * e[i];
                    e[i] = c * e[i];
                    if (negligible(f, norm))
                        break;
                    const double gg = S[i];
                    double h = Hypotenuse(f, gg);
                    S[i] = h;
                    h = 1.0 / h;
                    c = gg * h;
                    s = -f * h;
                    for (int j = Lb; j <= m; ++j) {
                        const double y = A[j][nm];
                        const double z = A[j][i];
                        A[j][nm] = y * c + z * s;
                        A[j][i] = z * c - y * s;
                    }
                }
            }
            double z = S[k];
            if (l == k) {
                if (z < 0.0) {
                    S[k] = -z;
                    for (int j = Lb; j <= n; ++j)
                        V[j][k] = -V[j][k];
                }
                break;
            }
            if (its >= 30)
                return -2;
            // Shift from the bottom 2x2 minor.
            double x = S[l];
            const int nm = k - 1;
            double y = S[nm];
            double gg = e[nm];
            double h = e[k];
            double f = ((y - z) * (y + z) + (gg - h) * (gg + h)) / (2.0 * h * y);
            gg = Hypotenuse(f, 1.0);
            f = ((x - z) * (x + z) + h * ((y / (f + withSignOf(gg, f))) - h)) / x;
            // Next QR transformation.
            double c = 1.0;
            double s = 1.0;
            for (int j = l; j <= nm; ++j) {
                const int i = j + 1;
                gg = e[i];
                y = S[i];
                h = s * gg;
                gg = c * gg;
                z = Hypotenuse(f, h);
                e[j] = z;
                c = f / z;
                s = h / z;
                f = x * c + gg * s;
                gg = gg * c - x * s;
                h = y * s;
                y *= c;
                for (int jj = Lb; jj <= n; ++jj) {
                    const double vx = V[jj][j];
                    const double vz = V[jj][i];
                    V[jj][j] = vx * c + vz * s;
                    V[jj][i] = vz * c - vx * s;
                }
                z = Hypotenuse(f, h);
                S[j] = z;
                if (z != 0.0) {
                    z = 1.0 / z;
                    c = f * z;
                    s = h * z;
                }
                f = c * gg + s * y;
                x = c * y - s * gg;
                for (int jj = Lb; jj <= m; ++jj) {
                    TVector& row = A[jj];
                    const double ay = row[j];
                    const double az = row[i];
                    row[j] = ay * c + az * s;
                    row[i] = az * c - ay * s;
                }
            }
            e[l] = 0.0;
            e[k] = f;
            S[k] = x;
        }
    }
    return 0;
}

void ZeroSmallSingularValues(TVector& S, int Lb, int Ub, double Tol)
{
    if (Ub < Lb)
        return;
    const double threshold = Tol * VectorMaximum(S, Lb, Ub);
    for (int i = Lb; i <= Ub; ++i)
        if (S[i] < threshold)
            S[i] = 0.0;
}

void SolveBySingularValues(const TMatrix& U, const TVector& S, const TMatrix& V, const TVector& B, int Lb,
                           int Ub1, int Ub2, TVector& X)
{
    if (Ub2 < Lb)
        return;
    TVector t(static_cast<std::size_t>(Ub2) + 1, 0.0);
    for (int j = Lb; j <= Ub2; ++j) {
        if (!(S[j] > 0.0))
            continue;
        double s = 0.0;
        for (int i = Lb; i <= Ub1; ++i)
            s += U[i][j] * B[i];
        t[j] = s / S[j];
    }
    ensureVector(X, Ub2);
    for (int j = Lb; j <= Ub2; ++j) {
        double s = 0.0;
        for (int k = Lb; k <= Ub2; ++k)
            s += V[j][k] * t[k];
        X[j] = s;
    }
}

} // namespace kurvex

// Index-range vectors and matrices, Gauss-Jordan inversion and the singular value decomposition.
#include "numeric/Matrices.h"

#include "numeric/GuardedMath.h"

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

int InvertGaussJordan(const TMatrix& A, const TVector& B, int Lb, int Ub, TMatrix& Ainv, TVector& X,
                      double PivotTolerance)
{
    // The singularity test is relative to the matrix's own scale, so a well-conditioned matrix
    // of tiny entries still inverts and a singular one of huge entries is still refused.
    double scale = 0.0;
    for (int i = Lb; i <= Ub; ++i)
        for (int j = Lb; j <= Ub; ++j)
            scale = std::max(scale, std::abs(A[i][j]));
    const double threshold = PivotTolerance * kMachineEpsilon * scale;

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

// Dense column-major work matrix: columns are contiguous, which is how Householder vectors and
// rotations walk through a tall matrix.
class ColumnMatrix {
public:
    ColumnMatrix(int rows, int cols)
        : rows_(rows), data_(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), 0.0)
    {
    }
    double& operator()(int r, int c) { return data_[static_cast<std::size_t>(c) * rows_ + r]; }
    double* column(int c) { return data_.data() + static_cast<std::size_t>(c) * rows_; }

private:
    std::size_t rows_;
    std::vector<double> data_;
};

// Dot product with four independent sums, so the additions do not wait on one another.
double dot(const double* x, const double* y, int from, int to)
{
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    int k = from;
    for (; k + 3 < to; k += 4) {
        s0 += x[k] * y[k];
        s1 += x[k + 1] * y[k + 1];
        s2 += x[k + 2] * y[k + 2];
        s3 += x[k + 3] * y[k + 3];
    }
    for (; k < to; ++k)
        s0 += x[k] * y[k];
    return (s0 + s2) + (s1 + s3);
}

// Sum of magnitudes, with the same four independent sums as dot.
double absSum(const double* x, int from, int to)
{
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    int k = from;
    for (; k + 3 < to; k += 4) {
        s0 += std::abs(x[k]);
        s1 += std::abs(x[k + 1]);
        s2 += std::abs(x[k + 2]);
        s3 += std::abs(x[k + 3]);
    }
    for (; k < to; ++k)
        s0 += std::abs(x[k]);
    return (s0 + s2) + (s1 + s3);
}

// Applies the plane rotation (c, s) to columns p and q of length n.
void rotateColumns(double* p, double* q, int n, double c, double s)
{
    for (int k = 0; k < n; ++k) {
        const double y = p[k];
        const double z = q[k];
        p[k] = y * c + z * s;
        q[k] = z * c - y * s;
    }
}

} // namespace

// Golub-Reinsch: Householder bidiagonalisation, accumulation of both sides, implicitly shifted QR.
// The work runs on 0-based column-major copies; the rotations meant for U are gathered in a small
// n x n matrix and applied to U once at the end, which saves most of the work for tall matrices.
int SingularValueDecompose(TMatrix& A, int Lb, int Ub1, TMatrix& V, TVector& S, int Ub2)
{
    ensureMatrix(V, Ub2, Ub2);
    ensureVector(S, Ub2);
    const int m = Ub1 - Lb + 1;
    const int n = Ub2 - Lb + 1;
    if (n <= 0 || m <= 0)
        return 0;

    ColumnMatrix a(m, n);
    for (int r = 0; r < m; ++r) {
        const TVector& row = A[Lb + r];
        for (int c = 0; c < n; ++c)
            a(r, c) = row[Lb + c];
    }
    ColumnMatrix v(n, n);
    ColumnMatrix w(n, n); // rotations still to be applied to U
    for (int i = 0; i < n; ++i)
        w(i, i) = 1.0;
    std::vector<double> sv(n, 0.0);
    std::vector<double> e(n, 0.0); // superdiagonal of the bidiagonal form
    std::vector<double> sums(m, 0.0);
    double g = 0.0;
    double scale = 0.0;
    double norm = 0.0;
    int result = 0;

    // Householder reduction to bidiagonal form.
    for (int i = 0; i < n; ++i) {
        const int l = i + 1;
        e[i] = scale * g;
        g = 0.0;
        scale = 0.0;
        if (i < m) {
            double* ci = a.column(i);
            scale = absSum(ci, i, m);
            if (scale != 0.0) {
                const double invScale = 1.0 / scale;
                for (int k = i; k < m; ++k)
                    ci[k] *= invScale;
                const double s = dot(ci, ci, i, m);
                const double f = ci[i];
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                ci[i] = f - g;
                for (int j = l; j < n; ++j) {
                    double* cj = a.column(j);
                    const double fj = dot(ci, cj, i, m) / h;
                    for (int k = i; k < m; ++k)
                        cj[k] += fj * ci[k];
                }
                for (int k = i; k < m; ++k)
                    ci[k] *= scale;
            }
        }
        sv[i] = scale * g;
        g = 0.0;
        scale = 0.0;
        if (i < m && i != n - 1) {
            for (int k = l; k < n; ++k)
                scale += std::abs(a(i, k));
            if (scale != 0.0) {
                double s = 0.0;
                for (int k = l; k < n; ++k) {
                    a(i, k) /= scale;
                    s += a(i, k) * a(i, k);
                }
                const double f = a(i, l);
                g = -withSignOf(std::sqrt(s), f);
                const double h = f * g - s;
                a(i, l) = f - g;
                for (int k = l; k < n; ++k)
                    e[k] = a(i, k) / h;
                // Row j of the rest gets row j . row i times e: gather all dot products first.
                std::fill(sums.begin() + l, sums.end(), 0.0);
                for (int k = l; k < n; ++k) {
                    const double aik = a(i, k);
                    const double* ck = a.column(k);
                    for (int j = l; j < m; ++j)
                        sums[j] += ck[j] * aik;
                }
                for (int k = l; k < n; ++k) {
                    const double ek = e[k];
                    double* ck = a.column(k);
                    for (int j = l; j < m; ++j)
                        ck[j] += sums[j] * ek;
                }
                for (int k = l; k < n; ++k)
                    a(i, k) *= scale;
            }
        }
        norm = MaxFloat(norm, std::abs(sv[i]) + std::abs(e[i]));
    }

    // Accumulation of the right-hand transformations.
    for (int i = n - 1, l = n; i >= 0; --i) {
        if (i < n - 1) {
            if (g != 0.0) {
                // Double division avoids a possible underflow.
                for (int j = l; j < n; ++j)
                    v(j, i) = (a(i, j) / a(i, l)) / g;
                const double* vi = v.column(i);
                for (int j = l; j < n; ++j) {
                    double* vj = v.column(j);
                    double s = 0.0;
                    for (int k = l; k < n; ++k)
                        s += a(i, k) * vj[k];
                    for (int k = l; k < n; ++k)
                        vj[k] += s * vi[k];
                }
            }
            for (int j = l; j < n; ++j) {
                v(i, j) = 0.0;
                v(j, i) = 0.0;
            }
        }
        v(i, i) = 1.0;
        g = e[i];
        l = i;
    }

    // Accumulation of the left-hand transformations: U in place of the Householder vectors.
    for (int i = std::min(m, n) - 1; i >= 0; --i) {
        const int l = i + 1;
        double gi = sv[i];
        for (int j = l; j < n; ++j)
            a(i, j) = 0.0;
        double* ci = a.column(i);
        if (gi != 0.0) {
            gi = 1.0 / gi;
            for (int j = l; j < n; ++j) {
                double* cj = a.column(j);
                const double f = (dot(ci, cj, l, m) / ci[i]) * gi;
                for (int k = i; k < m; ++k)
                    cj[k] += f * ci[k];
            }
            for (int j = i; j < m; ++j)
                ci[j] *= gi;
        } else {
            for (int j = i; j < m; ++j)
                ci[j] = 0.0;
        }
        ci[i] += 1.0;
    }

    // Diagonalisation of the bidiagonal form, from the last singular value to the first.
    for (int k = n - 1; k >= 0 && result == 0; --k) {
        for (int its = 1;; ++its) {
            bool cancel = true;
            int l = k;
            for (; l >= 0; --l) {
                if (l == 0 || negligible(e[l], norm)) {
                    cancel = false;
                    break;
                }
                if (negligible(sv[l - 1], norm))
                    break;
            }
            if (cancel) {
                // sv[l-1] is negligible: chase e[l] out with rotations from the left.
                const int nm = l - 1;
                double c = 0.0;
                double s = 1.0;
                for (int i = l; i <= k; ++i) {
                    const double f = s * e[i];
                    e[i] = c * e[i];
                    if (negligible(f, norm))
                        break;
                    const double gg = sv[i];
                    double h = Hypotenuse(f, gg);
                    sv[i] = h;
                    h = 1.0 / h;
                    c = gg * h;
                    s = -f * h;
                    rotateColumns(w.column(nm), w.column(i), n, c, s);
                }
            }
            double z = sv[k];
            if (l == k) {
                if (z < 0.0) {
                    sv[k] = -z;
                    double* vk = v.column(k);
                    for (int j = 0; j < n; ++j)
                        vk[j] = -vk[j];
                }
                break;
            }
            if (its >= 30) {
                result = -2;
                break;
            }
            // Shift from the bottom 2x2 minor.
            double x = sv[l];
            const int nm = k - 1;
            double y = sv[nm];
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
                y = sv[i];
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
                rotateColumns(v.column(j), v.column(i), n, c, s);
                z = Hypotenuse(f, h);
                sv[j] = z;
                if (z != 0.0) {
                    z = 1.0 / z;
                    c = f * z;
                    s = h * z;
                }
                f = c * gg + s * y;
                x = c * y - s * gg;
                rotateColumns(w.column(j), w.column(i), n, c, s);
            }
            e[l] = 0.0;
            e[k] = f;
            sv[k] = x;
        }
    }

    // U = (accumulated Householder part) * (gathered rotations), written straight into A's rows.
    std::vector<double> wt(static_cast<std::size_t>(n) * n); // row-major copy of w
    for (int p = 0; p < n; ++p)
        for (int c = 0; c < n; ++c)
            wt[static_cast<std::size_t>(p) * n + c] = w(p, c);
    std::vector<double> out(n);
    for (int r = 0; r < m; ++r) {
        std::fill(out.begin(), out.end(), 0.0);
        for (int p = 0; p < n; ++p) {
            const double arp = a(r, p);
            const double* wp = wt.data() + static_cast<std::size_t>(p) * n;
            for (int c = 0; c < n; ++c)
                out[c] += arp * wp[c];
        }
        std::copy(out.begin(), out.end(), A[Lb + r].begin() + Lb);
    }
    for (int r = 0; r < n; ++r) {
        TVector& row = V[Lb + r];
        for (int c = 0; c < n; ++c)
            row[Lb + c] = v(r, c);
        S[Lb + r] = sv[r];
    }
    return result;
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

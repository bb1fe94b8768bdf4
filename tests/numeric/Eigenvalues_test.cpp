// Tests of balancing and Hessenberg QR eigenvalues against Eigen's EigenSolver.
#include "numeric/Eigenvalues.h"

#include "numeric/EigenReference.h"
#include <gtest/gtest.h>

#include <complex>
#include <vector>

namespace kurvex {
namespace {

using Complex = std::complex<double>;

using testing::randomMatrix;
using testing::toMatrixAt;

std::vector<Complex> referenceEigenvalues(const Eigen::MatrixXd& M)
{
    Eigen::EigenSolver<Eigen::MatrixXd> solver(M, false);
    std::vector<Complex> r;
    for (int i = 0; i < M.rows(); ++i)
        r.push_back(solver.eigenvalues()(i));
    return r;
}

// Every value of `ours` is matched with a distinct nearest reference value.
void expectSameSpectrum(std::vector<Complex> ours, std::vector<Complex> ref, double tol)
{
    ASSERT_EQ(ours.size(), ref.size());
    for (const Complex& z : ours) {
        std::size_t best = 0;
        for (std::size_t k = 1; k < ref.size(); ++k)
            if (std::abs(ref[k] - z) < std::abs(ref[best] - z))
                best = k;
        EXPECT_NEAR(std::abs(ref[best] - z), 0.0, tol) << z;
        ref.erase(ref.begin() + static_cast<long>(best));
    }
}

// Random entries in [-1, 1] on and above the subdiagonal.
Eigen::MatrixXd randomHessenberg(int n, unsigned seed)
{
    Eigen::MatrixXd M = randomMatrix(n, n, seed);
    if (n > 2)
        M.bottomLeftCorner(n - 1, n - 1).triangularView<Eigen::StrictlyLower>().setZero();
    return M;
}

TEST(EigenHqr, RandomHessenbergMatchesEigenSolver)
{
    int complexPairs = 0;
    for (int n = 1; n <= 8; ++n) {
        for (int rep = 0; rep < 10; ++rep) {
            const Eigen::MatrixXd M = randomHessenberg(n, 100 * n + rep);
            for (int lb : {0, 1}) {
                TMatrix a = toMatrixAt(M, lb);
                TVector re, im;
                ASSERT_EQ(HessenbergQrEigen(a, lb, lb + n - 1, re, im), 0);
                std::vector<Complex> ours;
                for (int i = lb; i < lb + n; ++i) {
                    ours.emplace_back(re[i], im[i]);
                    if (im[i] > 0.0) {
                        ++complexPairs;
                        // The conjugate stands right behind.
                        ASSERT_LT(i + 1, lb + n);
                        EXPECT_EQ(re[i + 1], re[i]);
                        EXPECT_EQ(im[i + 1], -im[i]);
                    }
                }
                // Random non-normal matrices: eigenvalue condition numbers stay well below 1e4
                // here, so both solvers agree to about 1e4 * eps * |A|.
                expectSameSpectrum(ours, referenceEigenvalues(M), 1e-10 * std::max(1.0, M.norm()));
            }
        }
    }
    EXPECT_GT(complexPairs, 20); // the complex branch was really exercised
}

TEST(EigenHqr, KnownSpectra)
{
    // Rotation-like block: +-2i; diagonal entries deflate one by one.
    TMatrix a{{0, -4}, {1, 0}};
    TVector re, im;
    ASSERT_EQ(HessenbergQrEigen(a, 0, 1, re, im), 0);
    EXPECT_NEAR(re[0], 0.0, 1e-15);
    EXPECT_NEAR(std::abs(im[0]), 2.0, 1e-15);
    TMatrix tri{{0, 0, 0, 0}, {0, 3, 1, 2}, {0, 0, -1, 5}, {0, 0, 0, 7}};
    ASSERT_EQ(HessenbergQrEigen(tri, 1, 3, re, im), 0);
    EXPECT_EQ(re[1], 3.0);
    EXPECT_EQ(re[2], -1.0);
    EXPECT_EQ(re[3], 7.0);
    EXPECT_EQ(im[1], 0.0);
    TMatrix zero{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    ASSERT_EQ(HessenbergQrEigen(zero, 0, 2, re, im), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(re[i], 0.0);
}

TEST(EigenHqr, NonFiniteInputReportsFailure)
{
    TMatrix a{{1, 2, 3}, {1, std::nan(""), 4}, {0, 1, 5}};
    TVector re, im;
    EXPECT_EQ(HessenbergQrEigen(a, 0, 2, re, im), -2);
}

TEST(EigenBalance, KeepsEigenvaluesAndEvensTheNorms)
{
    for (int n = 2; n <= 7; ++n) {
        const Eigen::MatrixXd B = randomMatrix(n, n, 99 + n);
        // D B D^-1 with powers of two: exactly similar to B, but badly scaled.
        Eigen::MatrixXd A = B;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                A(i, j) = std::ldexp(B(i, j), 12 * (i - j));
        TMatrix a = toMatrixAt(A, 1);
        BalanceMatrix(a, 1, n);
        Eigen::MatrixXd balanced(n, n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                balanced(i, j) = a[1 + i][1 + j];
                // Radix-2 scaling: every entry differs from the original by a power of two.
                if (A(i, j) != 0.0) {
                    const double ratio = balanced(i, j) / A(i, j);
                    int e = 0;
                    EXPECT_EQ(std::frexp(ratio, &e), 0.5);
                }
            }
        EXPECT_LT(balanced.norm(), 1e-3 * A.norm());
        // The scale of B decides the accuracy of the eigenvalues computed from the balanced matrix.
        expectSameSpectrum(referenceEigenvalues(balanced), referenceEigenvalues(B), 1e-9 * B.norm());
    }
}

} // namespace
} // namespace kurvex

// Tests of the vector/matrix helpers and of Gauss-Jordan inversion against Eigen.
#include "numeric/Matrices.h"

#include "numeric/EigenReference.h"
#include <gtest/gtest.h>

#include <random>

namespace kurvex {
namespace {

TEST(MatricesAlloc, BoundsAndZeroing)
{
    // Old contents are overwritten with zeros; a negative bound leaves nothing.
    TVector v{5.0};
    AllocVector(v, 3);
    EXPECT_EQ(v, TVector(4, 0.0));
    AllocVector(v, -1);
    EXPECT_TRUE(v.empty());
    TIntVector iv{1, 2, 7};
    AllocIntVector(iv, 2);
    EXPECT_EQ(iv, TIntVector(3, 0));
    AllocIntVector(iv, -5);
    EXPECT_TRUE(iv.empty());
    TMatrix a(3, TVector(5, 3.0));
    AllocMatrix(a, 2, 4);
    EXPECT_EQ(a, TMatrix(3, TVector(5, 0.0)));
    AllocMatrix(a, 2, -1);
    EXPECT_TRUE(a.empty());
}

TEST(MatricesHelpers, ExchangeAndCopyStayInsideTheirRange)
{
    TMatrix a;
    AllocMatrix(a, 3, 3);
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j)
            a[i][j] = 10 * i + j;
    ExchangeRows(a, 1, 3, 1, 2);
    EXPECT_EQ(a[1][0], 10.0); // column 0 outside the range: untouched
    EXPECT_EQ(a[1][1], 31.0);
    EXPECT_EQ(a[3][2], 12.0);
    EXPECT_EQ(a[1][3], 13.0);
    ExchangeColumns(a, 0, 2, 2, 3);
    EXPECT_EQ(a[0][0], 0.0);
    EXPECT_EQ(a[2][0], 22.0);
    EXPECT_EQ(a[3][2], 30.0);

    TVector src{1, 2, 3, 4}, dst{9, 9, 9, 9};
    CopyVectorRange(dst, src, 1, 2);
    EXPECT_EQ(dst, (TVector{9, 2, 3, 9}));
    TMatrix b;
    AllocMatrix(b, 3, 3);
    CopyMatrixBlock(b, a, 1, 2, 2, 3);
    EXPECT_EQ(b[0][2], 0.0);
    EXPECT_EQ(b[1][1], 0.0);
    EXPECT_EQ(b[1][2], a[1][2]);
    EXPECT_EQ(b[2][3], a[2][3]);
}

TEST(MatricesHelpers, VectorMaximum)
{
    EXPECT_EQ(VectorMaximum(TVector{0, 2, 2, 2}, 1, 3), 2.0);
    EXPECT_EQ(VectorMaximum(TVector{100, -3, -1, -2}, 1, 3), -1.0);
    EXPECT_EQ(VectorMaximum(TVector{5}, 0, 0), 5.0);
}

using testing::toMatrixAt;
using testing::toVectorAt;

// Outside the block the inputs hold this, so a routine that strays beyond its range shows.
constexpr double kSentinel = 777.0;

class GaussJordanRandom : public ::testing::TestWithParam<int> {};

TEST_P(GaussJordanRandom, AgreesWithFullPivLu)
{
    const int lb = GetParam();
    std::mt19937 rng(42 + lb);
    std::uniform_real_distribution<double> dist(-10.0, 10.0);
    for (int n = 1; n <= 8; ++n) {
        for (int rep = 0; rep < 5; ++rep) {
            Eigen::MatrixXd M(n, n);
            Eigen::VectorXd b(n);
            for (int i = 0; i < n; ++i) {
                b(i) = dist(rng);
                for (int j = 0; j < n; ++j)
                    M(i, j) = dist(rng);
            }
            const TMatrix a = toMatrixAt(M, lb, kSentinel);
            const TVector bv = toVectorAt(b, lb, kSentinel);
            const TMatrix aCopy = a;
            const TVector bCopy = bv;
            TMatrix inv;
            TVector x;
            AllocMatrix(inv, lb + n - 1, lb + n - 1);
            AllocVector(x, lb + n - 1);
            ASSERT_EQ(InvertGaussJordan(a, bv, lb, lb + n - 1, inv, x), 0);
            EXPECT_EQ(a, aCopy);
            EXPECT_EQ(bv, bCopy);

            Eigen::FullPivLU<Eigen::MatrixXd> lu(M);
            const Eigen::MatrixXd refInv = lu.inverse();
            const Eigen::VectorXd refX = lu.solve(b);
            // Both are backward stable: the difference is bounded by cond(M) * eps relative.
            const double cond = M.norm() * refInv.norm();
            const double tol = 100.0 * cond * 2.2e-16;
            for (int i = 0; i < n; ++i) {
                EXPECT_NEAR(x[lb + i], refX(i), tol * refX.norm()) << "n=" << n;
                for (int j = 0; j < n; ++j)
                    EXPECT_NEAR(inv[lb + i][lb + j], refInv(i, j), tol * refInv.norm()) << "n=" << n;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(IndexBases, GaussJordanRandom, ::testing::Values(0, 1));

TEST(GaussJordan, PermutationForcesRowAndColumnInterchanges)
{
    // The largest entries sit off the diagonal, so both row and column pivots move and the
    // final undo has to restore both orders.
    Eigen::MatrixXd P = Eigen::MatrixXd::Zero(5, 5);
    const int perm[5] = {3, 0, 4, 1, 2};
    for (int i = 0; i < 5; ++i)
        P(i, perm[i]) = 1.0 + i; // a scaled permutation: each pivot has a different size
    const Eigen::VectorXd b = Eigen::VectorXd::LinSpaced(5, 1.0, 5.0);
    for (int lb : {0, 1, 3}) {
        TMatrix inv = toMatrixAt(Eigen::MatrixXd::Zero(5, 5), lb, kSentinel);
        TVector x = toVectorAt(Eigen::VectorXd::Zero(5), lb, kSentinel);
        ASSERT_EQ(
            InvertGaussJordan(toMatrixAt(P, lb, kSentinel), toVectorAt(b, lb, kSentinel), lb, lb + 4, inv, x),
            0);
        const Eigen::MatrixXd refInv = P.inverse();
        const Eigen::VectorXd refX = refInv * b;
        for (int i = 0; i < 5; ++i) {
            EXPECT_DOUBLE_EQ(x[lb + i], refX(i)) << lb;
            for (int j = 0; j < 5; ++j)
                EXPECT_DOUBLE_EQ(inv[lb + i][lb + j], refInv(i, j)) << lb;
        }
        // Entries outside the range keep the sentinel.
        EXPECT_EQ(inv[lb + 4].size(), static_cast<std::size_t>(lb + 5));
        if (lb > 0) {
            EXPECT_EQ(inv[lb][0], kSentinel);
            EXPECT_EQ(x[0], kSentinel);
        }
    }
}

TEST(GaussJordan, SingularMatrices)
{
    TMatrix inv;
    TVector x;
    EXPECT_EQ(InvertGaussJordan(TMatrix{{1, 2}, {2, 4}}, TVector{1, 1}, 0, 1, inv, x), -1);
    EXPECT_EQ(InvertGaussJordan(TMatrix{{0, 0}, {0, 0}}, TVector{1, 1}, 0, 1, inv, x), -1);
    // Singular in exact arithmetic with large entries: refused although the pivot is far above
    // the machine epsilon in absolute terms.
    EXPECT_EQ(InvertGaussJordan(TMatrix{{1e10, 3e10}, {3e10, 9e10}}, TVector{1, 1}, 0, 1, inv, x), -1);
    EXPECT_EQ(InvertGaussJordan(TMatrix{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, TVector{1, 1, 1}, 0, 2, inv, x),
              -1);
}

// A caller that knows its rounding noise (e.g. the polynomial from conditions) asks for a pivot that
// stands further out of it; 1e-14 is about 45 units of rounding against the largest entry 1.
TEST(GaussJordan, PivotToleranceCountsUnitsOfRoundingAgainstTheLargestEntry)
{
    struct Case {
        double tolerance;
        int expected;
    };
    const Case cases[] = {{1.0, 0}, {32.0, 0}, {64.0, -1}, {128.0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tolerance);
        TMatrix inv;
        TVector x;
        EXPECT_EQ(
            InvertGaussJordan(TMatrix{{1, 0}, {0, 1e-14}}, TVector{1, 1e-14}, 0, 1, inv, x, c.tolerance),
            c.expected);
        // Scaled by 1e6 the decision stays the same: the tolerance is relative.
        EXPECT_EQ(InvertGaussJordan(TMatrix{{1e6, 0}, {0, 1e-8}}, TVector{1, 1}, 0, 1, inv, x, c.tolerance),
                  c.expected);
    }
}

TEST(GaussJordan, TinyEntriesAreNotSingular)
{
    // A well-conditioned matrix whose entries are all far below the machine epsilon.
    Eigen::Matrix3d M;
    M << 0, 2e-17, 1e-17, 3e-17, 1e-17, 0, 1e-17, 0, 4e-17;
    const Eigen::Vector3d b(1e-17, 2e-17, 3e-17);
    TMatrix inv;
    TVector x;
    ASSERT_EQ(InvertGaussJordan(toMatrixAt(M, 0), toVectorAt(b, 0), 0, 2, inv, x), 0);
    const Eigen::Matrix3d refInv = M.inverse();
    const Eigen::Vector3d refX = refInv * b;
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(x[i], refX(i), 1e-12 * refX.norm());
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(inv[i][j], refInv(i, j), 1e-12 * refInv.norm());
    }
}

TEST(GaussJordan, ResultMayShareStorageWithInput)
{
    TMatrix a{{4, 1}, {2, 3}};
    TVector b{1, 2};
    ASSERT_EQ(InvertGaussJordan(a, b, 0, 1, a, b), 0);
    EXPECT_NEAR(a[0][0], 0.3, 1e-15);
    EXPECT_NEAR(a[0][1], -0.1, 1e-15);
    EXPECT_NEAR(a[1][0], -0.2, 1e-15);
    EXPECT_NEAR(a[1][1], 0.4, 1e-15);
    EXPECT_NEAR(b[0], 0.1, 1e-15);
    EXPECT_NEAR(b[1], 0.6, 1e-15);
}

} // namespace
} // namespace kurvex

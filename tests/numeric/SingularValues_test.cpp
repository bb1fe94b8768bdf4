// Tests of the singular value decomposition, its cut-off and least-squares solution against Eigen.
#include "numeric/Matrices.h"

#include "numeric/EigenReference.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace kurvex {
namespace {

constexpr double kEps = 2.220446049250313e-16;

using testing::blockAt;
using testing::randomMatrix;
using testing::toMatrixAt;
using testing::toVectorAt;

// Rank r matrix: product of rows x r and r x cols random factors.
Eigen::MatrixXd rankDeficient(int rows, int cols, int rank, unsigned seed)
{
    return randomMatrix(rows, rank, seed) * randomMatrix(rank, cols, seed + 1);
}

struct SvdCase {
    const char* name;
    Eigen::MatrixXd M;
};

std::vector<SvdCase> svdCases()
{
    std::vector<SvdCase> cases;
    cases.push_back({"tall", randomMatrix(12, 5, 1)});
    cases.push_back({"square", randomMatrix(6, 6, 2)});
    cases.push_back({"single", randomMatrix(4, 1, 3)});
    cases.push_back({"rankDeficient", rankDeficient(10, 6, 3, 4)});
    Eigen::MatrixXd zeroColumn = randomMatrix(8, 4, 5);
    zeroColumn.col(2).setZero();
    cases.push_back({"zeroColumn", zeroColumn});
    cases.push_back({"zero", Eigen::MatrixXd::Zero(5, 3)});
    cases.push_back({"wide", randomMatrix(3, 5, 7)});
    Eigen::MatrixXd scaled = randomMatrix(9, 4, 6);
    scaled.col(0) *= 1e8;
    scaled.col(3) *= 1e-8;
    cases.push_back({"badlyScaled", scaled});
    // A polynomial design matrix as the fits build it (x = 1..20, powers 0..5).
    Eigen::MatrixXd design(20, 6);
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 6; ++j)
            design(i, j) = std::pow(0.1 * (i + 1), j);
    cases.push_back({"design", design});
    return cases;
}

TEST(MatricesSvd, ReconstructionOrthogonalityAndValues)
{
    for (const SvdCase& c : svdCases()) {
        for (int lb : {0, 1}) {
            const int m = static_cast<int>(c.M.rows());
            const int n = static_cast<int>(c.M.cols());
            TMatrix a = toMatrixAt(c.M, lb);
            TMatrix v;
            TVector s;
            AllocMatrix(v, lb + n - 1, lb + n - 1);
            AllocVector(s, lb + n - 1);
            ASSERT_EQ(SingularValueDecompose(a, lb, lb + m - 1, v, s, lb + n - 1), 0) << c.name;
            const Eigen::MatrixXd U = blockAt(a, lb, m, n);
            const Eigen::MatrixXd V = blockAt(v, lb, n, n);
            Eigen::VectorXd S(n);
            for (int j = 0; j < n; ++j) {
                S(j) = s[lb + j];
                EXPECT_GE(S(j), 0.0) << c.name;
            }
            const double norm = std::max(c.M.norm(), 1e-300);
            // A backward-stable decomposition reproduces A to a small multiple of eps * |A|.
            EXPECT_LE((U * S.asDiagonal() * V.transpose() - c.M).norm(), 100 * kEps * norm) << c.name;
            EXPECT_LE((V.transpose() * V - Eigen::MatrixXd::Identity(n, n)).norm(), 100 * kEps) << c.name;
            // Columns of U belonging to zero singular values may be zero; the others are orthonormal.
            // (A wide matrix cannot have n orthonormal columns of length m.)
            if (m >= n) {
                Eigen::MatrixXd UtU = U.transpose() * U;
                for (int j = 0; j < n; ++j)
                    if (S(j) == 0.0)
                        UtU(j, j) = 1.0;
                EXPECT_LE((UtU - Eigen::MatrixXd::Identity(n, n)).norm(), 100 * kEps) << c.name;
            }

            Eigen::JacobiSVD<Eigen::MatrixXd> ref(c.M);
            std::vector<double> ours(S.data(), S.data() + n);
            std::sort(ours.begin(), ours.end(), std::greater<>());
            // Singular values are perturbed by at most about eps * |A| (Weyl); beyond min(m, n)
            // they are zero.
            for (int j = 0; j < n; ++j) {
                const double expected = j < ref.singularValues().size() ? ref.singularValues()(j) : 0.0;
                EXPECT_NEAR(ours[j], expected, 100 * kEps * norm) << c.name << " " << j;
            }
        }
    }
}

TEST(MatricesSvd, ZeroSmallSingularValuesRemovesTheRankDefect)
{
    const Eigen::MatrixXd M = rankDeficient(10, 5, 3, 11);
    TMatrix a = toMatrixAt(M, 1);
    TMatrix v;
    TVector s;
    ASSERT_EQ(SingularValueDecompose(a, 1, 10, v, s, 5), 0);
    int tiny = 0;
    for (int j = 1; j <= 5; ++j)
        tiny += s[j] < 1e-12 ? 1 : 0;
    EXPECT_EQ(tiny, 2);
    ZeroSmallSingularValues(s, 1, 5, 1e-12);
    int zeros = 0;
    for (int j = 1; j <= 5; ++j)
        zeros += s[j] == 0.0 ? 1 : 0;
    EXPECT_EQ(zeros, 2);

    TVector t{0, 1, 5, 2, 0.5};
    ZeroSmallSingularValues(t, 1, 4, 0.3); // threshold 1.5
    EXPECT_EQ(t, (TVector{0, 0, 5, 2, 0}));
}

// Least-squares solution of M x = b by decomposition, cut-off and back-substitution at base lb.
Eigen::VectorXd svdSolve(const Eigen::MatrixXd& M, const Eigen::VectorXd& b, int lb, double cut)
{
    const int m = static_cast<int>(M.rows());
    const int n = static_cast<int>(M.cols());
    TMatrix a = toMatrixAt(M, lb);
    TMatrix v;
    TVector s, x;
    EXPECT_EQ(SingularValueDecompose(a, lb, lb + m - 1, v, s, lb + n - 1), 0);
    ZeroSmallSingularValues(s, lb, lb + n - 1, cut);
    SolveBySingularValues(a, s, v, toVectorAt(b, lb), lb, lb + m - 1, lb + n - 1, x);
    return Eigen::Map<const Eigen::VectorXd>(x.data() + lb, n);
}

TEST(MatricesSvd, LeastSquaresAgreesWithQrAndGivesMinimumNorm)
{
    for (int lb : {0, 1}) {
        const Eigen::MatrixXd M = randomMatrix(15, 4, 21);
        const Eigen::VectorXd b = randomMatrix(15, 1, 22);
        const Eigen::VectorXd ref = M.colPivHouseholderQr().solve(b);
        // Well conditioned: both solutions agree to a modest multiple of eps * cond.
        const Eigen::VectorXd x = svdSolve(M, b, lb, 1e-12);
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(x(j), ref(j), 1e-12 * ref.norm());
    }
    const Eigen::MatrixXd M = rankDeficient(12, 5, 3, 31);
    const Eigen::VectorXd b = randomMatrix(12, 1, 32);
    const Eigen::VectorXd x = svdSolve(M, b, 1, 1e-10);
    const Eigen::VectorXd ref = M.completeOrthogonalDecomposition().solve(b);
    // Cut-off at 1e-10 relative: the answer is determined to about that size times cond.
    for (int j = 0; j < 5; ++j)
        EXPECT_NEAR(x(j), ref(j), 1e-9 * ref.norm()) << j;
}

TEST(MatricesSvd, WorksInsideItsBlockOnly)
{
    // Row 0 and column 0 hold other data (as a fit's index 0 may); they must survive.
    TMatrix a{{9, 9, 9}, {9, 3, 1}, {9, 1, 3}, {9, 2, 2}};
    TMatrix v{{7, 7, 7}, {7, 0, 0}, {7, 0, 0}};
    TVector s{5, 0, 0};
    ASSERT_EQ(SingularValueDecompose(a, 1, 3, v, s, 2), 0);
    for (int j = 0; j < 3; ++j)
        EXPECT_EQ(a[0][j], 9.0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a[i][0], 9.0);
    EXPECT_EQ(v[0][1], 7.0);
    EXPECT_EQ(v[2][0], 7.0);
    EXPECT_EQ(s[0], 5.0);
    std::vector<double> values{s[1], s[2]};
    std::sort(values.begin(), values.end());
    // [[3,1],[1,3],[2,2]]: A^T A = [[14,10],[10,14]], eigenvalues 4 and 24.
    EXPECT_NEAR(values[0], 2.0, 1e-14);
    EXPECT_NEAR(values[1], std::sqrt(24.0), 1e-14);
}

TEST(MatricesSvd, NonFiniteInputEndsWithFailureCode)
{
    TMatrix a{{1, 2}, {std::nan(""), 4}, {5, 6}};
    TMatrix v;
    TVector s;
    EXPECT_EQ(SingularValueDecompose(a, 0, 2, v, s, 1), -2);
}

} // namespace
} // namespace kurvex

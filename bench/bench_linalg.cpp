// Speed of the SVD and Gauss-Jordan inversion beside Eigen's JacobiSVD, BDCSVD and FullPivLU.
#include "numeric/Matrices.h"

#include <Eigen/Dense>
#include <Eigen/SVD>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

using namespace kurvex;

// A polynomial design matrix like the fits build: row i holds x_i^0 .. x_i^(cols-1).
Eigen::MatrixXd designMatrix(int rows, int cols)
{
    Eigen::MatrixXd M(rows, cols);
    for (int i = 0; i < rows; ++i) {
        const double x = -1.0 + 2.0 * i / (rows - 1);
        for (int j = 0; j < cols; ++j)
            M(i, j) = std::pow(x, j);
    }
    return M;
}

Eigen::MatrixXd randomSquare(int n)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    Eigen::MatrixXd M(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            M(i, j) = dist(rng) + (i == j ? 4.0 : 0.0);
    return M;
}

// 1-based, as the fits store their data.
TMatrix toMatrix(const Eigen::MatrixXd& M)
{
    TMatrix a;
    AllocMatrix(a, static_cast<int>(M.rows()), static_cast<int>(M.cols()));
    for (int i = 0; i < M.rows(); ++i)
        for (int j = 0; j < M.cols(); ++j)
            a[i + 1][j + 1] = M(i, j);
    return a;
}

void BM_KurvexSvd(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const int cols = static_cast<int>(state.range(1));
    const TMatrix source = toMatrix(designMatrix(rows, cols));
    TMatrix a = source;
    TMatrix v;
    TVector s;
    AllocMatrix(v, cols, cols);
    AllocVector(s, cols);
    for (auto _ : state) {
        CopyMatrixBlock(a, source, 1, rows, 1, cols); // the routine overwrites A with U
        benchmark::DoNotOptimize(SingularValueDecompose(a, 1, rows, v, s, cols));
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_KurvexSvd)->Args({100, 6})->Args({1000, 11});

void BM_EigenJacobiSvd(benchmark::State& state)
{
    const Eigen::MatrixXd M =
        designMatrix(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        Eigen::JacobiSVD<Eigen::MatrixXd> svd(M, Eigen::ComputeThinU | Eigen::ComputeThinV);
        benchmark::DoNotOptimize(svd.singularValues().data());
    }
}
BENCHMARK(BM_EigenJacobiSvd)->Args({100, 6})->Args({1000, 11});

void BM_EigenBdcSvd(benchmark::State& state)
{
    const Eigen::MatrixXd M =
        designMatrix(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        Eigen::BDCSVD<Eigen::MatrixXd> svd(M, Eigen::ComputeThinU | Eigen::ComputeThinV);
        benchmark::DoNotOptimize(svd.singularValues().data());
    }
}
BENCHMARK(BM_EigenBdcSvd)->Args({100, 6})->Args({1000, 11});

void BM_KurvexGaussJordan(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd M = randomSquare(n);
    const TMatrix a = toMatrix(M);
    TVector b;
    AllocVector(b, n);
    for (int i = 1; i <= n; ++i)
        b[i] = i;
    TMatrix inv;
    TVector x;
    AllocMatrix(inv, n, n);
    AllocVector(x, n);
    for (auto _ : state) {
        benchmark::DoNotOptimize(InvertGaussJordan(a, b, 1, n, inv, x));
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_KurvexGaussJordan)->Arg(10);

// Inverse and solution, the two results Gauss-Jordan delivers at once.
void BM_EigenFullPivLu(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd M = randomSquare(n);
    const Eigen::VectorXd b = Eigen::VectorXd::LinSpaced(n, 1.0, n);
    Eigen::MatrixXd inv(n, n);
    Eigen::VectorXd x(n);
    for (auto _ : state) {
        Eigen::FullPivLU<Eigen::MatrixXd> lu(M);
        inv = lu.inverse();
        x.noalias() = inv * b;
        benchmark::DoNotOptimize(inv.data());
        benchmark::DoNotOptimize(x.data());
    }
}
BENCHMARK(BM_EigenFullPivLu)->Arg(10);

} // namespace

BENCHMARK_MAIN();

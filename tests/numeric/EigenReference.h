// Eigen as the reference of the numeric tests: its assertions thrown as exceptions, so a misused
// reference fails its own test instead of aborting the test program, and TMatrix conversions.
#pragma once

#include <random>
#include <stdexcept>

#define eigen_assert(x) ((x) ? void(0) : throw std::logic_error("Eigen assertion failed: " #x))

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>

#include "numeric/Matrices.h"

namespace kurvex::testing {

// M placed at rows and columns from Lb on; every other element is `outside`.
inline TMatrix toMatrixAt(const Eigen::MatrixXd& M, int Lb, double outside = 0.0)
{
    TMatrix a;
    AllocMatrix(a, Lb + static_cast<int>(M.rows()) - 1, Lb + static_cast<int>(M.cols()) - 1);
    for (TVector& row : a)
        for (double& x : row)
            x = outside;
    for (int i = 0; i < M.rows(); ++i)
        for (int j = 0; j < M.cols(); ++j)
            a[Lb + i][Lb + j] = M(i, j);
    return a;
}

inline TVector toVectorAt(const Eigen::VectorXd& v, int Lb, double outside = 0.0)
{
    TVector r;
    AllocVector(r, Lb + static_cast<int>(v.size()) - 1);
    for (double& x : r)
        x = outside;
    for (int i = 0; i < v.size(); ++i)
        r[Lb + i] = v(i);
    return r;
}

// The rows x cols block of a starting at [Lb][Lb].
inline Eigen::MatrixXd blockAt(const TMatrix& a, int Lb, int rows, int cols)
{
    Eigen::MatrixXd M(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            M(i, j) = a[Lb + i][Lb + j];
    return M;
}

// Entries uniform in [-1, 1], the same for the same seed.
inline Eigen::MatrixXd randomMatrix(int rows, int cols, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    Eigen::MatrixXd M(rows, cols);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            M(i, j) = dist(rng);
    return M;
}

} // namespace kurvex::testing

// Eigen for the numeric tests, its assertions thrown as exceptions: a misused reference computation
// fails its own test instead of aborting the whole test program (in Debug and Release alike).
#pragma once

#include <stdexcept>

#define eigen_assert(x) ((x) ? void(0) : throw std::logic_error("Eigen assertion failed: " #x))

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>

// Real roots of a polynomial: closed form up to degree 3, companion-matrix eigenvalues beyond.
#pragma once

#include "numeric/Matrices.h"

namespace kurvex {

// Real roots of C[0] + C[1] z + ... + C[Deg] z^Deg into R[1..k] in ascending order (a double
// root counts twice); returns k. Leading zero coefficients lower the degree. For degree 4 and
// more R[k+1..Deg] become 0, and a failed eigenvalue iteration returns -2 (not "no roots").
// R grows to index Deg if it is shorter.
int PolynomialRoots(const TVector& C, int Deg, TVector& R);

// The same for degrees 1 to 3 in closed form; any other degree gives 0.
int CubicRoots(const TVector& C, int Deg, TVector& R);

} // namespace kurvex

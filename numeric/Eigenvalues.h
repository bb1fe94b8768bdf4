// Eigenvalues of a real matrix: radix-2 balancing and shifted QR on an upper Hessenberg matrix.
#pragma once

#include "numeric/Matrices.h"

namespace kurvex {

// Scales rows and columns Lb..Ub of A by powers of 2 until row and column norms are close;
// the eigenvalues stay the same.
void BalanceMatrix(TMatrix& A, int Lb, int Ub);

// Eigenvalues of the upper Hessenberg matrix A[Lb..Ub][Lb..Ub] (A is destroyed) into
// Re/Im[Lb..Ub]; a complex pair stands at consecutive indices, the positive imaginary part first.
// Returns 0, or -2 when an eigenvalue does not converge within 30 iterations.
int HessenbergQrEigen(TMatrix& A, int Lb, int Ub, TVector& Re, TVector& Im);

} // namespace kurvex

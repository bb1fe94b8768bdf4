// Index-range vectors and matrices, Gauss-Jordan inversion and the singular value decomposition.
#pragma once

#include <cstdint>
#include <vector>

namespace kurvex {

// How the types are used:
// - Create with AllocVector(V, Ub) / AllocIntVector(V, Ub) / AllocMatrix(A, Ub1, Ub2). The
//   storage always starts at index 0: a vector allocated with upper bound Ub has elements
//   V[0]..V[Ub], a matrix rows A[0..Ub1], each with columns [0..Ub2]; all elements start at 0.
// - Access: V[i], A[i][j] (row i, column j); plain std::vector indexing, unchecked.
// - Data points conventionally use 1..N; index 0 carries a fit's constant term. Routines never
//   take bounds from the size: every routine gets the range (Lb, Ub) it works on.
// - Pass by (non-const) reference: what a routine writes into the elements reaches the caller.
//   Result containers should be allocated by the caller; the routines below grow one that is
//   too small rather than write out of range, and never shrink it.
using TVector = std::vector<double>;
using TIntVector = std::vector<std::int32_t>;
using TMatrix = std::vector<TVector>;

// Ub < 0 releases V; otherwise V gets indices 0..Ub, every element 0 (old contents overwritten).
void AllocVector(TVector& V, int Ub);
void AllocIntVector(TIntVector& V, int Ub);
// Ub1 < 0 or Ub2 < 0 releases A; otherwise rows 0..Ub1, columns 0..Ub2, every element 0.
void AllocMatrix(TMatrix& A, int Ub1, int Ub2);

// Swaps A[i][j] and A[k][j] for j = Lb..Ub.
void ExchangeRows(TMatrix& A, int i, int k, int Lb, int Ub);
// Swaps A[i][j] and A[i][k] for i = Lb..Ub.
void ExchangeColumns(TMatrix& A, int j, int k, int Lb, int Ub);
// Dest[i] := Src[i] for i = Lb..Ub.
void CopyVectorRange(TVector& Dest, const TVector& Src, int Lb, int Ub);
// Dest[i][j] := Src[i][j] for rows Lb1..Ub1 and columns Lb2..Ub2.
void CopyMatrixBlock(TMatrix& Dest, const TMatrix& Src, int Lb1, int Ub1, int Lb2, int Ub2);
// The largest of V[Lb..Ub]; on ties the first one.
double VectorMaximum(const TVector& V, int Lb, int Ub);

// Ainv[Lb..Ub][Lb..Ub] := A^-1 and X[Lb..Ub] := A^-1 * B by Gauss-Jordan elimination with full
// pivoting; A and B are not changed (Ainv or X may be the same object as A or B).
// Returns 0, or -1 when A is singular relative to its own scale: a pivot below
// PivotTolerance * kMachineEpsilon * max |A[i][j]|.
int InvertGaussJordan(const TMatrix& A, const TVector& B, int Lb, int Ub, TMatrix& Ainv, TVector& X,
                      double PivotTolerance = 1.0);

// A = U * diag(S) * V^T for A with rows Lb..Ub1 and columns Lb..Ub2; U overwrites A, V gets rows
// and columns Lb..Ub2, S indices Lb..Ub2 (not sorted, all >= 0). Meant for Ub1 >= Ub2; with fewer
// rows than columns the product still holds, but U's columns are not orthonormal.
// Returns 0, or -2 when a singular value does not converge within 30 QR iterations.
int SingularValueDecompose(TMatrix& A, int Lb, int Ub1, TMatrix& V, TVector& S, int Ub2);
// Every S[i] below Tol * max S[Lb..Ub] becomes 0.
void ZeroSmallSingularValues(TVector& S, int Lb, int Ub, double Tol);
// Least-squares solution X[Lb..Ub2] of U * diag(S) * V^T * X = B (rows Lb..Ub1); zero singular
// values are skipped, which gives the minimum-norm solution.
void SolveBySingularValues(const TMatrix& U, const TVector& S, const TMatrix& V, const TVector& B, int Lb,
                           int Ub1, int Ub2, TVector& X);

} // namespace kurvex

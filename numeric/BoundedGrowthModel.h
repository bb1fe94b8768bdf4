// Model 5, bounded growth y = B0 (B2 - exp(-B1 x)), started log-linearly and refined nonlinearly.
#pragma once

#include "numeric/Matrices.h"

namespace kurvex {

struct FitModel;

const FitModel& BoundedGrowthModel();
// Widens the refinement's bounds (indices 0..2) so that they cover the scale of the data.
void WidenBoundedGrowthBounds(const TVector& X, const TVector& Y, int N, TVector& Bmin, TVector& Bmax);

} // namespace kurvex

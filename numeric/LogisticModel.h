// Model 10, the logistic curve y = a / (1 + exp(c - b x)), started by a straight line through the
// logits and refined nonlinearly.
#pragma once

#include "numeric/Matrices.h"

namespace kurvex {

struct FitModel;

const FitModel& LogisticModel();
// Widens the refinement's bounds (indices 1..3) so that they cover the scale of the data.
void WidenLogisticBounds(const TVector& X, const TVector& Y, int N, TVector& Bmin, TVector& Bmax);

} // namespace kurvex

// Model 10, the logistic curve y = a / (1 + exp(c - b x)), started by a straight line through the logits.
#pragma once

namespace kurvex {

struct FitModel;

const FitModel& LogisticModel();

} // namespace kurvex

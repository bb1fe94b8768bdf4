// Model 4, the exponential y = a exp(b x), started by an integral equation.
#pragma once

namespace kurvex {

struct FitModel;

const FitModel& ExponentialModel();

} // namespace kurvex

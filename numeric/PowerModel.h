// Model 7, the power y = a x^z, started by a straight line through the logarithms.
#pragma once

namespace kurvex {

struct FitModel;

const FitModel& PowerModel();

} // namespace kurvex

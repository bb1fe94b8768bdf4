// Model 9, the line through the origin y = m*x.
#pragma once

namespace kurvex {

struct FitModel;

const FitModel& ProportionalModel();

} // namespace kurvex

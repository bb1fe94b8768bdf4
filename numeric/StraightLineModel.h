// Model 0, the straight line y = m*x + c.
#pragma once

namespace kurvex {

struct FitModel;

const FitModel& LineModel();

} // namespace kurvex

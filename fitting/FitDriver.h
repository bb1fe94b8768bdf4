// The fitting window's fit of the checked points: the model's fit or the sine fit, the rules that
// refuse a result, and the texts of the result label.
#pragma once

#include "core/FitCheck.h"
#include "core/FitReport.h"
#include "core/FitTerm.h"
#include "numeric/Statistics.h"

#include <string>
#include <vector>

namespace kurvex {

struct FitOutcome {
    bool shown = false;
    // Why no fit is shown (UTF-8), empty when it is.
    std::string message;
    // The fitted parameters by index (FitParams), or a, b, c, d of the sine; tiny values zeroed.
    std::vector<double> params;
    FitStatistics stats;
    // The fitted values at the points, in the order of the sorted points.
    std::vector<double> fitted;
    FitTermTexts texts;
    // What the report of this fit shows.
    FitReportInput report;
};

// Fits regModel to the points (sorted by x, as the check leaves them); digits are those of the
// label. A fit whose code, failure flag, parameters or statistics say it did not work, a bounded
// growth with R2 outside [0.2, 1], and a failed sine fit are refused with kFitImpossibleMessage.
FitOutcome FitPoints(int regModel, const FitDegrees& degrees, const std::vector<DataPoint>& points,
                     int digits);

} // namespace kurvex

// The run-time state a curve lesson window starts from.
#include "core/LessonStart.h"

#include "core/FunctionGraph.h"
#include "core/Settings.h"

namespace kurvex {

void ResetCurveRunState()
{
    AutoTicks = true;
    CurrentX = 0.0;
    CurveKind = kKindTerm;
    TraceMode = false;
    LineWidth = 1;
    ShowScale = true;
    Printing = false;
    UseSpectrum = false;
    FixFamily = false;
    ShowDerivative = false;
    TangentLength = 2.0;
    DrawScale = 1.0;
    StepWidth = 1.0;
}

void ResetLessonRunState()
{
    ResetCurveRunState();
    ModuleOpen = false;
    SpareFlag1 = true;
}

} // namespace kurvex

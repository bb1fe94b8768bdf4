// Test helper: every shared variable of the core and the platform layer, one list per header, and a
// scope that puts them all back.
#pragma once

#include "core/FitTerm.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "platform/Canvas.h"
#include "support/SavedVariables.h"

#include <array>
#include <tuple>
#include <vector>

namespace kurvex::test {

// ---- One list per header, in the header's order; SharedState_test checks them against the headers ----

// core/Settings.h: the settings, the run-time state, plot rectangle, tick steps, captions, printing.
inline auto SettingsVariables()
{
    return std::tie(
        BackgroundColor, GraphColor, GridColor, TangentLineColor, SecantColor, TriangleColor, Deriv1Color,
        Deriv2Color, SinColor, CosColor, TanColor, CotColor, AreaColor, ArcColor, AngleColor, EpsilonColor,
        DeltaColor, FOfDeltaColor, PrintSizePercent, TangentLength, Decimals, ParamA, ParamAMin, ParamAMax,
        ParamB, ParamBMin, ParamBMax, ParamC, ParamCMin, ParamCMax, ParamD, ParamDMin, ParamDMax, ParamT,
        ParamTMin, ParamTMax, PointXP, PointXQ, SequenceLimit, EpsDeltaMaxRadius, XMin, XMax, YMin, YMax,
        TermGeneral, TermText, TermOfT, TermShifted, TermPiece1, TermPiece2, TermCovariation, TermBisection,
        TermSequence, AnimationSteps, TrigAnimationSteps, AnimationDelay, ShowScale, GridMode, IniSettings,
        CurrentX, LineWidth, TraceMode, ShowDerivative, UseSpectrum, FixFamily, AreaFillStyle, AutoTicks,
        PiAxis, UserXTickStep, UserYTickStep, ResultDigits, StepWidth, ProgramDir, CurveColor, CurveKind,
        AnimationRunning, ShowInfoAtStartAndExit, ModuleOpen, StartTab, TransferFitTerm, RegModel, PolyDegree,
        NumeratorDegree, DenominatorDegree, SpareFlag1, SpareFlag2, SpareInt1, SpareInt2, SpareInt3,
        SavedXMin, SavedXMax, SavedYMin, SavedYMax, PlotLeft, PlotTop, PlotWidth, PlotHeight, XTickStep,
        YTickStep, AutoXTickStep, AutoYTickStep, TrigTicks, NumberLineMode, XAxisLabel, YAxisLabel,
        PrintMarginLeft, PrintMarginTop, PrintOriginX, PrintOriginY);
}

// platform/Canvas.h: the drawing target and its scale.
inline auto CanvasVariables()
{
    return std::tie(DrawCanvas, DrawScale, Printing);
}

// core/term/Term.h: parser modes, the last compilation's state and the shared terms.
inline auto TermVariables()
{
    return std::tie(AllowVariables, IntegrandMode, SequenceMode, ParseError, SyntaxErrorCode, SyntaxErrorPos,
                    StarCount, EvalOk, WValue, ParsedTerm, ParsedTerm2, ParsedNumber);
}

// core/RecordList.h: the lists own their nodes, so SavedRecordLists copies their records instead.
inline std::array<RecordList*, 4> RecordLists()
{
    return {&ObjectList, &FixedSecants, &ExampleRecords, &ArrowList};
}

// core/FunctionGraph.h
inline auto FunctionGraphVariables()
{
    return std::tie(SpectrumIndex, SavedGraphColor);
}

// core/FitTerm.h
inline auto FitTermVariables()
{
    return std::tie(FitTermText);
}

// ---- Snapshots ----

// Copies the records of the global lists and rebuilds the lists from them when it goes, without a
// current node: no node of a test outlives it and nothing points into a freed one.
class SavedRecordLists {
public:
    SavedRecordLists()
    {
        for (std::size_t i = 0; i < lists_.size(); ++i)
            for (const ListNode* node = lists_[i]->Head.get(); node; node = node->Next.get())
                saved_[i].push_back(node->record);
    }
    ~SavedRecordLists()
    {
        for (std::size_t i = 0; i < lists_.size(); ++i) {
            ListClear(*lists_[i]);
            for (auto rec = saved_[i].rbegin(); rec != saved_[i].rend(); ++rec)
                ListInsert(*lists_[i], 1, *rec);
            lists_[i]->Current = nullptr;
        }
    }
    SavedRecordLists(const SavedRecordLists&) = delete;
    SavedRecordLists& operator=(const SavedRecordLists&) = delete;

private:
    std::array<RecordList*, 4> lists_ = RecordLists();
    std::array<std::vector<ListRecord>, 4> saved_;
};

// Snapshots every shared variable of the core and the platform layer when made and restores all of
// them when it goes, so no test leaks state into the next (NumericStateScope and WindowsStateScope
// cover the other layers). Declare it before anything that writes the variables in its destructor
// (windows, canvases), so it restores after them.
class SharedStateScope {
public:
    SharedStateScope() = default;
    // The syntax handler has no getter; tests start without one, so whatever a test installed goes
    // (a leftover message box would block the next test).
    ~SharedStateScope() { SetSyntaxErrorHandler(nullptr); }
    SharedStateScope(const SharedStateScope&) = delete;
    SharedStateScope& operator=(const SharedStateScope&) = delete;

private:
    SavedVariables<SettingsVariables> settings_;
    SavedVariables<CanvasVariables> canvas_;
    SavedVariables<TermVariables> term_;
    SavedRecordLists recordLists_;
    SavedVariables<FunctionGraphVariables> functionGraph_;
    SavedVariables<FitTermVariables> fitTerm_;
};

} // namespace kurvex::test

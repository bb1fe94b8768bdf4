// Which window each launcher item opens, and the modes switched on around a lesson.
#include "app/LessonRegistry.h"

#include "core/Settings.h"
#include "core/term/Term.h"
#include "fitting/FittingWindow.h"
#include "fitting/RegressionWindow.h"
#include "lessons/BisectionWindow.h"
#include "lessons/CurveDiscussionWindow.h"
#include "lessons/DifferentiabilityWindow.h"
#include "lessons/FunctionGraphWindow.h"
#include "lessons/IntegralFunctionWindow.h"
#include "lessons/LimitWindow.h"
#include "lessons/LociWindow.h"
#include "lessons/MappingsWindow.h"
#include "lessons/PolynomialWindow.h"
#include "lessons/SequenceWindow.h"
#include "lessons/StripSumsWindow.h"
#include "lessons/TangentProblemWindow.h"
#include "lessons/TrigonometryWindow.h"

#include <algorithm>
#include <array>

namespace kurvex {

namespace {

// Each lesson window puts its opener here once it exists.
constexpr std::array<LessonEntry, 14> kAnalysisLessons{{
    {"Funktionsanpassung", 30, "TForm30", LessonMode::None, &OpenLessonWindow<FittingWindow>},
    {"Tangentenproblem", 11, "TForm8", LessonMode::None, &OpenLessonWindow<TangentProblemWindow>},
    {"Lineare Regression", 40, "TForm40", LessonMode::None, &OpenLessonWindow<RegressionWindow>},
    {"Differenzierbarkeit", 20, "TForm20", LessonMode::None, &OpenLessonWindow<DifferentiabilityWindow>},
    {"Ganzrationale Funktionen", 6, "TForm17", LessonMode::None, &OpenLessonWindow<PolynomialWindow>},
    {"Grenzwert - Stetigkeit", 8, "TForm11", LessonMode::None, &OpenLessonWindow<LimitWindow>},
    {"f f' f''  Kurvendiskussion", 12, "TForm3", LessonMode::None, &OpenLessonWindow<CurveDiscussionWindow>},
    {"Folgen -  Grenzwert", 15, "TForm15", LessonMode::Sequence, &OpenLessonWindow<SequenceWindow>},
    {"f  F    Integralfunktion", 13, "TForm7", LessonMode::None, &OpenLessonWindow<IntegralFunctionWindow>},
    {"Bisektion  f(x) = 0", 10, "TForm13", LessonMode::None, &OpenLessonWindow<BisectionWindow>},
    {"Ortskurven - H, T, W", 14, "TForm16", LessonMode::None, &OpenLessonWindow<LociWindow>},
    {"Zuordnungen", 7, "TForm12", LessonMode::NumberLine, &OpenLessonWindow<MappingsWindow>},
    {"Unter- und Obersumme", 21, "TForm21", LessonMode::None, &OpenLessonWindow<StripSumsWindow>},
    {"sin cos    tan cot", 9, "TForm5", LessonMode::None, &OpenLessonWindow<TrigonometryWindow>},
}};

// The function-graph window FunctionGraphWindow serves all five graph families.
constexpr LessonOpener kFunctionGraphOpener = &OpenLessonWindow<FunctionGraphWindow>;

constexpr std::array<LessonEntry, 5> kFunctionGraphLessons{{
    {"y = m  x + c", 1, "FunctionGraphWindow", LessonMode::None, kFunctionGraphOpener},
    {"y = a x² + b x + c", 2, "FunctionGraphWindow", LessonMode::None, kFunctionGraphOpener},
    {"y = a (x - u)² + v", 3, "FunctionGraphWindow", LessonMode::None, kFunctionGraphOpener},
    {"y = a f(x - u) + v", 4, "FunctionGraphWindow", LessonMode::None, kFunctionGraphOpener},
    {"y = f(x) Parameter a, b, c, d", 5, "FunctionGraphWindow", LessonMode::None, kFunctionGraphOpener},
}};

LessonHook& hook()
{
    static LessonHook h;
    return h;
}

const LessonEntry* find(std::span<const LessonEntry> list, int imageIndex)
{
    const auto it = std::find_if(list.begin(), list.end(),
                                 [imageIndex](const LessonEntry& e) { return e.imageIndex == imageIndex; });
    return it == list.end() ? nullptr : &*it;
}

void open(const LessonEntry& entry, QWidget* owner)
{
    if (hook())
        hook()(entry, owner);
    else if (entry.open)
        entry.open(owner);
}

// Clears a mode flag when the lesson has closed, also when it leaves by an exception.
class ModeReset {
public:
    explicit ModeReset(bool* flag) : flag_(flag) {}
    ~ModeReset()
    {
        if (flag_)
            *flag_ = false;
    }
    ModeReset(const ModeReset&) = delete;
    ModeReset& operator=(const ModeReset&) = delete;

private:
    bool* flag_;
};

} // namespace

std::span<const LessonEntry> AnalysisLessons()
{
    return kAnalysisLessons;
}

std::span<const LessonEntry> FunctionGraphLessons()
{
    return kFunctionGraphLessons;
}

void OpenAnalysisLesson(int imageIndex, QWidget* owner)
{
    const LessonEntry* entry = find(kAnalysisLessons, imageIndex);
    if (!entry)
        return;
    bool* flag = nullptr;
    if (entry->mode == LessonMode::Sequence)
        flag = &SequenceMode;
    else if (entry->mode == LessonMode::NumberLine)
        flag = &NumberLineMode;
    const ModeReset reset(flag);
    if (entry->mode == LessonMode::NumberLine)
        NumberLineMode = true;
    LoadSettings();
    if (entry->mode == LessonMode::Sequence)
        SequenceMode = true;
    open(*entry, owner);
}

void OpenFunctionGraph(int imageIndex, QWidget* owner)
{
    const LessonEntry* entry = find(kFunctionGraphLessons, imageIndex);
    if (!entry)
        return;
    StartTab = imageIndex - 1;
    open(*entry, owner);
}

void SetLessonHook(LessonHook h)
{
    hook() = std::move(h);
}

} // namespace kurvex

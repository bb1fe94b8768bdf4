// Test helper: the shared variables of the lesson windows and the application, one list per header,
// and the fixture base of their window tests.
#pragma once

#include "app/LauncherWindow.h"
#include "lessons/FunctionGraphWindow.h"
#include "lessons/StripSumsWindow.h"
#include "support/LessonFixture.h"
#include "support/NumericState.h"

#include <tuple>

namespace kurvex::test {

// ---- One list per header; WindowsState_test checks them against the headers ----

// lessons/FunctionGraphWindow.h
inline auto FunctionGraphWindowVariables()
{
    return std::tie(VertexDrag);
}

// lessons/StripSumsWindow.h
inline auto StripSumsWindowVariables()
{
    return std::tie(StripSumsTerm);
}

// app/LauncherWindow.h
inline auto LauncherWindowVariables()
{
    return std::tie(FirstResize);
}

// Snapshots the shared variables of the window layer and of the numeric library it uses when made and
// restores them when it goes; together with SharedStateScope it covers every shared variable.
class WindowsStateScope {
private:
    NumericStateScope numeric_;
    SavedVariables<FunctionGraphWindowVariables> functionGraphWindow_;
    SavedVariables<StripSumsWindowVariables> stripSumsWindow_;
    SavedVariables<LauncherWindowVariables> launcherWindow_;
};

// Base of the tests of lesson windows and application windows: LessonWindowFixture plus the window
// layer's and the numeric library's variables.
class ProgramWindowFixture : public LessonWindowFixture {
private:
    WindowsStateScope windowsState_;
};

} // namespace kurvex::test

// Tests of the window layer's state lists: they cover every shared variable of the windows' headers,
// and the program-window fixture puts them back.
#include "support/WindowsState.h"

#include "support/StateCheck.h"

#include <gtest/gtest.h>

namespace kurvex::test {
namespace {

TEST(WindowsStateLists, EveryWindowHeaderHasAllItsVariablesListed)
{
    ExpectHeadersListed({"controls", "lesson", "lessons", "app"},
                        {
                            {"lessons/FunctionGraphWindow.h", ListSize<FunctionGraphWindowVariables>()},
                            {"lessons/StripSumsWindow.h", ListSize<StripSumsWindowVariables>()},
                            {"app/LauncherWindow.h", ListSize<LauncherWindowVariables>()},
                        });
}

class BareProgramWindowFixture : public ProgramWindowFixture {
    void TestBody() override {}
};

TEST(ProgramWindowFixture, GivesBackTheWindowLayersAndTheNumericVariables)
{
    const auto before = std::tuple(VertexDrag, StripSumsTerm, FirstResize, CurrentModel, ParamA);
    {
        BareProgramWindowFixture fixture;
        VertexDrag = !VertexDrag;
        StripSumsTerm += "x";
        FirstResize = !FirstResize;
        CurrentModel = kModelLogistic + 1;
        ParamA += 1.0;
    }
    EXPECT_EQ(std::tuple(VertexDrag, StripSumsTerm, FirstResize, CurrentModel, ParamA), before);
}

} // namespace
} // namespace kurvex::test

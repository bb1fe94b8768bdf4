// Tests of the numeric-state scope: its lists cover every shared variable of the numeric library,
// and it puts every one of them back.
#include "support/NumericState.h"

#include "support/StateCheck.h"

#include <gtest/gtest.h>

#include <set>

namespace kurvex::test {
namespace {

TEST(NumericStateLists, EveryNumericHeaderHasAllItsVariablesListed)
{
    ExpectHeadersListed({"numeric"}, {
                                         {"numeric/FitModels.h", ListSize<FitModelVariables>()},
                                         {"numeric/GuardedMath.h", ListSize<GuardedMathVariables>()},
                                         {"numeric/LeastSquares.h", ListSize<LeastSquaresVariables>()},
                                         {"numeric/SineFit.h", ListSize<SineFitVariables>()},
                                         {"numeric/Statistics.h", ListSize<StatisticsVariables>()},
                                     });
}

TEST(NumericStateLists, NoVariableIsListedTwice)
{
    std::vector<const void*> all;
    for (const auto& list : {Addresses(FitModelVariables()), Addresses(GuardedMathVariables()),
                             Addresses(LeastSquaresVariables()), Addresses(SineFitVariables()),
                             Addresses(StatisticsVariables())})
        all.insert(all.end(), list.begin(), list.end());
    EXPECT_EQ(std::set<const void*>(all.begin(), all.end()).size(), all.size());
}

TEST(NumericStateScope, PutsEveryVariableBack)
{
    ExpectEveryVariableRestored<NumericStateScope, FitModelVariables>("numeric/FitModels.h");
    ExpectEveryVariableRestored<NumericStateScope, GuardedMathVariables>("numeric/GuardedMath.h");
    ExpectEveryVariableRestored<NumericStateScope, LeastSquaresVariables>("numeric/LeastSquares.h");
    ExpectEveryVariableRestored<NumericStateScope, SineFitVariables>("numeric/SineFit.h");
    ExpectEveryVariableRestored<NumericStateScope, StatisticsVariables>("numeric/Statistics.h");
}

} // namespace
} // namespace kurvex::test

// Tests of the shared-state scope: its lists cover every shared variable of the core and the
// platform layer, and it puts every one of them back.
#include "support/SharedState.h"

#include "support/StateCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <variant>

namespace kurvex::test {
namespace {

TEST(SharedStateLists, EveryHeaderOfCoreAndPlatformHasAllItsVariablesListed)
{
    // A new header with shared variables needs a list of its own; a new variable, its place in one.
    ExpectHeadersListed({"core", "platform"},
                        {
                            {"core/Settings.h", ListSize<SettingsVariables>()},
                            {"platform/Canvas.h", ListSize<CanvasVariables>()},
                            {"core/term/Term.h", ListSize<TermVariables>()},
                            {"core/RecordList.h", RecordLists().size()},
                            {"core/FunctionGraph.h", ListSize<FunctionGraphVariables>()},
                            {"core/FitTerm.h", ListSize<FitTermVariables>()},
                        });
}

TEST(SharedStateLists, EverySettingOfTheFileIsListed)
{
    const std::vector<const void*> listed = Addresses(SettingsVariables());
    for (const SettingEntry& e : SettingsTable()) {
        const void* variable = std::visit([](auto* v) -> const void* { return v; }, e.variable);
        EXPECT_NE(std::find(listed.begin(), listed.end(), variable), listed.end())
            << e.section << "/" << e.key;
    }
    EXPECT_NE(std::find(listed.begin(), listed.end(), &IniSettings), listed.end());
}

TEST(SharedStateLists, NoVariableIsListedTwice)
{
    std::vector<const void*> all;
    for (const auto& list : {Addresses(SettingsVariables()), Addresses(CanvasVariables()),
                             Addresses(TermVariables()), Addresses(FunctionGraphVariables())})
        all.insert(all.end(), list.begin(), list.end());
    for (const RecordList* list : RecordLists())
        all.push_back(list);
    EXPECT_EQ(std::set<const void*>(all.begin(), all.end()).size(), all.size());
}

TEST(SharedStateScope, PutsEveryVariableBack)
{
    ExpectEveryVariableRestored<SharedStateScope, SettingsVariables>("core/Settings.h");
    ExpectEveryVariableRestored<SharedStateScope, CanvasVariables>("platform/Canvas.h");
    ExpectEveryVariableRestored<SharedStateScope, TermVariables>("core/term/Term.h");
    ExpectEveryVariableRestored<SharedStateScope, FunctionGraphVariables>("core/FunctionGraph.h");
}

std::vector<double> Firsts(RecordList& list)
{
    std::vector<double> out;
    for (std::size_t i = 1; i <= ListCount(list); ++i) {
        ListRecord rec;
        ListGet(list, i, rec);
        out.push_back(rec.value[0]);
    }
    return out;
}

TEST(SharedStateScope, RebuildsTheRecordListsAndRemovesTheSyntaxHandler)
{
    const SharedStateScope outer;
    for (const double first : {1.0, 2.0})
        ListInsert(ObjectList, ListCount(ObjectList) + 1, ListRecord{{first}, clRed, 2});
    int messages = 0;
    {
        const SharedStateScope scope;
        ListInsert(ObjectList, 1, ListRecord{{9.0}});
        ListSeek(ObjectList, 2);
        ListInsert(ArrowList, 1, ListRecord{{5.0}});
        ListClear(FixedSecants);
        SetSyntaxErrorHandler([&messages](int, const std::string&, int) { ++messages; });
    }
    EXPECT_EQ(ObjectList.Current, nullptr); // never a node the scope has freed
    EXPECT_EQ(Firsts(ObjectList), (std::vector<double>{1.0, 2.0}));
    ListRecord second;
    ListGet(ObjectList, 2, second);
    EXPECT_EQ(second, (ListRecord{{2.0}, clRed, 2}));
    EXPECT_TRUE(ListEmpty(ArrowList));

    TermTree tree;
    EXPECT_FALSE(CompileTerm(tree, "x+", true));
    EXPECT_EQ(messages, 0);
}

} // namespace
} // namespace kurvex::test

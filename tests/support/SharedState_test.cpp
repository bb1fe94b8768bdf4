// Tests of the shared-state scope: its lists cover every shared variable of their headers, and it
// puts every one of them back.
#include "support/SharedState.h"

#include "platform/RecordingCanvas.h"
#include "support/InlineVariables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <type_traits>
#include <utility>
#include <variant>

namespace kurvex::test {
namespace {

const std::filesystem::path kSource = KURVEX_SOURCE_DIR;

// Number of variables each header declares, as its list has them.
std::map<std::string, std::size_t> ListSizes()
{
    return {
        {"core/Settings.h", std::tuple_size_v<decltype(SettingsVariables())>},
        {"platform/Canvas.h", std::tuple_size_v<decltype(CanvasVariables())>},
        {"core/term/Term.h", std::tuple_size_v<decltype(TermVariables())>},
        {"core/RecordList.h", RecordLists().size()},
        {"core/FunctionGraph.h", std::tuple_size_v<decltype(FunctionGraphVariables())>},
        {"numeric/FitModels.h", std::tuple_size_v<decltype(FitModelVariables())>},
        {"numeric/GuardedMath.h", std::tuple_size_v<decltype(GuardedMathVariables())>},
        {"numeric/LeastSquares.h", std::tuple_size_v<decltype(LeastSquaresVariables())>},
        {"numeric/SineFit.h", std::tuple_size_v<decltype(SineFitVariables())>},
        {"numeric/Statistics.h", std::tuple_size_v<decltype(StatisticsVariables())>},
    };
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names)
        out += n + " ";
    return out;
}

TEST(SharedStateLists, EveryHeaderBelowTheWindowsHasAllItsVariablesListed)
{
    // A new header with shared variables needs a list of its own; a new variable, its place in one.
    const auto sizes = ListSizes();
    std::set<std::string> seen;
    for (const char* folder : {"core", "platform", "numeric"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / folder)) {
            if (entry.path().extension() != ".h")
                continue;
            const std::string header = entry.path().lexically_relative(kSource).generic_string();
            const std::vector<std::string> names = InlineVariableNames(entry.path());
            const auto listed = sizes.find(header);
            EXPECT_EQ(names.size(), listed == sizes.end() ? 0u : listed->second)
                << header << " declares: " << Joined(names);
            seen.insert(header);
        }
    }
    for (const auto& [header, size] : sizes)
        EXPECT_TRUE(seen.contains(header)) << header << " has a list but is gone";
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
    for (const auto& list :
         {Addresses(SettingsVariables()), Addresses(CanvasVariables()), Addresses(TermVariables()),
          Addresses(FunctionGraphVariables()), Addresses(FitModelVariables()),
          Addresses(GuardedMathVariables()), Addresses(LeastSquaresVariables()),
          Addresses(SineFitVariables()), Addresses(StatisticsVariables())})
        all.insert(all.end(), list.begin(), list.end());
    for (const RecordList* list : RecordLists())
        all.push_back(list);
    EXPECT_EQ(std::set<const void*>(all.begin(), all.end()).size(), all.size());
}

TermTree Compiled(const char* text)
{
    TermTree tree;
    CompileTerm(tree, text, true);
    return tree;
}

// Gives v a value different from the one it has.
template <class T> void Change(T& v)
{
    static RecordingCanvas canvas;
    if constexpr (std::is_same_v<T, bool>) {
        v = !v;
    } else if constexpr (std::is_enum_v<T>) {
        v = static_cast<T>(static_cast<int>(v) + 1);
    } else if constexpr (std::is_arithmetic_v<T>) {
        v = static_cast<T>(v + 1);
    } else if constexpr (std::is_same_v<T, Canvas*>) {
        v = v == &canvas ? nullptr : &canvas;
    } else if constexpr (std::is_same_v<T, std::string>) {
        v += "?";
    } else if constexpr (std::is_same_v<T, TermTree>) {
        // Compiling sets the parser state, which the list has changed already; "2+3" compiles in
        // every parser mode.
        const auto state =
            std::tuple(AllowVariables, ParseError, SyntaxErrorCode, SyntaxErrorPos, StarCount, EvalOk);
        v = v.empty() ? Compiled("2+3") : TermTree{};
        std::tie(AllowVariables, ParseError, SyntaxErrorCode, SyntaxErrorPos, StarCount, EvalOk) = state;
    } else if constexpr (std::is_same_v<T, IniSettingsRecord>) {
        for (const SettingEntry& e : SettingsTable())
            std::visit([&v](auto field) { Change(v.*field); }, e.field);
    } else if constexpr (std::is_same_v<T, SineParameterSet>) {
        v[0] += 1.0;
    } else if constexpr (std::is_same_v<T, TVector>) {
        v.push_back(1.0);
    } else {
        static_assert(sizeof(T) == 0, "a shared variable of a type this test cannot change");
    }
}

template <class T> bool Same(const T& a, const T& b)
{
    if constexpr (std::is_same_v<T, TermTree>) {
        return std::equal(a.nodes().begin(), a.nodes().end(), b.nodes().begin(), b.nodes().end(),
                          [](const TermNode& x, const TermNode& y) {
                              return x.Code == y.Code && x.Value == y.Value && x.Left == y.Left &&
                                     x.Right == y.Right;
                          });
    } else if constexpr (std::is_same_v<T, IniSettingsRecord>) {
        return std::all_of(SettingsTable().begin(), SettingsTable().end(), [&](const SettingEntry& e) {
            return std::visit([&](auto field) { return a.*field == b.*field; }, e.field);
        });
    } else {
        return a == b;
    }
}

// Calls f(index, a_i, b_i) for the elements of two tuples of the same size.
template <class A, class B, class F> void ForEachPair(const A& a, const B& b, F f)
{
    [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        (f(I, std::get<I>(a), std::get<I>(b)), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<A>>{});
}

// Changes every variable of the list inside a scope and checks that each one is back afterwards.
template <class List> void ExpectEveryVariableRestored(const char* header, List list)
{
    const typename ValuesOf<decltype(list())>::type before = list();
    {
        const SharedStateScope scope;
        std::apply([](auto&... v) { (Change(v), ...); }, list());
        ForEachPair(list(), before, [header](std::size_t i, const auto& now, const auto& old) {
            EXPECT_FALSE(Same(now, old)) << header << " #" << i << " did not change";
        });
    }
    ForEachPair(list(), before, [header](std::size_t i, const auto& now, const auto& old) {
        EXPECT_TRUE(Same(now, old)) << header << " #" << i << " is not back";
    });
}

TEST(SharedStateScope, PutsEveryVariableBack)
{
    ExpectEveryVariableRestored("core/Settings.h", SettingsVariables);
    ExpectEveryVariableRestored("platform/Canvas.h", CanvasVariables);
    ExpectEveryVariableRestored("core/term/Term.h", TermVariables);
    ExpectEveryVariableRestored("core/FunctionGraph.h", FunctionGraphVariables);
    ExpectEveryVariableRestored("numeric/FitModels.h", FitModelVariables);
    ExpectEveryVariableRestored("numeric/GuardedMath.h", GuardedMathVariables);
    ExpectEveryVariableRestored("numeric/LeastSquares.h", LeastSquaresVariables);
    ExpectEveryVariableRestored("numeric/SineFit.h", SineFitVariables);
    ExpectEveryVariableRestored("numeric/Statistics.h", StatisticsVariables);
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

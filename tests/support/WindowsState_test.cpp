// Tests of the window layer's state lists: they cover every shared variable of the windows' headers,
// and the program-window fixture puts them back.
#include "support/WindowsState.h"

#include "support/InlineVariables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace kurvex::test {
namespace {

const std::filesystem::path kSource = KURVEX_SOURCE_DIR;

TEST(WindowsStateLists, EveryWindowHeaderHasAllItsVariablesListed)
{
    const std::map<std::string, std::size_t> sizes{
        {"lessons/FunctionGraphWindow.h", std::tuple_size_v<decltype(FunctionGraphWindowVariables())>},
        {"app/HelpWindow.h", std::tuple_size_v<decltype(HelpWindowVariables())>},
        {"app/InfoWindow.h", std::tuple_size_v<decltype(InfoWindowVariables())>},
        {"app/LauncherWindow.h", std::tuple_size_v<decltype(LauncherWindowVariables())>},
    };
    std::set<std::string> seen;
    for (const char* folder : {"controls", "lesson", "lessons", "app"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / folder)) {
            if (entry.path().extension() != ".h")
                continue;
            const std::string header = entry.path().lexically_relative(kSource).generic_string();
            const std::vector<std::string> names = InlineVariableNames(entry.path());
            const auto listed = sizes.find(header);
            std::string joined;
            for (const std::string& n : names)
                joined += n + " ";
            EXPECT_EQ(names.size(), listed == sizes.end() ? 0u : listed->second)
                << header << " declares: " << joined;
            seen.insert(header);
        }
    }
    for (const auto& [header, size] : sizes)
        EXPECT_TRUE(seen.contains(header)) << header << " has a list but is gone";
}

class BareProgramWindowFixture : public ProgramWindowFixture {
    void TestBody() override {}
};

TEST(ProgramWindowFixture, GivesBackTheWindowLayersVariables)
{
    const bool vertexDrag = VertexDrag;
    const bool firstResize = FirstResize;
    {
        BareProgramWindowFixture fixture;
        VertexDrag = !vertexDrag;
        FirstResize = !firstResize;
    }
    EXPECT_EQ(VertexDrag, vertexDrag);
    EXPECT_EQ(FirstResize, firstResize);
}

} // namespace
} // namespace kurvex::test

// Every launcher entry at its opening size, after its standard action: each visible label, edit,
// button and check box shows its whole text, measured with its font against the room it has.
#include "app/LessonRegistry.h"
#include "lesson/LessonWindow.h"
#include "support/LauncherEntries.h"
#include "support/WholeTexts.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using WholeTextsTest = test::LauncherEntryTest;

TEST_P(WholeTextsTest, EveryLabelEditAndButtonShowsItsWholeText)
{
    const test::LauncherEntry& entry = GetParam();
    std::vector<std::string> faults;
    const bool opened = test::UseEntryWindow(entry, [&](LessonWindow& w) {
        entry.action(w);
        QApplication::processEvents();
        faults = test::CutTexts(w);
    });
    EXPECT_TRUE(opened) << "no lesson window opened";
    for (const std::string& fault : faults) {
        ADD_FAILURE() << fault;
    }
}

TEST(WholeTextsCoverage, EveryLauncherEntryIsOpened)
{
    std::vector<std::string> captions;
    for (const auto lessons : {AnalysisLessons(), FunctionGraphLessons()}) {
        for (const LessonEntry& e : lessons) {
            captions.emplace_back(e.caption);
        }
    }
    ASSERT_EQ(captions.size(), test::LauncherEntries().size());
    for (const std::string& caption : captions) {
        EXPECT_TRUE(std::any_of(test::LauncherEntries().begin(), test::LauncherEntries().end(),
                                [&](const test::LauncherEntry& e) { return caption == e.caption; }))
            << caption;
    }
}

INSTANTIATE_TEST_SUITE_P(Launcher, WholeTextsTest, ::testing::ValuesIn(test::LauncherEntries()),
                         test::EntryParamName);

} // namespace
} // namespace kurvex

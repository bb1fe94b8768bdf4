// Every launcher entry at its opening size, after its standard action: each visible label, edit,
// button and check box shows its whole text, measured with its font against the room it has.
#include "app/CategoryList.h"
#include "app/LauncherWindow.h"
#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "core/Settings.h"
#include "lesson/LessonWindow.h"
#include "support/LauncherEntries.h"
#include "support/WholeTexts.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kurvex {
namespace {

class QuietLauncher : public LauncherWindow {
protected:
    void showInfoWindow() override {}
    bool confirmExit() override { return true; }
};

class WholeTextsTest : public test::ProgramWindowFixture,
                       public ::testing::WithParamInterface<test::LauncherEntry> {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        AnimationDelay = 0;
        const QDir data(QStringLiteral(KURVEX_SOURCE_DIR "/resources/data"));
        for (const QString& name : data.entryList(QDir::Files)) {
            QFile::copy(data.filePath(name), programDir.filePath(name));
        }
        SetDefaultSettings();
        ASSERT_EQ(SaveSettings(), "");
        LoadSettings();
    }
};

TEST_P(WholeTextsTest, EveryLabelEditAndButtonShowsItsWholeText)
{
    const test::LauncherEntry& entry = GetParam();
    QuietLauncher launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    CategoryList* list = entry.graphList ? launcher.graphList() : launcher.analysisList();
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        row = list->caption(i) == QString::fromUtf8(entry.caption) ? i : row;
    }
    ASSERT_GE(row, 0) << "no launcher entry " << entry.caption;

    std::vector<std::string> faults;
    bool used = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<LessonWindow*>(QApplication::activeModalWidget());
        if (w == nullptr) {
            return;
        }
        used = true;
        if (QTest::qWaitForWindowExposed(w)) {
            entry.action(*w);
            QApplication::processEvents();
            faults = test::CutTexts(*w);
        }
        w->reject();
    });
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(used) << "no lesson window opened";
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
                         [](const ::testing::TestParamInfo<test::LauncherEntry>& info) {
                             std::string name;
                             for (const char ch : std::string(info.param.caption)) {
                                 if (std::isalnum(static_cast<unsigned char>(ch))) {
                                     name += ch;
                                 }
                             }
                             return name + "_" + std::to_string(info.index);
                         });

} // namespace
} // namespace kurvex

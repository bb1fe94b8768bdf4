// The launcher's entries for end-to-end tests: every entry of both lists, and opening one by a
// click in a launcher that shows no info window and asks no exit question.
#pragma once

#include "app/CategoryList.h"
#include "app/LauncherWindow.h"
#include "app/LessonRegistry.h"
#include "lesson/LessonWindow.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace kurvex::test {

class QuietLauncher : public LauncherWindow {
protected:
    void showInfoWindow() override {}
    bool confirmExit() override { return true; }
};

struct LauncherEntry {
    const char* caption;
    bool graphList; // "Funktionsgraphen" rather than "Analysis"
};

inline void PrintTo(const LauncherEntry& e, std::ostream* os)
{
    *os << e.caption;
}

// Every entry of the "Funktionsgraphen" list, then every entry of the "Analysis" list.
inline std::vector<LauncherEntry> AllLauncherEntries()
{
    std::vector<LauncherEntry> entries;
    for (const LessonEntry& e : FunctionGraphLessons()) {
        entries.push_back({e.caption, true});
    }
    for (const LessonEntry& e : AnalysisLessons()) {
        entries.push_back({e.caption, false});
    }
    return entries;
}

// A test name of the caption's letters and digits and the index.
inline std::string LauncherEntryTestName(const ::testing::TestParamInfo<LauncherEntry>& info)
{
    std::string name;
    for (const char ch : std::string(info.param.caption)) {
        if (std::isalnum(static_cast<unsigned char>(ch))) {
            name += ch;
        }
    }
    return name + "_" + std::to_string(info.index);
}

// Clicks the entry in a launcher and runs use on the lesson window while it is open; the window is
// closed afterwards. False when the entry is missing or no lesson window opened.
inline bool UseLauncherEntry(const LauncherEntry& entry, const std::function<void(LessonWindow&)>& use)
{
    QuietLauncher launcher;
    launcher.show();
    if (!QTest::qWaitForWindowExposed(&launcher)) {
        return false;
    }
    CategoryList* list = entry.graphList ? launcher.graphList() : launcher.analysisList();
    int row = -1;
    for (int i = 0; i < list->count(); ++i) {
        row = list->caption(i) == QString::fromUtf8(entry.caption) ? i : row;
    }
    if (row < 0) {
        return false;
    }
    bool used = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<LessonWindow*>(QApplication::activeModalWidget());
        if (w == nullptr) {
            return;
        }
        used = true;
        use(*w);
        w->reject();
    });
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return used;
}

} // namespace kurvex::test

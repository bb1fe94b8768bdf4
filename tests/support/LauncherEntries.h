// The launcher's 19 entries and the one change a user makes in each window once it has drawn, for
// the tests that open every entry, and opening an entry as a user does.
#pragma once

#include "app/CategoryList.h"
#include "app/LauncherWindow.h"
#include "app/SettingsDialog.h"
#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "lesson/LessonWindow.h"
#include "lesson/PlotBox.h"
#include "support/LessonFixture.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

namespace kurvex::test {

// What a user changes in the window once it has drawn.
using EntryAction = std::function<void(LessonWindow&)>;

inline EntryAction TypeTerm(const char* edit, const char* term)
{
    return [edit, term](LessonWindow& w) { typeInto(child<QLineEdit>(&w, edit), QString::fromUtf8(term)); };
}

inline EntryAction MoveBar(const char* bar)
{
    return [bar](LessonWindow& w) {
        auto* b = child<QScrollBar>(&w, bar);
        b->setValue(b->value() + (b->value() < b->maximum() ? 1 : -1));
    };
}

// Several changes one after the other.
inline EntryAction Both(EntryAction first, EntryAction second)
{
    return [first, second](LessonWindow& w) {
        first(w);
        second(w);
    };
}

inline EntryAction CheckBox(const char* box)
{
    return [box](LessonWindow& w) { clickBox(child<BitCheckBox>(&w, box)); };
}

inline EntryAction ClickPoints()
{
    return [](LessonWindow& w) {
        const QSize s = w.plotBox()->size();
        for (const QPointF at :
             {QPointF(0.3, 0.6), QPointF(0.5, 0.4), QPointF(0.7, 0.5), QPointF(0.8, 0.3)}) {
            QTest::mouseClick(
                w.plotBox(), Qt::LeftButton, {},
                QPoint(static_cast<int>(s.width() * at.x()), static_cast<int>(s.height() * at.y())));
        }
    };
}

inline EntryAction DragAcrossPlot()
{
    return [](LessonWindow& w) {
        const QSize s = w.plotBox()->size();
        dragOnPlot(w.plotBox(), QPoint(s.width() / 2, s.height() / 2),
                   QPoint(s.width() * 2 / 3, s.height() / 3));
    };
}

struct LauncherEntry {
    const char* caption;
    bool graphList; // "Funktionsgraphen" rather than "Analysis"
    EntryAction action;
};

inline void PrintTo(const LauncherEntry& e, std::ostream* os)
{
    *os << e.caption;
}

// Every entry with its standard action.
inline const std::vector<LauncherEntry>& LauncherEntries()
{
    static const std::vector<LauncherEntry> entries{
        {"y = m  x + c", true, MoveBar("ScrollBar1")},
        {"y = a x² + b x + c", true, MoveBar("ScrollBar2")},
        {"y = a (x - u)² + v", true, MoveBar("ScrollBar3")},
        {"y = a f(x - u) + v", true, TypeTerm("Edit12", "sin(x)")},
        {"y = f(x) Parameter a, b, c, d", true, TypeTerm("Edit1", "a*x^3-3x")},
        {"Tangentenproblem", false, TypeTerm("Edit1", "x^2/4")},
        {"Differenzierbarkeit", false, TypeTerm("Edit1", "x^2")},
        {"Grenzwert - Stetigkeit", false, TypeTerm("Edit1", "x^2/2")},
        {"Folgen -  Grenzwert", false, TypeTerm("Edit1", "1/n")},
        {"Bisektion  f(x) = 0", false, TypeTerm("Edit1", "x^2-3")},
        {"Unter- und Obersumme", false, TypeTerm("Edit1", "x^2/4")},
        {"Ortskurven - H, T, W", false, TypeTerm("Edit1", "x^2-t*x")},
        {"Ganzrationale Funktionen", false, DragAcrossPlot()},
        {"f f' f''  Kurvendiskussion", false, TypeTerm("Edit1", "x^3-3x")},
        {"f  F    Integralfunktion", false, TypeTerm("Edit1", "sin(t)")},
        {"Zuordnungen", false,
         Both(TypeTerm("Edit1", "x^2/2"), Both(CheckBox("BitCheckBox1"), CheckBox("BitCheckBox3")))},
        {"Funktionsanpassung", false, ClickPoints()},
        {"sin cos    tan cot", false, MoveBar("ScrollBar1")},
        {"Lineare Regression", false, Both(ClickPoints(), MoveBar("ScrollBar1"))},
    };
    return entries;
}

// A test name from the entry's caption: its letters and digits and its place in the list.
inline std::string EntryParamName(const ::testing::TestParamInfo<LauncherEntry>& info)
{
    std::string name;
    for (const char ch : std::string(info.param.caption)) {
        if (std::isalnum(static_cast<unsigned char>(ch))) {
            name += ch;
        }
    }
    return name + "_" + std::to_string(info.index);
}

// The program's data files (example lists, term list, help) copied into a test's program folder.
inline void CopyProgramData(const QTemporaryDir& programDir)
{
    const QDir data(QStringLiteral(KURVEX_SOURCE_DIR "/resources/data"));
    for (const QString& name : data.entryList(QDir::Files)) {
        QFile::copy(data.filePath(name), programDir.filePath(name));
    }
}

// A test over every entry, in the program's folder as a teacher has it: the data files beside the
// program, a settings file of defaults, the application's dialogs and no delay between animation
// steps.
class LauncherEntryTest : public ProgramWindowFixture, public ::testing::WithParamInterface<LauncherEntry> {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        AnimationDelay = 0;
        CopyProgramData(programDir);
        SetDefaultSettings();
        ASSERT_EQ(SaveSettings(), "");
        LoadSettings();
    }
};

// The launcher without its info window and exit question.
class QuietLauncher : public LauncherWindow {
protected:
    void showInfoWindow() override {}
    bool confirmExit() override { return true; }
};

// Clicks the entry in a launcher, hands the lesson window it opens to use once the window is shown
// and closes it; false when no lesson window opened.
inline bool UseEntryWindow(const LauncherEntry& entry, const std::function<void(LessonWindow&)>& use)
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
        ADD_FAILURE() << "no launcher entry " << entry.caption;
        return false;
    }
    bool used = false;
    QTimer::singleShot(0, [&] {
        auto* w = qobject_cast<LessonWindow*>(QApplication::activeModalWidget());
        if (w == nullptr) {
            return;
        }
        used = true;
        if (QTest::qWaitForWindowExposed(w)) {
            use(*w);
        }
        w->reject();
    });
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return used;
}

} // namespace kurvex::test

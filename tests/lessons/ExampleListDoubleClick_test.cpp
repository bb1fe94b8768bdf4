// Double-clicks on the example list of every lesson window that has one, as a mouse sends them:
// each fetches the entry under the pointer, and the list stays where it was while the window
// recomputes, so the next double-click at a place seen before lands on the entry seen there.
#include "controls/BitCheckBox.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/LessonWindow.h"
#include "support/LauncherEntries.h"
#include "support/LessonWindowTest.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kurvex {
namespace {

// What a teacher sets before going through the list: the options that make the window show more
// after a fetch.
using Preparation = std::function<void(LessonWindow&)>;

void tickBox(LessonWindow& w, const char* name)
{
    BitCheckBox* box = test::child<BitCheckBox>(&w, name);
    if (box->isVisible() && !box->Checked()) {
        test::clickBox(box);
    }
}

struct ListWindow {
    const char* caption;
    const char* file;
    Preparation prepare;
};

void PrintTo(const ListWindow& w, std::ostream* os)
{
    *os << w.caption;
}

// The sequence window shows its n0 panel only once a limit has been found: ticked again after
// every fetch, as the user does.
const Preparation kSequenceOptions = [](LessonWindow& w) {
    tickBox(w, "BitCheckBox1");
    test::typeInto(test::child<QLineEdit>(&w, "Edit4"), QStringLiteral("0,1"));
    tickBox(w, "BitCheckBox4");
    tickBox(w, "BitCheckBox3");
};

const ListWindow kListWindows[] = {
    {"f f' f''  Kurvendiskussion", "Bsp1.txt", {}},
    {"f  F    Integralfunktion", "Bsp2.txt", {}},
    {"Tangentenproblem", "Bsp3.txt", {}},
    {"Grenzwert - Stetigkeit", "Bsp4.txt", {}},
    {"Zuordnungen", "Bsp5.txt", {}},
    {"Bisektion  f(x) = 0", "Bsp7.txt", {}},
    {"Folgen -  Grenzwert", "Bsp8.txt", kSequenceOptions},
    {"Differenzierbarkeit", "Bsp9.txt", {}},
};

class ExampleListDoubleClickTest : public test::ProgramWindowFixture,
                                   public ::testing::WithParamInterface<ListWindow> {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        test::CopyProgramData(programDir); // the example lists as shipped
    }
};

// Where the list is in its window and how far it is scrolled.
struct ListPlace {
    QPoint topLeft;
    QSize size;
    int scrolled = 0;
    bool operator==(const ListPlace&) const = default;
};

ListPlace placeOf(const QListWidget& list)
{
    return {list.mapTo(list.window(), QPoint(0, 0)), list.size(), list.verticalScrollBar()->value()};
}

// Double-clicks every entry the list shows, at places seen once before the first click.
void clickThroughTheList(LessonWindow& w, const Preparation& prepare)
{
    test::settle();
    if (prepare) {
        prepare(w);
    }
    auto* panel = w.findChild<ExampleListPanel*>();
    ASSERT_NE(panel, nullptr);
    QListWidget* list = panel->listBox();
    QSignalSpy fetched(panel, &ExampleListPanel::fetchRequested);
    test::settle();

    std::vector<std::pair<int, QPoint>> seen;
    for (int row = 0; row < list->count(); ++row) {
        // Entries with a long remark run past the right edge: a quarter in from the left.
        const QRect item = list->visualItemRect(list->item(row));
        if (item.top() >= 0 && item.bottom() < list->viewport()->height()) {
            const QPoint inside(list->viewport()->width() / 4, item.center().y());
            seen.emplace_back(row, list->viewport()->mapTo(&w, inside));
        }
    }
    ASSERT_GE(seen.size(), 2u) << "the list shows too little to click through";
    const ListPlace before = placeOf(*list);

    for (const auto& [row, at] : seen) {
        SCOPED_TRACE(list->item(row)->text().toStdString());
        // A second and a half after the last double-click, by the events' own clock.
        QTest::mouseDClick(w.windowHandle(), Qt::LeftButton, {}, at, 1500);
        test::settle();
        ASSERT_EQ(fetched.size(), 1) << "one fetch per double-click";
        EXPECT_EQ(fetched.takeFirst().at(0).toInt(), row);
        if (prepare) {
            prepare(w);
            test::settle();
        }
        EXPECT_EQ(placeOf(*list), before) << "the list moved while the window recomputed";
    }
}

TEST_P(ExampleListDoubleClickTest, EachDoubleClickFetchesTheEntryUnderThePointer)
{
    const ListWindow& c = GetParam();
    bool opened = false;
    const bool closed = test::OpenFromLauncher<LessonWindow>(c.caption, [&](LessonWindow& w) {
        opened = true;
        // As small as the window goes: there the list has the least room to spare.
        w.resize(1, 1);
        clickThroughTheList(w, c.prepare);
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(closed);
}

INSTANTIATE_TEST_SUITE_P(EveryWindowWithAnExampleList, ExampleListDoubleClickTest, ::testing::ValuesIn(kListWindows),
                         [](const ::testing::TestParamInfo<ListWindow>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
} // namespace kurvex

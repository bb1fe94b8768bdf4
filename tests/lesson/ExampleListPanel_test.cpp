// Example list panel through its widgets: enable rule, fetch, add, delete, saving when the window closes.
#include "lesson/ExampleListPanel.h"

#include "core/Settings.h"
#include "lesson/PrintExportHooks.h"
#include "support/RestoreShared.h"
#include "support/TestTempDir.h"

#include <QDialog>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

namespace kurvex {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const ExampleFormat kGroups{6, ExampleKey::WholeText, 10, ExampleEntry{"1/4x^2", {1, 3, -7, 7, -3, 11}}};

// A window with the panel that saves it when it closes; messages are recorded, not shown.
class ExampleListPanelTest : public ::testing::Test {
protected:
    ExampleListPanelTest() { ProgramDir = dir.path().string() + "/"; }

    ExampleListPanel* open(const std::string& fileName, const ExampleFormat& format)
    {
        window = std::make_unique<QDialog>();
        panel = new ExampleListPanel(fileName, format, window.get());
        new QVBoxLayout(window.get());
        window->layout()->addWidget(panel);
        QObject::connect(window.get(), &QDialog::finished, panel, &ExampleListPanel::save);
        window->show();
        list = panel->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        return panel;
    }
    QToolButton* button(const char* name) const
    {
        return panel->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    // A real double click: press and release, then the double-click event on the same item.
    void click(int row, bool twice = false)
    {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    static PrintExportHooks recordInto(QStringList& messages)
    {
        PrintExportHooks hooks;
        hooks.showError = [&messages](QWidget*, const QString& m) { messages << m; };
        return hooks;
    }

    test::TempDir dir;
    RestoreShared<std::string> restore{ProgramDir};
    QStringList messages;
    ScopedPrintExportHooks hooks{recordInto(messages)};
    std::unique_ptr<QDialog> window;
    ExampleListPanel* panel = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(ExampleListPanelTest, ButtonsFetchAddAndDelete)
{
    WriteBytes(dir.file("Bsp8.txt"), "1/n\r\n2\xF0/n\r\n(-1)^n\r\n");
    open("Bsp8.txt", ExampleFormat{});
    QSignalSpy fetched(panel, &ExampleListPanel::fetchRequested);
    QSignalSpy removed(panel, &ExampleListPanel::entryRemoved);
    QToolButton* fetch = button("SpeedButton1");
    QToolButton* add = button("SpeedButton4");
    QToolButton* remove = button("SpeedButton5");
    ASSERT_TRUE(fetch && add && remove && list);
    EXPECT_EQ(fetch->toolTip(), QStringLiteral("Aus Liste holen"));
    EXPECT_EQ(add->toolTip(), QStringLiteral("In Liste übernehmen"));
    EXPECT_EQ(remove->toolTip(), QStringLiteral("Eintrag löschen"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("2π/n"));

    // Nothing selected: delete is disabled and fetch does nothing.
    EXPECT_FALSE(remove->isEnabled());
    QTest::mouseClick(fetch, Qt::LeftButton);
    EXPECT_EQ(fetched.count(), 0);

    click(2);
    EXPECT_TRUE(remove->isEnabled());
    QTest::mouseClick(fetch, Qt::LeftButton);
    click(0, true);
    ASSERT_EQ(fetched.count(), 2);
    EXPECT_EQ(fetched.at(0).at(0).toInt(), 2);
    EXPECT_EQ(fetched.at(1).at(0).toInt(), 0);

    // The window answers the add button with the entry it holds.
    QObject::connect(panel, &ExampleListPanel::addRequested, panel, [this] { panel->add({"1/n^2", {}}); });
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(add, Qt::LeftButton); // a duplicate now
    EXPECT_EQ(list->count(), 4);

    click(1);
    QTest::mouseClick(remove, Qt::LeftButton);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(panel->examples().entry(1).text, "(-1)^n");

    window->close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp8.txt")), "1/n\r\n(-1)^n\r\n1/n^2\r\n");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ExampleListPanelTest, BadLineIsReportedOnceAndTheFileSurvivesClosing)
{
    std::string bytes;
    for (const char* term : {"a", "b", "c"})
        bytes +=
            std::string(term) + "\r\n" + (*term == 'c' ? "drei" : "1") + "\r\n2\r\n-7\r\n7\r\n-3\r\n11\r\n";
    WriteBytes(dir.file("Bsp3.txt"), bytes);
    open("Bsp3.txt", kGroups);
    EXPECT_EQ(list->count(), 2);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Zeile 16 ist keine Zahl"))) << messages[0].toStdString();
    panel->add({"x^3", {1, 2, -7, 7, -3, 11}});
    window->close();
    EXPECT_EQ(ReadBytes(dir.file("Bsp3.txt")), bytes);
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(ExampleListPanelTest, EntriesOfTermsThroughoutShowPiAndPhiInEveryPart)
{
    WriteBytes(dir.file("Bsp9.txt"), "\xF0x;\xD6(x)\r\n1\r\n3\r\n-7\r\n7\r\n-3\r\n11\r\n");
    open("Bsp9.txt", kGroups);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("\u03C0x;\u00D6(x)")); // a remark by default
    panel->setEntriesAreTerms(true);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("\u03C0x;\u03A6(x)"));
    panel->add({"x;\xF0", {1, 2, -7, 7, -3, 11}});
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("x;\u03C0"));
    EXPECT_EQ(panel->examples().entry(1).text, "x;\xF0");
}

TEST_F(ExampleListPanelTest, ClosingReportsAFailedSave)
{
    WriteBytes(dir.file("plain"), "");
    ProgramDir = dir.file("plain") + "/";
    open("Bsp3.txt", kGroups);
    EXPECT_EQ(list->count(), 0);
    window->close();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("konnte nicht gespeichert werden")));
}

} // namespace
} // namespace kurvex

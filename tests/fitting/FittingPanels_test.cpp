// Tests of the fitting window's panels and dialogs through their widgets: the value table, point
// files through the dialogs, the sine's start-value dialog and the metafile export.
#include "tests/fitting/FittingWindowFixture.h"

#include "controls/BitCheckBox.h"
#include "core/PointFiles.h"
#include "fitting/PointFileDialogs.h"
#include "fitting/SineStartDialog.h"
#include "fitting/ValueTablePanel.h"
#include "lesson/PrintExportHooks.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"
#include "support/TestTempDir.h"
#include "support/WholeTexts.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace kurvex::test {
namespace {

QString cell(const ValueTable& t, int row, int column)
{
    return t.item(row, column)->text();
}

// Keys as the user types them: each to the widget that has the focus then (the grid or the cell
// editor it opened).
void typeKeys(const QString& text)
{
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}
void pressKey(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

TEST_F(FittingWindowTest, ValueTableShowsThePointsSortedAndForgetsDeletedOnes)
{
    ValueTable& table = *window->valueTable().table();
    EXPECT_EQ(table.rowCount(), 100);
    EXPECT_EQ(table.horizontalHeaderItem(0)->text(), QStringLiteral("         x"));
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), QStringLiteral("         y"));
    editor().addPoint(2, 4);
    editor().addPoint(-1, 0.5);
    editor().addPoint(1234.5, -1e-7);
    control<QToolButton>("SpeedButton12")->click();
    EXPECT_TRUE(window->valueTable().isVisible());
    EXPECT_EQ(CellValue(cell(table, 0, 0).toStdString()), -1.0);
    EXPECT_EQ(cell(table, 0, 1), QStringLiteral("0,500000"));
    EXPECT_EQ(cell(table, 1, 1), QStringLiteral("4,000000"));
    EXPECT_EQ(cell(table, 2, 0), QStringLiteral("1,234500E+3"));
    EXPECT_EQ(cell(table, 2, 1), QStringLiteral("-1,000000E-7"));

    control<QToolButton>("SpeedButton13")->click();
    EXPECT_FALSE(window->valueTable().isVisible());
    ASSERT_EQ(points().size(), 3u);
    EXPECT_EQ(editor().selected(), 2);
    editor().deleteSelected();
    editor().deleteSelected();
    control<QToolButton>("SpeedButton12")->click();
    EXPECT_EQ(cell(table, 1, 0), QString()) << "a deleted point's row is emptied";
    control<QToolButton>("SpeedButton13")->click();
    EXPECT_EQ(points().size(), 1u);
}

TEST_F(FittingWindowTest, ValueTableKeysTypeCommasMoveOnEnterAndNeverCloseTheWindow)
{
    control<QToolButton>("SpeedButton12")->click();
    ValueTable& table = *window->valueTable().table();
    ASSERT_TRUE(table.hasFocus() || table.isAncestorOf(QApplication::focusWidget()));
    typeKeys(QStringLiteral("2.5"));
    pressKey(Qt::Key_Return);
    EXPECT_EQ(cell(table, 0, 0), QStringLiteral("2,5"));
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.currentColumn(), 1);
    typeKeys(QStringLiteral("2*pi"));
    pressKey(Qt::Key_Return);
    EXPECT_EQ(cell(table, 0, 1), QStringLiteral("6,28318530717959"));
    EXPECT_EQ(table.currentRow(), 1);
    EXPECT_EQ(table.currentColumn(), 0);

    // An invalid entry is emptied on Enter and the cursor stays.
    typeKeys(QStringLiteral("2+"));
    pressKey(Qt::Key_Return);
    EXPECT_EQ(table.currentRow(), 1);
    EXPECT_EQ(table.currentColumn(), 0);
    pressKey(Qt::Key_Escape);
    EXPECT_EQ(cell(table, 1, 0), QString());
    pressKey(Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible()) << "Esc in the table never closes the window";

    // Del edits the cell; the point selected on the plot stays.
    editor().addPoint(5, 5);
    table.setCurrentCell(2, 0);
    table.setFocus();
    typeKeys(QStringLiteral("12"));
    pressKey(Qt::Key_Left);
    pressKey(Qt::Key_Delete);
    pressKey(Qt::Key_Return);
    EXPECT_EQ(cell(table, 2, 0), QStringLiteral("1"));
    EXPECT_EQ(points().size(), 1u);
    EXPECT_TRUE(messages.empty()) << "cells are checked without syntax messages";

    table.setCurrentCell(99, 1);
    pressKey(Qt::Key_Return);
    EXPECT_EQ(table.currentRow(), 0) << "after the last row comes the first";

    table.item(4, 0)->setText(QStringLiteral("3"));
    table.item(4, 1)->setText(QStringLiteral("-1"));
    table.item(7, 0)->setText(QStringLiteral("5"));
    control<QToolButton>("SpeedButton13")->click();
    ASSERT_EQ(points().size(), 2u) << "rows with an empty cell are skipped";
    EXPECT_EQ((DataPoint{points()[0].x, points()[0].y}), (DataPoint{2.5, 6.28318530717959}));
    EXPECT_EQ((DataPoint{points()[1].x, points()[1].y}), (DataPoint{3, -1}));
    EXPECT_EQ(editor().selected(), 1) << "the point of the last row taken is selected";

    control<QToolButton>("SpeedButton12")->click();
    control<QToolButton>("SpeedButton25")->click();
    EXPECT_EQ(cell(table, 0, 0), QString());
    control<QToolButton>("SpeedButton13")->click();
    EXPECT_TRUE(points().empty());
}

class PointFileTest : public FittingWindowTest {
protected:
    void SetUp() override
    {
        FittingWindowTest::SetUp();
        PointFileDialogs d;
        d.chooseSaveFile = [this](QWidget*) { return saveChoice; };
        d.chooseOpenFile = [this](QWidget*) { return openChoice; };
        d.confirmReplace = [this](QWidget*, const QString& q) {
            questions.push_back(q.toStdString());
            return replaceAnswer;
        };
        d.showMessage = [this](QWidget*, const QString& m) { shown.push_back(m.toStdString()); };
        dialogs = std::make_unique<ScopedPointFileDialogs>(std::move(d));
    }
    void TearDown() override
    {
        dialogs.reset();
        FittingWindowTest::TearDown();
    }
    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    std::optional<PointFileSaveChoice> saveChoice;
    std::optional<QString> openChoice;
    bool replaceAnswer = false;
    std::vector<std::string> questions;
    std::vector<std::string> shown;
    std::unique_ptr<ScopedPointFileDialogs> dialogs;
};

TEST_F(PointFileTest, OnePointIsEnoughToSaveWhateverTheModel)
{
    control<QToolButton>("SpeedButtonSinFit")->click();
    editor().addPoint(1.5, -2);
    saveChoice =
        PointFileSaveChoice{QString::fromStdString(path("Messung")), PointFileFormat::SemicolonPoint};
    control<QToolButton>("SpeedButton16")->click();
    EXPECT_EQ(ReadBytes(path("Messung.txt")), "1.5;-2\r\n");
    EXPECT_TRUE(shown.empty());
}

TEST_F(PointFileTest, SuffixLeadingToAnotherExistingFileIsAskedAbout)
{
    editor().addPoint(2, 3);
    editor().addPoint(1, 4);
    WriteBytes(path("Versuch.txt"), "alt");
    saveChoice = PointFileSaveChoice{QString::fromStdString(path("Versuch.dat")), PointFileFormat::TabComma};
    control<QToolButton>("SpeedButton16")->click();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("Versuch.txt"), std::string::npos);
    EXPECT_EQ(ReadBytes(path("Versuch.txt")), "alt");
    replaceAnswer = true;
    control<QToolButton>("SpeedButton16")->click();
    EXPECT_EQ(ReadBytes(path("Versuch.txt")), "1\t4\r\n2\t3\r\n");

    // The confirmed name itself was asked about by the dialog.
    saveChoice = PointFileSaveChoice{QString::fromStdString(path("Versuch.txt")), PointFileFormat::TabPoint};
    control<QToolButton>("SpeedButton16")->click();
    EXPECT_EQ(questions.size(), 2u);
}

TEST_F(PointFileTest, LoadingReplacesThePointsAndShowsThemAllOrLeavesThemOnAFault)
{
    editor().addPoint(0, 0);
    WriteBytes(path("gut.dat"), "Regression\r\n3\r\n1990;10\r\n2020;40\r\n2000;25\r\n");
    openChoice = QString::fromStdString(path("gut.dat"));
    control<QToolButton>("SpeedButton2")->click();
    ASSERT_EQ(points().size(), 3u);
    EXPECT_EQ(points()[2].y, 25);
    EXPECT_EQ(currentWorld(), (WorldRect{1975, 2035, -5, 55}));
    EXPECT_TRUE(window->lastFit().shown);

    WriteBytes(path("kaputt.txt"), "1;2\n3;x\n");
    openChoice = QString::fromStdString(path("kaputt.txt"));
    control<QToolButton>("SpeedButton2")->click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Die Datei wurde nicht geladen: In Zeile 2 steht keine g\xC3\xBCltige Zahl.");
    EXPECT_EQ(points().size(), 3u) << "the points stay as they were";

    WriteBytes(path("leer.txt"), "\r\n\r\n");
    openChoice = QString::fromStdString(path("leer.txt"));
    control<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(points().size(), 3u);
    EXPECT_EQ(shown.size(), 1u);

    WriteBytes(path("gleich.txt"), "2;1\n2;5\n");
    openChoice = QString::fromStdString(path("gleich.txt"));
    control<QToolButton>("SpeedButton2")->click();
    EXPECT_EQ(points().size(), 2u);
    EXPECT_EQ(currentWorld().xMin, IniSettings.x1) << "no x span: the start window";
}

TEST_F(PointFileTest, SavedFileLoadsBackInEveryFormat)
{
    editor().addPoint(-3.25, 1e-7);
    editor().addPoint(0, 0);
    editor().addPoint(2.5, -4);
    const std::vector<PlotPoint> before = points();
    for (int f = 1; f <= 5; ++f) {
        SCOPED_TRACE(f);
        const std::string name = path("runde") + std::to_string(f);
        saveChoice = PointFileSaveChoice{QString::fromStdString(name), static_cast<PointFileFormat>(f)};
        control<QToolButton>("SpeedButton16")->click();
        openChoice = QString::fromStdString(name + (f == 1 ? ".dat" : ".txt"));
        editor().deleteAll();
        control<QToolButton>("SpeedButton2")->click();
        ASSERT_EQ(points().size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(points()[i].x, before[i].x);
            EXPECT_EQ(points()[i].y, before[i].y);
        }
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(FittingWindowTest, StartValueDialogShowsTheAutomaticValuesAndKeepsTypedOnes)
{
    SineStartValues = {2, 1, 0.5, 1};
    SineParams = {0, 0, 0, 0};
    SineIterations = 20;
    SineAutoIterations = 10;
    NewModel = true;
    SineStartDialog dialog(window.get());
    dialog.show();
    auto* a = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* c = dialog.findChild<QLineEdit*>(QStringLiteral("Edit3"));
    auto* iterations = dialog.findChild<QLineEdit*>(QStringLiteral("Edit7"));
    auto* defaults = dialog.findChild<BitCheckBox*>(QStringLiteral("BitCheckBox1"));
    ASSERT_TRUE(a && c && iterations && defaults);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Startwerte und Einstellungen y = a sin(bx+c)+d"));
    // Room for the whole caption in a bold title face beside the title bar's icon and buttons.
    QFont bold = dialog.font();
    bold.setBold(true);
    const int titleBar = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dialog);
    EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 4 * titleBar);
    EXPECT_EQ(test::CutTexts(dialog), std::vector<std::string>{});
    EXPECT_EQ(a->text(), QStringLiteral("2,000"));
    EXPECT_FALSE(a->isEnabled());
    EXPECT_EQ(iterations->text(), QStringLiteral("10"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label11"))->text(), QStringLiteral("6,283"));
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Label12"))->text(), QStringLiteral("\u2013"))
        << "no period for a fitted b of 0";

    QTest::mouseClick(defaults, Qt::LeftButton, {}, QPoint(6, defaults->height() / 2));
    EXPECT_FALSE(NewModel);
    EXPECT_TRUE(a->isEnabled());
    EXPECT_EQ(SineUserStartA, 2.0) << "the shown values become the user's";

    typeInto(a, QStringLiteral("0"));
    EXPECT_EQ(SineUserStartA, 2.0) << "a of 0 takes the automatic value";
    EXPECT_EQ(a->text(), QStringLiteral("2,000"));
    typeInto(c, QStringLiteral("0"));
    EXPECT_EQ(SineUserStartC, 0.0) << "c may start at 0";
    typeInto(iterations, QStringLiteral("abc"));
    EXPECT_EQ(SineIterations, 15);
    EXPECT_EQ(iterations->text(), QStringLiteral("15"));
    typeInto(iterations, QStringLiteral("31"));
    EXPECT_EQ(SineIterations, 10);

    QTest::mouseClick(defaults, Qt::LeftButton, {}, QPoint(6, defaults->height() / 2));
    EXPECT_TRUE(NewModel);
    EXPECT_EQ(SineUserStartC, 0.5);
    EXPECT_EQ(SineIterations, 10) << "the limit is not reset";
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(FittingWindowTest, MetafileExportDrawsTheFitAtFourTimesTheScreen)
{
    for (int i = 0; i < 4; ++i) {
        editor().addPoint(i, 2 * i - 1);
    }
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("fit.wmf")), MetafileKind::Wmf});
    const QSize plot = window->plotBox()->size();
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton17")), Qt::LeftButton);
    const WmfFile wmf = ReadWmf(ReadFileBytes(out.filePath(QStringLiteral("fit.wmf")).toStdString()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (plot.width() + 1) * 4);
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_TRUE(window->lastFit().shown);
}

} // namespace
} // namespace kurvex::test

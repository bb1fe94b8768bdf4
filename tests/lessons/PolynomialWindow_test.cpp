// Tests of the polynomial window through its widgets: conditions placed and snapped by the mouse,
// the term and its red messages, the refused eighth equation, edits that keep exact values, keys
// only on the plot, dragging with the whole curve, deleting, and the export.
#include "lessons/PolynomialWindow.h"

#include "app/LessonRegistry.h"
#include "controls/BitCheckBox.h"
#include "core/CoordinateSystem.h"
#include "core/GridSnap.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/TermLabel.h"
#include "platform/RecordingCanvas.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"
#include "support/WholeTexts.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ClickBox;
using test::ClickOnPlot;
using test::Control;
using test::PixelAt;
using test::TypeInto;

class PolynomialWindowTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ProgramDir = dir.path().toStdString() + "/";
        GraphColor = 0x000000;
        open();
    }

    void TearDown() override
    {
        window.reset();
        DrawCanvas = nullptr;
    }

    void open()
    {
        window = std::make_unique<PolynomialWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        test::SetExactWorld(*window);
    }

    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }

    void chooseKind(ConditionKind kind)
    {
        QTest::mouseClick(
            control<QToolButton>(QStringLiteral("KindButton%1").arg(static_cast<int>(kind)).toLatin1()),
            Qt::LeftButton);
    }
    void snapMode(int mode) { control<QSlider>("TrackBar1")->setValue(mode); }
    void place(double x, double y) { ClickOnPlot(window->plotBox(), PixelAt(x, y)); }
    // The term without the breaks the label puts between its summands.
    QString term() const { return control<TermLabel>("Label1")->wholeText(); }
    bool termIsRed() const
    {
        return control<QLabel>("Label1")->palette().color(QPalette::WindowText) == QColor(Qt::red);
    }
    const Condition& condition(int i) const
    {
        return window->conditions().items().at(static_cast<std::size_t>(i));
    }
    // Lines drawn in the polynomial's colour (the curve; conditions are disks).
    std::size_t curveLines()
    {
        const RecordingCanvas c = test::RecordPicture(*window);
        const auto lines = c.callsOf(CanvasOp::LineTo);
        return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](const CanvasCall& l) {
            return l.pen.color == 0x000000 && l.pen.width == 1 && l.points.size() == 2 &&
                   l.points[0].x != l.points[1].x && l.points[0].y != l.points[1].y;
        }));
    }

    QTemporaryDir dir;
    std::unique_ptr<PolynomialWindow> window;
};

TEST_F(PolynomialWindowTest, ClicksPlaceSnappedConditionsAndShowTheTerm)
{
    struct Case {
        int mode;
        double x, y;       // clicked
        double sx, sy;     // placed
        const char* shown; // Edit2
    };
    const Case cases[] = {
        {3, 0.3, 0.3, 0.5, 0.5, "0,500"}, {2, 2.24, 3.8, 2, 4, "2,000"}, {5, -1.04, 1.18, -1, 1.2, "-1,000"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        snapMode(c.mode);
        EXPECT_EQ(control<QLabel>("Label5")->text(), QString::fromStdString(SnapModeText(c.mode)));
        EXPECT_EQ(control<QLabel>("Label5")->x(), (c.mode - 1) * 30 + 4);
        place(c.x, c.y);
        const Condition& k = condition(window->conditions().selected());
        EXPECT_NEAR(k.x, c.sx, 1e-12);
        EXPECT_NEAR(k.y, c.sy, 1e-12);
        EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QString::fromLatin1(c.shown));
    }
    ASSERT_TRUE(window->polynomial().solved());
    EXPECT_EQ(window->polynomial().a.size(), 3u);

    QTest::mouseClick(control<QToolButton>("SpeedButton5"), Qt::LeftButton); // "Neu"
    EXPECT_TRUE(window->conditions().empty());
    EXPECT_TRUE(term().isEmpty());
    snapMode(2);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {2.0, 4.0}, {1.0, 1.0}}) {
        place(x, y);
    }
    EXPECT_EQ(term(), QStringLiteral("  1,000 x^2"));
    ClickBox(control<BitCheckBox>("FractionBox"));
    EXPECT_EQ(term(), QStringLiteral("1 x^2"));
    EXPECT_FALSE(termIsRed());
}

TEST_F(PolynomialWindowTest, ExtremumAndPointGiveTheParabola)
{
    snapMode(2);
    chooseKind(ConditionKind::Extremum);
    place(1, 2);
    EXPECT_EQ(term(), QStringLiteral("  2,000"));
    chooseKind(ConditionKind::Point);
    place(0, 0);
    EXPECT_EQ(term(), QStringLiteral(" -  2,000 x^2 +  4,000 x"));
    EXPECT_GT(curveLines(), 0u);
}

TEST_F(PolynomialWindowTest, MessagesNameTheCauseAndNoCurveIsDrawn)
{
    snapMode(2);
    chooseKind(ConditionKind::Inflection);
    place(1, 1);
    EXPECT_TRUE(termIsRed());
    EXPECT_EQ(term(), QString::fromStdString(FailureMessage(PolynomialFailure::Undetermined)));
    EXPECT_EQ(curveLines(), 0u);

    QTest::mouseClick(control<QToolButton>("SpeedButton5"), Qt::LeftButton);
    chooseKind(ConditionKind::Point);
    EXPECT_EQ(window->findChild<QAbstractButton*>(QStringLiteral("KindButton0"))->isChecked(), true);
    place(1, 0);
    place(3, 3);
    // A second point at x = 1, placed beside the first and moved onto its x by the edit.
    place(2, 1);
    TypeInto(control<QLineEdit>("Edit2"), QStringLiteral("1"));
    EXPECT_TRUE(termIsRed());
    EXPECT_EQ(term(), QStringLiteral("Fehler: mindestens 2 Punkte haben dieselbe x-Koordinate!"));
    EXPECT_EQ(curveLines(), 0u);
    // The conditions stay on the plot.
    EXPECT_EQ(test::RecordPicture(*window).count(CanvasOp::Ellipse), 3u);

    TypeInto(control<QLineEdit>("Edit2"), QStringLiteral("2"));
    EXPECT_FALSE(termIsRed());
    EXPECT_GT(curveLines(), 0u);
}

TEST_F(PolynomialWindowTest, EighthEquationIsRefusedAndTheSelectionStays)
{
    snapMode(2);
    for (int i = 0; i < 7; ++i) {
        place(-3 + i, i % 2);
    }
    ASSERT_EQ(window->conditions().equationCount(), 7);
    place(-2, 1); // picks the second condition
    ASSERT_EQ(window->conditions().selected(), 1);
    place(5, 5);
    EXPECT_EQ(window->conditions().items().size(), 7u);
    EXPECT_EQ(window->conditions().selected(), 1);
    EXPECT_FALSE(control<QLabel>("RefusedLabel")->text().isEmpty());
    // The next change clears the notice.
    QTest::mouseClick(control<QToolButton>("SpeedButton1"), Qt::LeftButton); // "Entf"
    EXPECT_EQ(window->conditions().items().size(), 6u);
    EXPECT_TRUE(control<QLabel>("RefusedLabel")->text().isEmpty());

    chooseKind(ConditionKind::Terrace);
    place(4, 4);
    EXPECT_EQ(window->conditions().items().size(), 6u);
    EXPECT_FALSE(control<QLabel>("RefusedLabel")->text().isEmpty());
}

// The refusal notice stays only until the user's next action, whatever that is.
TEST_F(PolynomialWindowTest, RefusalNoticeGoesWithTheNextAction)
{
    snapMode(2);
    for (int i = 0; i < 7; ++i) {
        place(-3 + i, i % 2);
    }
    const auto click = [this](const char* name) {
        return [this, name] { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); };
    };
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"picking a condition", [this] { place(-2, 1); }},
        {"showing f'", [this] { ClickBox(control<BitCheckBox>("FirstDerivativeBox")); }},
        {"choosing a kind", [this] { chooseKind(ConditionKind::Extremum); }},
        {"a grid button", click("SpeedButton53")},
    };
    QLabel* notice = control<QLabel>("RefusedLabel");
    for (const auto& [name, act] : actions) {
        SCOPED_TRACE(name);
        place(5, 5);
        ASSERT_EQ(window->conditions().items().size(), 7u);
        ASSERT_FALSE(notice->text().isEmpty());
        act();
        EXPECT_TRUE(notice->text().isEmpty());
    }
}

// With no condition selected the slope edit takes the slope for the next ones, after "Neu" as at
// the start.
TEST_F(PolynomialWindowTest, SlopeEditIsOpenAtTheStartAndAgainAfterNeu)
{
    QLineEdit* slope = control<QLineEdit>("Edit1");
    EXPECT_TRUE(slope->isEnabled());
    snapMode(2);
    place(1, 1); // a point has no slope of its own
    EXPECT_FALSE(slope->isEnabled());
    QTest::mouseClick(control<QToolButton>("SpeedButton5"), Qt::LeftButton); // "Neu"
    EXPECT_TRUE(slope->isEnabled());
    TypeInto(slope, QStringLiteral("3"));
    chooseKind(ConditionKind::PointSlope);
    place(2, 2);
    EXPECT_EQ(condition(0).m, 3);
}

// "f(x) =" hides the term and nothing else: the plot keeps its size and square shape, the button
// its place.
TEST_F(PolynomialWindowTest, TermButtonHidesOnlyTheTerm)
{
    snapMode(2);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {2.0, 4.0}, {1.0, 1.0}}) {
        place(x, y);
    }
    auto* button = control<QToolButton>("SpeedButton2");
    QLabel* text = control<QLabel>("Label1");
    const QRect plot = window->plotBox()->geometry();
    const QPoint buttonAt = button->pos();
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(text->isVisible(), shown);
        EXPECT_EQ(window->plotBox()->geometry(), plot);
        EXPECT_EQ(button->pos(), buttonAt);
    }
    EXPECT_EQ(plot.width(), plot.height());
    EXPECT_EQ(term(), QStringLiteral("  1,000 x^2"));
}

TEST_F(PolynomialWindowTest, LeavingAnEditKeepsExactValuesAndTakesChangedOnes)
{
    // Pixel mode: the click's world position has more digits than the edits show.
    const QPoint at(PixelAt(1, 1).x() + 3, PixelAt(1, 1).y() - 7);
    ClickOnPlot(window->plotBox(), at);
    const Condition placed = condition(0);
    ASSERT_NE(placed.x, std::round(placed.x * 1000) / 1000);

    for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
        QLineEdit* edit = control<QLineEdit>(name);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
    }
    EXPECT_EQ(condition(0).x, placed.x);
    EXPECT_EQ(condition(0).y, placed.y);

    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("1,5"));
    EXPECT_EQ(condition(0).x, placed.x);
    EXPECT_EQ(condition(0).y, 1.5);
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("1,500"));

    // The slope edit serves conditions with a slope; a typed slope goes to the selected one and to
    // the next ones placed.
    chooseKind(ConditionKind::PointSlope);
    place(-3, 0);
    EXPECT_EQ(condition(1).m, 1);
    ASSERT_TRUE(control<QLineEdit>("Edit1")->isEnabled());
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("-2"));
    EXPECT_EQ(window->slopeValue(), -2);
    EXPECT_EQ(condition(1).m, -2);
    place(-5, 0);
    EXPECT_EQ(condition(2).m, -2);
    chooseKind(ConditionKind::Point);
    place(4, 0);
    EXPECT_FALSE(control<QLineEdit>("Edit1")->isEnabled());
}

TEST_F(PolynomialWindowTest, LongTermShowsWholeAndBreaksOnlyBetweenSummands)
{
    snapMode(5);
    const double ys[] = {-0.5, 0.9, -0.3, 0.2, -0.8, 0.6, 0.4};
    for (int i = 0; i < 7; ++i) {
        place(-3 + i, ys[i]);
    }
    // Seven summands, four of them with an exponent: wider than the plot.
    ASSERT_TRUE(term().contains(QStringLiteral("E-3 x^5"))) << term().toStdString();
    const QLabel& label = *control<QLabel>("Label1");
    EXPECT_EQ(test::CutText(label), "");
    // Every line but the first begins with a summand's sign: no number is broken.
    const QStringList lines = label.text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 2);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].startsWith(QLatin1Char('+')) || lines[i].startsWith(QLatin1Char('-')))
            << lines[i].toStdString();
    }
}

TEST_F(PolynomialWindowTest, KeysActOnlyOnThePlot)
{
    // Focus needs an active window.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    snapMode(2);
    place(1, 1);
    window->plotBox()->setFocus();
    ASSERT_TRUE(window->plotBox()->hasFocus());
    struct Case {
        Qt::Key key;
        double x, y;
    };
    const double step = ArrowStep(XTickStep, 2);
    ASSERT_GT(step, 0.0);
    const Case cases[] = {{Qt::Key_Right, 1 + step, 1},
                          {Qt::Key_Up, 1 + step, 1 + step},
                          {Qt::Key_Left, 1, 1 + step},
                          {Qt::Key_Down, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(window->plotBox(), c.key);
        EXPECT_NEAR(condition(0).x, c.x, 1e-12);
        EXPECT_NEAR(condition(0).y, c.y, 1e-12);
    }
    // In an edit the keys belong to the edit: the point stays and the text is typed.
    QLineEdit* edit = control<QLineEdit>("Edit2");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("34"));
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), QStringLiteral("3"));
    EXPECT_EQ(window->conditions().items().size(), 1u);
    EXPECT_NEAR(condition(0).x, 1, 1e-12);

    window->plotBox()->setFocus();
    QTest::keyClick(window->plotBox(), Qt::Key_Delete);
    EXPECT_TRUE(window->conditions().empty());
}

TEST_F(PolynomialWindowTest, DraggingWithShiftMovesTheWholeCurve)
{
    snapMode(2);
    place(0, 0);
    place(1, 1);
    place(-1, 1);
    const std::vector<double> before = window->polynomial().a; // x²
    QTest::mouseClick(control<QRadioButton>("RadioButton7"), Qt::LeftButton);
    test::DragOnPlot(window->plotBox(), PixelAt(0, 0), PixelAt(2, 1));
    // Every condition moved by (2, 1): f(x) = (x - 2)² + 1.
    EXPECT_NEAR(condition(1).x, 3, 1e-12);
    EXPECT_NEAR(condition(2).y, 2, 1e-12);
    const std::vector<double>& a = window->polynomial().a;
    ASSERT_EQ(a.size(), 3u);
    EXPECT_NEAR(a[0], 5, 1e-9);
    EXPECT_NEAR(a[1], -4, 1e-9);
    EXPECT_NEAR(a[2], before[2], 1e-9);

    // Deforming: only the dragged condition moves.
    QTest::mouseClick(control<QRadioButton>("RadioButton6"), Qt::LeftButton);
    test::DragOnPlot(window->plotBox(), PixelAt(2, 1), PixelAt(2, 0));
    EXPECT_NEAR(condition(0).y, 0, 1e-12);
    EXPECT_NEAR(condition(1).y, 2, 1e-12);

    // The right button deletes the selected condition while "Zoom" is off.
    ClickOnPlot(window->plotBox(), PixelAt(6, -6), Qt::RightButton);
    EXPECT_EQ(window->conditions().items().size(), 2u);
}

TEST_F(PolynomialWindowTest, MarksGrowWithTheDrawingScale)
{
    snapMode(2);
    place(-1, 1);
    place(1, 1);
    chooseKind(ConditionKind::Extremum);
    place(0, -1);
    ClickBox(control<BitCheckBox>("LowPointsBox"));
    ClickBox(control<BitCheckBox>("SlopeLinesBox"));
    struct Case {
        double scale;
        int conditionRadius, pointRadius;
    };
    // Conditions: 4 × round(scale); special points: round(4 × scale).
    const Case cases[] = {{1.0, 4, 4}, {2.0, 8, 8}, {1.4, 4, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        DrawScale = c.scale;
        const RecordingCanvas canvas = test::RecordPicture(*window);
        DrawScale = 1.0;
        const auto disks = canvas.callsOf(CanvasOp::Ellipse);
        ASSERT_EQ(disks.size(), 4u); // three conditions and the low point (0, -1)
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(disks[i].rect.right - disks[i].rect.left, 2 * c.conditionRadius);
        }
        EXPECT_EQ(disks[3].rect.right - disks[3].rect.left, 2 * c.pointRadius);
        EXPECT_EQ(disks[3].brush.color, 0x008000u);
        // The extremum's slope line: horizontal, one tick step to either side, in the selection's red.
        const auto lines = canvas.callsOf(CanvasOp::LineTo);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const CanvasCall& l) {
            return l.pen.color == 0x0000FF && l.points.size() == 2 &&
                   l.points[0] == Point{PixelAt(1, -1).x(), PixelAt(1, -1).y()} &&
                   l.points[1] == Point{PixelAt(-1, -1).x(), PixelAt(-1, -1).y()};
        }));
    }
}

TEST_F(PolynomialWindowTest, MetafileExportLeavesTheScreenAsItWas)
{
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("poly.wmf")), MetafileKind::Wmf});
    snapMode(2);
    place(-1, 1);
    place(1, 1);
    place(0, -1);
    const QImage before = window->plotBox()->picture()->copy();
    const QSize plot = window->plotBox()->size();
    QTest::mouseClick(control<QPushButton>("SpeedButton17"), Qt::LeftButton);
    QFile file(out.filePath(QStringLiteral("poly.wmf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const test::WmfFile wmf = test::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (plot.width() + 1) * 4);
    EXPECT_EQ(*window->plotBox()->picture(), before);

    const auto lessons = AnalysisLessons();
    const auto entry = std::find_if(lessons.begin(), lessons.end(), [](const LessonEntry& e) {
        return std::string(e.caption) == "Ganzrationale Funktionen";
    });
    ASSERT_NE(entry, lessons.end());
    EXPECT_EQ(entry->open, &OpenLessonWindow<PolynomialWindow>);
}

} // namespace
} // namespace kurvex

// Tests of the sequences window through its widgets: limit and n0, sequences without a limit,
// the term's message, the maximum of ε, the world rule, clipped joins, the example list, the
// launcher and export.
#include "lessons/SequenceWindow.h"

#include "controls/BitCheckBox.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/ValueRow.h"
#include "platform/RecordingCanvas.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ClickBox;
using test::TypeInto;

class SequenceWindowTest : public test::WindowFixture<SequenceWindow> {
protected:
    void SetUp() override
    {
        LessonWindowFixture::SetUp();
        // The launcher sets the mode around the lesson; so the tests do.
        SequenceMode = true;
        TermSequence.clear();
        SequenceLimit = 0.0;
        IniSettings.y1 = -7.0;
        IniSettings.y2 = 7.0;
        setWorld({-7, 7, -7, 7});
    }

    void enterTerm(const char* term) { TypeInto(edit("Edit1"), QString::fromUtf8(term)); }
    void findLimit() { ClickBox(control<BitCheckBox>("BitCheckBox1")); }
    // The n0 box is clicked through its caption, which holds the subscript the box cannot draw.
    void findN0() { QTest::mouseClick(control<QLabel>("Label2"), Qt::LeftButton); }
};

TEST_F(SequenceWindowTest, OpensWithItsCaptionWorldAndStartValues)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Folgen - Grenzwert"));
    EXPECT_EQ(currentWorld(), (WorldRect{-1.5, 18, -7, 7}));
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(edit("Edit3")->toolTip(), QStringLiteral("max Epsilon"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar3")->value(), 1000);
    EXPECT_FALSE(control<QWidget>("Panel4")->isVisible());
    EXPECT_TRUE(edit("Edit2")->isEnabled());
    EXPECT_EQ(control<QPushButton>("SpeedButton6")->text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(control<QToolButton>("SpeedButton13")->toolTip(), QStringLiteral("Anfangswerte setzen"));
}

TEST_F(SequenceWindowTest, OneOverNHasTheLimitZeroAndN0ElevenAtEpsilonOneTenth)
{
    open();
    enterTerm("1/n");
    findLimit();
    EXPECT_TRUE(window->limitFound());
    EXPECT_TRUE(control<QWidget>("Panel4")->isVisible());
    EXPECT_FALSE(edit("Edit2")->isEnabled());
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("0,00"));
    findN0();
    EXPECT_TRUE(control<BitCheckBox>("BitCheckBox3")->Checked());
    EXPECT_EQ(label("Label11"), QStringLiteral("2")); // ε = 1: 1/2 < 1

    TypeInto(edit("Edit4"), QStringLiteral("0,1"));
    EXPECT_EQ(window->n0(), 11);
    EXPECT_EQ(label("Label11"), QStringLiteral("11"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar3")->value(), 100);

    // The mark: a blue line up from the axis at n0, and "n" with its "o" below the axis.
    const RecordingCanvas picture = test::RecordPicture(*window);
    EXPECT_EQ(picture.texts(), (std::vector<std::string>{"1", "n", "1", "a(n)", "n", "o"}));
    bool blueLine = false;
    for (const CanvasCall& call : picture.callsOf(CanvasOp::LineTo)) {
        blueLine = blueLine || (call.pen.color == clBlue && call.points[0].x == call.points[1].x);
    }
    EXPECT_TRUE(blueLine);

    // Below the reach of the search the label says so instead of keeping the last n0.
    TypeInto(edit("Edit4"), QStringLiteral("0,00001"));
    EXPECT_EQ(window->n0(), std::nullopt);
    EXPECT_EQ(label("Label11"), QStringLiteral("?"));
    control<QScrollBar>("ScrollBar3")->setValue(100);
    EXPECT_EQ(label("Label11"), QStringLiteral("11"));
}

TEST_F(SequenceWindowTest, SequencesWithoutAnAcceptedLimitShowAQuestionMark)
{
    open();
    findLimit();
    for (const char* term : {"(-1)^n", "n", "fak(n)"}) {
        SCOPED_TRACE(term);
        enterTerm(term);
        EXPECT_FALSE(window->limitFound());
        EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("?"));
        EXPECT_FALSE(control<QWidget>("Panel4")->isVisible());
    }
    // A sequence with a limit brings the panel back.
    enterTerm("2+1/n");
    EXPECT_TRUE(window->limitFound());
    EXPECT_TRUE(control<QWidget>("Panel4")->isVisible());
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("2,00"));
}

TEST_F(SequenceWindowTest, LimitTypedWhileNotSoughtStaysInItsEdit)
{
    open();
    enterTerm("(-1)^n");
    findLimit();
    findLimit(); // off again: the edit is the user's
    EXPECT_TRUE(edit("Edit2")->isEnabled());
    TypeInto(edit("Edit2"), QStringLiteral("0,5"));
    EXPECT_EQ(SequenceLimit, 0.5);
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("0,50"));
    // The band lies around the typed g.
    const RecordingCanvas picture = test::RecordPicture(*window);
    const auto bands = picture.callsOf(CanvasOp::Rectangle);
    ASSERT_FALSE(bands.empty());
    EXPECT_EQ(bands.front().brush.color, EpsilonColor);
    EXPECT_EQ(bands.front().rect.top, WorldToPixelY(1.5));
    EXPECT_EQ(bands.front().rect.bottom, WorldToPixelY(-0.5));
}

TEST_F(SequenceWindowTest, BandOfAHugeLimitOrEpsilonStaysWithinThePlot)
{
    open();
    struct Case {
        const char* g;
        const char* eps;
        bool drawn; // the band reaches into the plot, from its top row to its bottom row
    };
    const Case cases[] = {
        {"1e40", "2e40", true},
        {"0", "1e40", true},
        {"1e40", "1", false},
        {"-1e40", "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.g) + " / " + c.eps);
        TypeInto(edit("Edit2"), QString::fromLatin1(c.g));
        TypeInto(edit("Edit4"), QString::fromLatin1(c.eps));
        const RecordingCanvas picture = test::RecordPicture(*window);
        std::vector<Rect> bands;
        for (const CanvasCall& call : picture.callsOf(CanvasOp::Rectangle)) {
            if (call.brush.color == EpsilonColor) {
                bands.push_back(call.rect);
            }
        }
        ASSERT_EQ(bands.size(), c.drawn ? 1u : 0u);
        if (c.drawn) {
            EXPECT_EQ(bands[0], (Rect{0, 0, PlotWidth, PlotHeight}));
        }
    }
}

TEST_F(SequenceWindowTest, WrongTermGivesOneMessageFromTheEditNeverFromARedraw)
{
    open();
    enterTerm("1/(n");
    ASSERT_EQ(messages.size(), 1u);
    window->refresh();
    TypeInto(edit("Edit4"), QStringLiteral("0,5"));
    findLimit();
    window->zoomOut();
    test::RecordPicture(*window);
    EXPECT_EQ(messages.size(), 1u);
    // x is no variable of a sequence.
    enterTerm("1/x");
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(SequenceWindowTest, MaximumEpsilonOfZeroOrLessIsRefused)
{
    open();
    TypeInto(edit("Edit4"), QStringLiteral("0,5"));
    for (const char* typed : {"0", "-2"}) {
        SCOPED_TRACE(typed);
        TypeInto(edit("Edit3"), QString::fromLatin1(typed));
        EXPECT_EQ(window->epsilonMax(), 1.0);
        EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("1,00"));
        EXPECT_EQ(control<QScrollBar>("ScrollBar3")->value(), 500);
    }
    TypeInto(edit("Edit3"), QStringLiteral("2"));
    EXPECT_EQ(window->epsilonMax(), 2.0);
    EXPECT_EQ(window->epsilon(), 0.5);
    EXPECT_EQ(control<QScrollBar>("ScrollBar3")->value(), 250);
    control<QScrollBar>("ScrollBar3")->setValue(1000);
    EXPECT_EQ(window->epsilon(), 2.0);
}

TEST_F(SequenceWindowTest, ZoomPanBandAndPadKeepTheLessonsWorldRule)
{
    open();
    const auto expectRule = [] { EXPECT_DOUBLE_EQ(XMin, -XMax / 12); };
    window->zoomOut();
    expectRule();
    EXPECT_EQ(XMax, 27.75);
    window->pan(1, 1);
    expectRule();
    window->zoomIn();
    expectRule();
    // A band wholly left of 0 would give XMax < 0, a mirrored window: the start window instead.
    const QSize plot = window->plotBox()->size();
    const int zeroColumn = WorldToPixelX(0.0);
    ASSERT_GT(zeroColumn, 20);
    test::DragOnPlot(window->plotBox(), QPoint(1, 10), QPoint(zeroColumn - 2, plot.height() - 10));
    EXPECT_EQ(currentWorld(), (WorldRect{-1, 15, -7, 7}));
    test::DragOnPlot(window->plotBox(), QPoint(zeroColumn, plot.height() / 4),
                     QPoint(plot.width() - 1, plot.height() / 2));
    expectRule();
    EXPECT_LT(XMin, XMax);
    QTest::mouseClick(control<QToolButton>("SpeedButton22"), Qt::LeftButton);
    EXPECT_EQ(currentWorld(), (WorldRect{-1.5, 18, -7, 7}));
}

TEST_F(SequenceWindowTest, JoinToAFarPredecessorIsCutAtThePlotsEdge)
{
    open();
    // a(1) = 1e40 lies far above the window, every later term is 1.
    enterTerm("1+1e40*(1-sign(n-1))");
    ASSERT_TRUE(messages.empty());
    ClickBox(control<BitCheckBox>("BitCheckBox2"));
    ClickBox(control<BitCheckBox>("BitCheckBox5"));
    const RecordingCanvas picture = test::RecordPicture(*window);
    const Point second{WorldToPixelX(2), WorldToPixelY(1)};
    bool joinToTheTop = false;
    for (const CanvasCall& call : picture.callsOf(CanvasOp::LineTo)) {
        for (const Point& p : call.points) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x, PlotWidth);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.y, PlotHeight);
        }
        // Towards a(1), so steep that it leaves the plot at the top straight above a(2).
        joinToTheTop = joinToTheTop || (call.points[0] == second && call.points[1] == Point{second.x, 0});
    }
    EXPECT_TRUE(joinToTheTop);
    // Points n = 2..18 lie inside; a(1) draws no point.
    EXPECT_EQ(picture.count(CanvasOp::Ellipse), 17u);
}

TEST_F(SequenceWindowTest, ExampleListFetchesAddsDeletesAndIsSavedOnClose)
{
    writeFile("Bsp8.txt", "1/n\r\n(-1)^n\r\n");
    open();
    auto* list = control<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(1);
    QTest::mouseClick(control<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("(-1)^n"));
    EXPECT_EQ(TermSequence, "(-1)^n");
    EXPECT_TRUE(edit("Edit1")->hasFocus());

    enterTerm("n/(n+1)");
    QTest::mouseClick(control<QToolButton>("SpeedButton4"), Qt::LeftButton);
    QTest::mouseClick(control<QToolButton>("SpeedButton4"), Qt::LeftButton); // the same again: refused
    EXPECT_EQ(list->count(), 3);
    list->setCurrentRow(0);
    QTest::mouseClick(control<QToolButton>("SpeedButton5"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 2);
    EXPECT_TRUE(messages.empty());

    window->reject();
    EXPECT_EQ(readFile("Bsp8.txt"), QByteArray("(-1)^n\r\nn/(n+1)\r\n"));
}

TEST_F(SequenceWindowTest, LauncherOpensTheWindowInSequenceModeAndEndsItAfterwards)
{
    SequenceMode = false;
    QString title;
    bool modeWhileOpen = false;
    EXPECT_TRUE(test::OpenFromLauncher<SequenceWindow>("Folgen -  Grenzwert", [&](SequenceWindow& w) {
        title = w.windowTitle();
        modeWhileOpen = SequenceMode;
    }));
    EXPECT_EQ(title, QStringLiteral("Folgen - Grenzwert"));
    EXPECT_TRUE(modeWhileOpen);
    EXPECT_FALSE(SequenceMode);
}

TEST_F(SequenceWindowTest, MetafileExportAtTwiceThePlotSizeLeavesTheScreenAsItWas)
{
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("folge.wmf")), MetafileKind::Wmf});
    open();
    enterTerm("1/n");
    const QImage before = window->plotBox()->picture()->copy();
    const QSize plot = window->plotBox()->size();
    QTest::mouseClick(control<QPushButton>("SpeedButton17"), Qt::LeftButton);

    QFile file(out.filePath(QStringLiteral("folge.wmf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const test::WmfFile wmf = test::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (plot.width() + 1) * 2);
    EXPECT_EQ(wmf.boxBottom, (plot.height() + 1) * 2);
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_EQ(*window->plotBox()->picture(), before);
}

} // namespace
} // namespace kurvex

// Tests of the integral-function window through its widgets: F(x) and its label, the sweeps of F
// on the defined side, poles, terms in x, the x0 reset, far limits, the area, drag, animation,
// examples, export and the launcher.
#include "lessons/IntegralFunctionWindow.h"

#include "app/LessonRegistry.h"
#include "core/CoordinateSystem.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/ValueRow.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"
#include "support/PdfPage.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::Control;
using test::LinePoints;
using test::RecordPicture;
using test::TypeInto;

// 400 columns and two panes of 400 rows.
const QSize kLayers(400, 800);

class IntegralFunctionWindowTest : public test::WindowFixture<IntegralFunctionWindow> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        setWorld({-7, 7, -7, 7});
        Decimals = 2;
        CurrentX = 0;
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        DrawCanvas = nullptr;
    }

    void open(const char* term)
    {
        TermOfT = term;
        WindowFixture::open(kLayers);
    }
    QString value() const { return control<QLabel>("Label2")->text(); }
    static Point pixel(double x, double y) { return {WorldToPixelX(x), WorldToPixelY(y)}; }
    // Columns of the F curve in the lower pane.
    std::pair<int, int> curveColumns(const RecordingCanvas& c) const
    {
        const std::vector<Point> pts = LinePoints(c, AreaColor, PlotHeight);
        if (pts.empty()) {
            return {0, -1};
        }
        const auto [lo, hi] =
            std::minmax_element(pts.begin(), pts.end(), [](Point a, Point b) { return a.x < b.x; });
        return {lo->x, hi->x};
    }
};

TEST_F(IntegralFunctionWindowTest, ConstantOneGivesFOfTwoAsTwoWithItsUnit)
{
    open("1");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Integralfunktion"));
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("0,00"));
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("2"));
    EXPECT_EQ(value(), QStringLiteral("  2,00      [FE]"));
    EXPECT_EQ(value().toStdString(), FormatNumber(2, 2.0) + " [FE]");
    // F(x) = x: the bar at x = 2 reaches height 2 in the lower pane.
    const std::vector<Point> bar = LinePoints(RecordPicture(*window), AreaColor, PlotHeight);
    EXPECT_NE(std::find(bar.begin(), bar.end(), pixel(2, 2)), bar.end());
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("-3"));
    EXPECT_EQ(value(), QStringLiteral(" -3,00      [FE]"));
}

TEST_F(IntegralFunctionWindowTest, SineIntegralMatchesOneMinusCosineAcrossThePlot)
{
    open("sin(t)");
    const IntegralCurve& curve = window->integralCurve();
    for (const IntegralSweep* s : {&curve.right, &curve.left}) {
        SCOPED_TRACE(s->step > 0 ? "right" : "left");
        ASSERT_GE(s->values.size(), 201u);
        for (std::size_t k = 0; k < s->values.size(); ++k) {
            const double x = s->start + static_cast<double>(k) * s->step;
            ASSERT_NEAR(s->values[k], 1 - std::cos(x), 1e-6) << x;
        }
    }
    const auto [left, right] = curveColumns(RecordPicture(*window));
    EXPECT_LE(left, 0);
    EXPECT_GE(right, PlotWidth);
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("7"));
    EXPECT_EQ(value().toStdString(), FormatNumber(2, 1 - std::cos(7.0)) + " [FE]");
}

TEST_F(IntegralFunctionWindowTest, RootsDrawTheSideWhereTheyAreDefined)
{
    struct Case {
        const char* term;
        bool right;
    };
    // Tall enough for F up to 2/3 · 7^1.5.
    setWorld({-7, 7, -14, 14});
    for (const Case c : {Case{"sqrt(t)", true}, Case{"sqrt(-t)", false}}) {
        SCOPED_TRACE(c.term);
        open(c.term);
        const auto [left, right] = curveColumns(RecordPicture(*window));
        const int zero = pixel(0, 0).x;
        if (c.right) {
            EXPECT_GE(left, zero - 1);
            EXPECT_GE(right, PlotWidth);
        } else {
            EXPECT_LE(left, 0);
            EXPECT_LE(right, zero + 1);
        }
        window.reset();
    }
}

TEST_F(IntegralFunctionWindowTest, PoleBetweenTheLimitsIsNotDefined)
{
    open("1/t");
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("-1"));
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("2"));
    EXPECT_EQ(value(), QStringLiteral("nicht definiert"));
    EXPECT_LT(window->integralCurve().right.last(), 0.0);
    EXPECT_GE(window->integralCurve().left.values.size(), 150u);
    // Left of the pole F is ln|x|: defined again.
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("-2"));
    EXPECT_EQ(value().toStdString(), FormatNumber(2, std::log(2.0)) + " [FE]");
    // A node at the pole says the same.
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("0"));
    EXPECT_EQ(value(), QStringLiteral("nicht definiert"));
}

TEST_F(IntegralFunctionWindowTest, TermInXIsRefusedAtOpeningAndWhenTyped)
{
    open("x^2");
    EXPECT_TRUE(IntegrandMode);
    ASSERT_EQ(messages.size(), 1u);
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("2x"));
    EXPECT_EQ(messages.size(), 2u);
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("t^2"));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(TermOfT, "t^2");
    window->reject();
    EXPECT_FALSE(IntegrandMode);
    EXPECT_FALSE(ModuleOpen);
}

TEST_F(IntegralFunctionWindowTest, ResetPutsTheLowerLimitAtZeroAndMovesItsBar)
{
    setWorld({-3, 8, -7, 7});
    open("1");
    auto* bar = control<QScrollBar>("ScrollBar2");
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("2"));
    EXPECT_EQ(window->lowerLimit(), 2.0);
    EXPECT_EQ(bar->value(), 91); // round(5 · 200 / 11)
    control<QToolButton>("SpeedButton6")->click();
    EXPECT_EQ(window->lowerLimit(), 0.0);
    EXPECT_EQ(bar->value(), 55); // round(3 · 200 / 11)
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("0,00"));
    // The bar itself puts x0 on its grid.
    bar->setValue(100);
    EXPECT_DOUBLE_EQ(window->lowerLimit(), 2.5);
}

TEST_F(IntegralFunctionWindowTest, XBelowTheAxisKeepsClearOfTheTickLabels)
{
    setWorld({-14, 14, -14, 14});
    open("1");
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("1"));
    const RecordingCanvas picture = RecordPicture(*window);
    std::vector<Rect> texts;
    std::optional<Rect> marker;
    const int axisRow = pixel(0, 0).y;
    for (const CanvasCall& c : picture.callsOf(CanvasOp::TextOut)) {
        if (c.origin.y != 0) {
            continue; // the lower pane
        }
        const Point at = c.points[0];
        const Rect box{at.x, at.y, at.x + picture.textWidth(c.text), at.y + c.font.pixelHeight};
        if (c.text == "x" && at.y > axisRow) {
            marker = box;
        } else if (at.y > axisRow) {
            texts.push_back(box);
        }
    }
    ASSERT_TRUE(marker.has_value());
    ASSERT_FALSE(texts.empty()) << "no tick label below the axis";
    for (const Rect& t : texts) {
        const bool sameRow = marker->top < t.bottom && t.top < marker->bottom;
        const int apart = std::max(t.left - marker->right, marker->left - t.right);
        EXPECT_TRUE(!sameRow || apart >= marker->width())
            << "tick label at " << t.left << " beside x at " << marker->left;
    }
}

TEST_F(IntegralFunctionWindowTest, LimitsTypedFarOutsideTheWindowDrawAtOnce)
{
    open("1");
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("1e12"));
    EXPECT_EQ(window->lowerLimit(), 1e12);
    const IntegralCurve& curve = window->integralCurve();
    EXPECT_TRUE(curve.right.values.empty());
    EXPECT_LE(curve.left.values.size(), static_cast<std::size_t>(PlotWidth) + 3);
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("-1e12"));
    EXPECT_EQ(value().toStdString(), FormatNumber(2, -2e12) + " [FE]");
    // The area is bounded by the plot too.
    for (const CanvasCall& call : RecordPicture(*window).callsOf(CanvasOp::Polygon)) {
        if (call.brush.color == AreaColor) {
            EXPECT_LE(call.points.size(), static_cast<std::size_t>(PlotWidth) + 7);
        }
    }
}

TEST_F(IntegralFunctionWindowTest, AreaLiesBetweenXAndTheLowerLimitWithTheLabelOnItsSide)
{
    open("1");
    struct Case {
        const char* x;
        double from, to;
        bool labelRight;
    };
    for (const Case c : {Case{"-2", -2, 0, false}, Case{"3", 0, 3, true}}) {
        SCOPED_TRACE(c.x);
        TypeInto(control<QLineEdit>("Edit4"), QString::fromLatin1(c.x));
        const RecordingCanvas rec = RecordPicture(*window);
        std::vector<CanvasCall> areas;
        for (const CanvasCall& call : rec.callsOf(CanvasOp::Polygon)) {
            if (call.brush.color == AreaColor && call.origin.y == 0) {
                areas.push_back(call);
            }
        }
        ASSERT_EQ(areas.size(), 1u);
        const std::vector<Point>& p = areas[0].points;
        EXPECT_EQ(p.front(), pixel(c.from, 1));
        EXPECT_EQ(p[p.size() - 3], pixel(c.to, 1));
        EXPECT_EQ(p.back(), pixel(c.from, 0));
        const int column = pixel(CurrentX, 0).x;
        bool labelled = false;
        for (const CanvasCall& call : rec.callsOf(CanvasOp::TextOut)) {
            if (call.text == "x" && call.origin.y == 0 && call.points[0].y == pixel(0, 0).y + 5) {
                labelled = true;
                EXPECT_EQ(call.points[0].x, c.labelRight ? column + 7 : column - 14);
            }
        }
        EXPECT_TRUE(labelled);
    }
}

TEST_F(IntegralFunctionWindowTest, DragMovesXAndReleaseSnapsItToTheBar)
{
    open("t");
    test::DragOnPlot(window->plotBox(), {QPoint(100, 50), QPoint(257, 600)});
    const ValueBar grid{XMin, XMax, 1, 200};
    const int position = control<QScrollBar>("ScrollBar1")->value();
    EXPECT_EQ(position, grid.position(-7 + 14 * 257 / 400.0));
    EXPECT_DOUBLE_EQ(CurrentX, grid.value(position));
    EXPECT_EQ(control<QLineEdit>("Edit4")->text().toStdString(), FormatNumberShort(2, CurrentX).substr(2));
}

TEST_F(IntegralFunctionWindowTest, AnimationMovesXOnePixelColumnAndSnapsItAtTheEnd)
{
    open("t");
    std::vector<double> frames;
    QObject::connect(control<QLineEdit>("Edit4"), &QLineEdit::textChanged,
                     [&] { frames.push_back(CurrentX); });
    test::Animate(control<ToggleSwitch>("Switch1"), [&](int tick) { return tick >= 3; });
    ASSERT_GE(frames.size(), 3u);
    EXPECT_NEAR(frames[0], 0.035, 1e-9);
    EXPECT_NEAR(frames[1], 0.07, 1e-9);
    const ValueBar grid{XMin, XMax, 1, 200};
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), grid.position(CurrentX));
    EXPECT_DOUBLE_EQ(CurrentX, grid.value(grid.position(CurrentX)));
    EXPECT_EQ(value().toStdString(), FormatNumber(2, CurrentX * CurrentX / 2) + " [FE]");
}

TEST_F(IntegralFunctionWindowTest, AxesGridAndFShowThroughTheAreaInBothMetafilesAndInPrint)
{
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    exportTo.pdf = out.filePath(QStringLiteral("f.pdf"));
    GridMode = 2;
    open("sin(t)");
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("-1"));
    TypeInto(control<QLineEdit>("Edit4"), QStringLiteral("2,5"));
    ASSERT_EQ(AreaFillStyle, BrushStyle::Solid);
    // A reader paints the area first, then the axes, the grid and f over it.
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        exportTo.choice = {out.filePath(wmf ? QStringLiteral("f.wmf") : QStringLiteral("f.emf")), kind};
        control<QPushButton>("SpeedButton17")->click();
        std::optional<std::size_t> lastArea;
        std::optional<std::size_t> firstLine;
        for (const test::Drawn& d : test::DrawnInFile(exportTo.choice.path.toStdString())) {
            if (d.kind == test::Drawn::Kind::Shape && d.brushStyle == 0 && d.brushColor == AreaColor) {
                lastArea = d.order;
            } else if (d.kind == test::Drawn::Kind::Line &&
                       (d.penColor == clBlack || d.penColor == GridColor)) {
                firstLine = firstLine.value_or(d.order);
            }
        }
        ASSERT_TRUE(lastArea && firstLine);
        EXPECT_LT(*lastArea, *firstLine);
    }

    // On paper, a column through the middle of the area meets f at its top and the axis at its foot.
    control<QPushButton>("SpeedButton15")->click();
    const test::PdfPage page = test::RenderPdfPage(exportTo.pdf, 100);
    ASSERT_EQ(page.error.toStdString(), "");
    const QImage& img = page.image;
    const auto yellow = [&img](int x, int y) {
        const QColor c = img.pixelColor(x, y);
        return c.red() > 200 && c.green() > 200 && c.blue() < 80;
    };
    // The area's inside: yellow all round (F below is a yellow line, not an area).
    QRect area;
    for (int y = 1; y + 1 < img.height(); ++y) {
        for (int x = 1; x + 1 < img.width(); ++x) {
            if (yellow(x, y) && yellow(x - 1, y) && yellow(x + 1, y) && yellow(x, y - 1) &&
                yellow(x, y + 1)) {
                area |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_TRUE(area.isValid());
    // x from -1 to 2,5: a column a third from the area's right, where f is near its top. Down it,
    // f (just above the inside) and the axis each cross as a dark run.
    const int column = area.right() - area.width() / 3;
    int darkRuns = 0;
    bool inRun = false;
    for (int y = area.top() - 3; y <= area.bottom(); ++y) {
        const QColor c = img.pixelColor(column, y);
        const bool dark = c.red() < 100 && c.green() < 100 && c.blue() < 100;
        darkRuns += dark && !inRun ? 1 : 0;
        inRun = dark;
    }
    EXPECT_EQ(darkRuns, 2) << "column " << column << " of " << area.left() << ".." << area.right();
}

TEST_F(IntegralFunctionWindowTest, LauncherEntryOpensTheWindowAndLeavesIntegrandModeOff)
{
    QString title;
    bool modeWhileOpen = false;
    QPointer<IntegralFunctionWindow> shown;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<IntegralFunctionWindow*>(QApplication::activeModalWidget());
        if (shown) {
            title = shown->windowTitle();
            modeWhileOpen = IntegrandMode;
            shown->reject();
        }
    });
    OpenAnalysisLesson(13, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(title, QStringLiteral("Integralfunktion"));
    EXPECT_TRUE(modeWhileOpen);
    EXPECT_FALSE(IntegrandMode);
    EXPECT_TRUE(shown.isNull());
}

} // namespace
} // namespace kurvex

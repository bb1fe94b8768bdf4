// Tests of the upper-and-lower-sums window through its widgets: the sums of x^2, swapped ends,
// the stored term, the bounded n, undefined strips, the animation's turns, the display kinds,
// strips clipped to the plot, the launcher and export.
#include "lessons/StripSumsWindow.h"

#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/ValueRow.h"
#include "platform/QtCanvas.h"
#include "platform/RecordingCanvas.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileConverters.h"
#include "support/MetafileReader.h"
#include "support/PdfPage.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::Control;
using test::TypeInto;

class StripSumsWindowTest : public test::WindowFixture<StripSumsWindow> {
protected:
    // A click on the radio button's circle.
    void choose(const char* radio)
    {
        auto* button = control<QRadioButton>(radio);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    std::vector<QString> results() const
    {
        return {label("Label1"), label("Label3"), label("Label6"), label("Label8")};
    }

    // Runs the animation of n and collects n at every frame; stop(values) says when to turn it off.
    std::vector<double> animate(const std::function<bool(const std::vector<double>&)>& stop)
    {
        std::vector<double> values;
        ValueRow& row = window->stripRow();
        QObject::connect(row.valueEdit(), &QLineEdit::textChanged, window.get(), [&] {
            values.push_back(window->stripCount());
            if (stop(values)) {
                row.toggle()->setChecked(false);
            }
        });
        row.toggle()->setChecked(true);
        emit row.toggle()->clicked();
        QObject::disconnect(row.valueEdit(), &QLineEdit::textChanged, window.get(), nullptr);
        return values;
    }

    // The window loads the settings, which replace all of these.
};

TEST_F(StripSumsWindowTest, SumsOfXSquaredOnMinusTwoToTwoWithFourStrips)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Unter- und Obersumme"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("-2,00"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("2,00"));
    TypeInto(edit("Edit1"), QStringLiteral("x^2"));
    TypeInto(edit("Edit13"), QStringLiteral("4"));
    const std::vector<QString> expected = {QStringLiteral("n = 4"), QStringLiteral("O = 10,0000"),
                                           QStringLiteral("U =  2,0000"),
                                           QStringLiteral("Fehlerintervall D = O - U =  8,0000")};
    EXPECT_EQ(results(), expected);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 4);

    // The ends typed the other way round give the same sums.
    TypeInto(edit("Edit2"), QStringLiteral("2"));
    TypeInto(edit("Edit3"), QStringLiteral("-2"));
    EXPECT_EQ(results(), expected);
}

TEST_F(StripSumsWindowTest, TermEditStartsWithTheStoredTermAndItsSums)
{
    writeFile("Kurvex.ini", "[Funktionsterme]\r\nf(x,a,b,c,d)=x^2\r\n");
    // The term of some other lesson is what the evaluator held last; it must not be drawn here.
    CompileTerm(ParsedTerm, "x^5", true);
    open();
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("x^2"));
    TypeInto(edit("Edit13"), QStringLiteral("4"));
    EXPECT_EQ(label("Label3"), QStringLiteral("O = 10,0000"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(StripSumsWindowTest, TypedNIsBoundedBeforeItDrivesTheStrips)
{
    open();
    TypeInto(edit("Edit1"), QStringLiteral("x^2"));
    const struct {
        const char* typed;
        double n;
        const char* label;
    } cases[] = {
        {"1e9", 10000, "n = 10000"},
        {"-3", 0, "n = 1"},
        {"2,5", 2.5, "n = 2"},
        {"200", 200, "n = 200"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        TypeInto(edit("Edit13"), QString::fromLatin1(c.typed));
        EXPECT_EQ(window->stripCount(), c.n);
        EXPECT_EQ(label("Label1"), QString::fromLatin1(c.label));
    }
    // A bar change sets n to its position, a typed value kept its digits meanwhile.
    control<QScrollBar>("ScrollBar4")->setValue(7);
    EXPECT_EQ(window->stripCount(), 7.0);
    EXPECT_EQ(label("Label1"), QStringLiteral("n = 7"));
}

TEST_F(StripSumsWindowTest, UndefinedSamplesGiveNoFiniteSums)
{
    open();
    TypeInto(edit("Edit1"), QStringLiteral("1/x"));
    TypeInto(edit("Edit2"), QStringLiteral("0"));
    TypeInto(edit("Edit13"), QStringLiteral("4"));
    EXPECT_EQ(label("Label3"), QStringLiteral("O = nicht definiert"));
    EXPECT_EQ(label("Label6"), QStringLiteral("U = nicht definiert"));
    EXPECT_EQ(label("Label8"), QStringLiteral("Fehlerintervall D = O - U = nicht definiert"));
    // The strip at the pole is not drawn; the three others are.
    const RecordingCanvas picture = test::RecordPicture(*window);
    EXPECT_EQ(picture.count(CanvasOp::Rectangle), 3u);
}

TEST_F(StripSumsWindowTest, AnimationTurnsAt128AndBelowOneAndTheBarFollowsAfterwards)
{
    open();
    TypeInto(edit("Edit1"), QStringLiteral("x^2"));
    TypeInto(edit("Edit13"), QStringLiteral("126"));
    EXPECT_EQ(animate([](const std::vector<double>& v) { return v.size() == 4; }),
              (std::vector<double>{127, 128, 127, 126}));
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 126);

    // Downwards through 0, which draws one strip, and up again.
    TypeInto(edit("Edit13"), QStringLiteral("3"));
    auto* direction = control<QToolButton>("SpeedButton29");
    const std::vector<double> down = animate([&](const std::vector<double>& v) {
        if (v.size() == 1) {
            QTest::mouseClick(direction, Qt::LeftButton);
        }
        if (v.back() == 0) {
            EXPECT_EQ(label("Label1"), QStringLiteral("n = 1"));
        }
        return v.size() == 6;
    });
    EXPECT_EQ(down, (std::vector<double>{4, 3, 2, 1, 0, 1}));
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 1);

    // Typed above the range, n comes back into it instead of swapping between two values.
    TypeInto(edit("Edit13"), QStringLiteral("200"));
    EXPECT_EQ(animate([](const std::vector<double>& v) { return v.size() == 4; }),
              (std::vector<double>{201, 200, 199, 198}));
}

TEST_F(StripSumsWindowTest, DisplayKindsDrawTheirStripsInTheirColours)
{
    open();
    TypeInto(edit("Edit1"), QStringLiteral("x^2"));
    TypeInto(edit("Edit13"), QStringLiteral("4"));
    struct Case {
        const char* radio;
        TColor fill;
        BrushStyle style;
        std::size_t rectangles;
        std::size_t greyLines;
    };
    const Case cases[] = {
        {"RadioButton1", clGreen, BrushStyle::FDiagonal, 4, 0},
        {"RadioButton2", clBlue, BrushStyle::BDiagonal, 4, 0},
        // Both: the upper strip and the band between the sums, for every strip.
        {"RadioButton3", clGreen, BrushStyle::FDiagonal, 8, 0},
        // The band alone, its borders marked by light grey lines from the axis, in the hatch of
        // the style box on its own row.
        {"RadioButton4", clRed, BrushStyle::DiagCross, 4, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        choose(c.radio);
        const RecordingCanvas picture = test::RecordPicture(*window);
        const auto rectangles = picture.callsOf(CanvasOp::Rectangle);
        ASSERT_EQ(rectangles.size(), c.rectangles);
        EXPECT_EQ(rectangles.front().brush, (Brush{c.fill, c.style}));
        EXPECT_EQ(rectangles.front().pen.width, 1);
        std::size_t grey = 0;
        for (const CanvasCall& call : picture.callsOf(CanvasOp::LineTo)) {
            grey += call.pen.color == 0xCCCCCC ? 1 : 0;
        }
        EXPECT_EQ(grey, c.greyLines);
    }
    // The band of kind 3 takes the third style box's hatch in the upper sum's colour.
    choose("RadioButton3");
    const auto rectangles = test::RecordPicture(*window).callsOf(CanvasOp::Rectangle);
    EXPECT_EQ(rectangles[1].brush, (Brush{clGreen, BrushStyle::DiagCross}));
}

TEST_F(StripSumsWindowTest, StripsBeyondThePlotAreClippedAndStillCounted)
{
    open();
    TypeInto(edit("Edit1"), QStringLiteral("x^2"));
    TypeInto(edit("Edit13"), QStringLiteral("4"));
    setWorld({-1, 1, -1, 2});
    window->refresh();
    const RecordingCanvas picture = test::RecordPicture(*window);
    const auto rectangles = picture.callsOf(CanvasOp::Rectangle);
    ASSERT_EQ(rectangles.size(), 4u);
    for (const CanvasCall& r : rectangles) {
        EXPECT_GE(r.rect.left, 0);
        EXPECT_LE(r.rect.right, PlotWidth);
        EXPECT_GE(r.rect.top, 0);
        EXPECT_LE(r.rect.bottom, PlotHeight);
    }
    EXPECT_EQ(label("Label3"), QStringLiteral("O = 10,0000"));
}

// How a hatch of the colour leans: how many of its pixels continue step pixels down to the right,
// minus how many continue up to the right (a forward diagonal leans down, a backward one up).
int hatchLean(const QImage& img, const std::function<bool(QColor)>& isHatch, int step)
{
    int lean = 0;
    for (int y = step; y < img.height() - step; ++y) {
        for (int x = 0; x < img.width() - step; ++x) {
            if (isHatch(img.pixelColor(x, y))) {
                lean += (isHatch(img.pixelColor(x + step, y + step)) ? 1 : 0) -
                        (isHatch(img.pixelColor(x + step, y - step)) ? 1 : 0);
            }
        }
    }
    return lean;
}

// The usual distance between hatch lines of the colour along a row through the lowest strips.
int hatchPitch(const QImage& img, const std::function<bool(QColor)>& isHatch)
{
    QRect strips;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            strips |= isHatch(img.pixelColor(x, y)) ? QRect(x, y, 1, 1) : QRect();
        }
    }
    const int row = strips.bottom() - strips.height() / 10;
    std::vector<int> gaps;
    for (int x = strips.left() + 1, last = -1; x <= strips.right(); ++x) {
        if (isHatch(img.pixelColor(x, row)) && !isHatch(img.pixelColor(x - 1, row))) {
            if (last >= 0) {
                gaps.push_back(x - last);
            }
            last = x;
        }
    }
    std::sort(gaps.begin(), gaps.end());
    return gaps.size() < 8 ? 0 : gaps[gaps.size() / 2];
}

// The sums of x^2/2 + 1 on -1..3 with six strips.
void showSixStrips(StripSumsWindow& w)
{
    TypeInto(Control<QLineEdit>(w, "Edit1"), QStringLiteral("x^2/2+1"));
    TypeInto(Control<QLineEdit>(w, "Edit2"), QStringLiteral("-1"));
    TypeInto(Control<QLineEdit>(w, "Edit3"), QStringLiteral("3"));
    TypeInto(Control<QLineEdit>(w, "Edit13"), QStringLiteral("6"));
}

TEST_F(StripSumsWindowTest, EachSumHasOneHatchDirectionOnScreenInTheSampleAndOnPaper)
{
    struct Case {
        const char* radio;
        const char* styleBox;
        bool isGreen; // the upper sum is green, the lower blue
        int lean;     // +1 down from left to right, -1 up
    };
    const Case cases[] = {{"RadioButton1", "FillStyleComboBox1", true, 1},
                          {"RadioButton2", "FillStyleComboBox2", false, -1}};
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    exportTo.pdf = out.filePath(QStringLiteral("summen.pdf"));
    ASSERT_EQ(PrintSizePercent, 100);
    open(QSize(500, 500));
    showSixStrips(*window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        choose(c.radio);
        const TColor fill = c.isGreen ? clGreen : clBlue;
        const auto exact = [fill](QColor q) { return q == toQColor(fill); };
        EXPECT_EQ(std::clamp(hatchLean(*window->plotBox()->picture(), exact, 1), -1, 1), c.lean) << "screen";
        const QImage sample = control<QWidget>(c.styleBox)->grab().toImage();
        EXPECT_EQ(std::clamp(hatchLean(sample, exact, 1), -1, 1), c.lean) << "fill-style sample";

        control<QPushButton>("SpeedButton15")->click();
        const test::PdfPage page = test::RenderPdfPage(exportTo.pdf, 200);
        ASSERT_EQ(page.error.toStdString(), "");
        const auto tinted = [green = c.isGreen](QColor q) {
            const int own = green ? q.green() : q.blue();
            return own > q.red() + 40 && own > (green ? q.blue() : q.green()) + 40;
        };
        EXPECT_EQ(std::clamp(hatchLean(page.image, tinted, 4), -1, 1), c.lean) << "paper";
        // The screen's eight pixels, each 0,20532 mm on paper at 100 %: 1,64 mm at 200 dpi.
        EXPECT_NEAR(hatchPitch(page.image, tinted), 8 * 0.20532 / 25.4 * 200, 2.0) << "pitch on paper";
    }
}

// What a reader's SVG does in one colour: the lines it strokes (libwmf writes an element per line,
// emf2svg a path of moves and lines per record) and the elements it fills.
struct SvgStrokes {
    qsizetype lines = 0;
    qsizetype fills = 0;
};

SvgStrokes StrokesIn(const QString& svg, MetafileKind kind, const QString& wmfName, const QString& emfHex)
{
    SvgStrokes out;
    const bool wmf = kind == MetafileKind::Wmf;
    const QRegularExpression element(QStringLiteral("<(polyline|line|path|rect|polygon)\\b[^<>]*>"));
    for (const auto& m : element.globalMatch(svg)) {
        const QString e = m.captured();
        const bool stroked = wmf ? e.contains("stroke:" + wmfName) : e.contains("stroke=\"" + emfHex + "\"");
        const bool filled = wmf ? e.contains("fill:" + wmfName) : e.contains("fill=\"" + emfHex + "\"");
        out.fills += filled ? 1 : 0;
        if (!stroked || filled || m.captured(1) == QStringLiteral("rect")) {
            continue;
        }
        out.lines += wmf ? 1 : e.count(QStringLiteral("M "));
    }
    return out;
}

// Whether a line passes through the box.
bool crosses(const test::Drawn& line, const QRect& box)
{
    for (std::size_t i = 1; i < line.points.size(); ++i) {
        const QPointF a(line.points[i - 1].first, line.points[i - 1].second);
        const QPointF b(line.points[i].first, line.points[i].second);
        const int steps = static_cast<int>(std::ceil(QLineF(a, b).length()));
        for (int k = 0; k <= steps; ++k) {
            if (box.contains((a + (b - a) * k / std::max(steps, 1)).toPoint())) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(StripSumsWindowTest, ExportedStripsAreHatchLinesUnderTheLinesForEveryReader)
{
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    open(QSize(500, 500));
    showSixStrips(*window);
    choose("RadioButton3"); // both sums: falling diagonals under the curve, crossed ones between the sums
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        exportTo.choice = {out.filePath(wmf ? QStringLiteral("summen.wmf") : QStringLiteral("summen.emf")),
                           kind};
        control<QPushButton>("SpeedButton17")->click();
        const std::vector<test::Drawn> drawn = test::DrawnInFile(exportTo.choice.path.toStdString());
        std::vector<const test::Drawn*> hatch;
        QRect strips;
        std::size_t lastHatch = 0;
        for (const test::Drawn& d : drawn) {
            ASSERT_NE(d.kind == test::Drawn::Kind::Shape ? d.brushStyle : 0, 2) << "a hatch brush";
            if (d.kind == test::Drawn::Kind::Shape && d.brushStyle == 1) {
                strips |= QRect(QPoint(d.points[0].first, d.points[0].second),
                                QPoint(d.points[1].first, d.points[1].second));
            } else if (d.kind == test::Drawn::Kind::Line && d.penColor == clGreen) {
                hatch.push_back(&d);
                lastHatch = std::max(lastHatch, d.order);
            }
        }
        ASSERT_GT(hatch.size(), 50u);
        // Axes, grid and curve lie over the hatch where they cross the strips.
        for (const test::Drawn& d : drawn) {
            if (d.kind != test::Drawn::Kind::Line || d.penColor == clGreen) {
                continue;
            }
            if (crosses(d, strips.adjusted(1, 1, -1, -1))) {
                EXPECT_GT(d.order, lastHatch) << d.points.front().first << "," << d.points.front().second;
            }
        }

        // Each reader draws the hatch as lines; none fills anything in the strips' colour.
        const test::SvgRendering r = test::RenderMetafileAsSvg(exportTo.choice.path, kind);
        ASSERT_EQ(r.error.toStdString(), "");
        const SvgStrokes strokes = StrokesIn(r.svg, kind, QStringLiteral("green"), QStringLiteral("#008000"));
        EXPECT_EQ(strokes.fills, 0);
        EXPECT_EQ(strokes.lines, static_cast<qsizetype>(hatch.size()));
    }
}

TEST_F(StripSumsWindowTest, LauncherOpensTheWindow)
{
    QString title;
    EXPECT_TRUE(test::OpenFromLauncher<StripSumsWindow>(
        "Unter- und Obersumme", [&](StripSumsWindow& w) { title = w.windowTitle(); }));
    EXPECT_EQ(title, QStringLiteral("Unter- und Obersumme"));
}

TEST_F(StripSumsWindowTest, ReopenedFromTheLauncherWithTheLastTermInTheEditAndDrawn)
{
    // The settings file holds another term; the launcher and the window reload it at each opening.
    writeFile("Kurvex.ini", "[Funktionsterme]\r\nf(x,a,b,c,d)=0\r\n");
    std::vector<QString> closedWith;
    ASSERT_TRUE(test::OpenFromLauncher<StripSumsWindow>("Unter- und Obersumme", [&](StripSumsWindow& w) {
        TypeInto(test::child<QLineEdit>(&w, "Edit1"), QStringLiteral("sin(x)+1"));
        closedWith = {test::child<QLabel>(&w, "Label3")->text(), test::child<QLabel>(&w, "Label6")->text()};
    }));
    // sin is odd: on [-2, 2] the sums lie around the integral 4, O above and U below.
    ASSERT_EQ(closedWith.size(), 2u);
    EXPECT_NE(closedWith[0], QStringLiteral("O =  0,0000"));

    std::string term;
    std::vector<QString> reopenedWith;
    ASSERT_TRUE(test::OpenFromLauncher<StripSumsWindow>("Unter- und Obersumme", [&](StripSumsWindow& w) {
        term = test::child<QLineEdit>(&w, "Edit1")->text().toStdString();
        reopenedWith = {test::child<QLabel>(&w, "Label3")->text(), test::child<QLabel>(&w, "Label6")->text()};
        EXPECT_GT(w.sums().upper.value_or(0), 4.0);
        EXPECT_LT(w.sums().lower.value_or(9), 4.0);
    }));
    EXPECT_EQ(term, "sin(x)+1");
    EXPECT_TRUE(reopenedWith == closedWith)
        << reopenedWith[0].toStdString() << " " << reopenedWith[1].toStdString();
    EXPECT_TRUE(messages.empty());
}

TEST_F(StripSumsWindowTest, HatchedStripsReachAnEnhancedMetafile)
{
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("summen.emf")), MetafileKind::Emf});
    const SaveChoice& choice = exportTo.choice;
    open();
    TypeInto(edit("Edit1"), QStringLiteral("x^2"));
    TypeInto(edit("Edit13"), QStringLiteral("4"));
    const QImage before = window->plotBox()->picture()->copy();
    QTest::mouseClick(control<QPushButton>("SpeedButton17"), Qt::LeftButton);
    const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, MetafileKind::Emf);
    ASSERT_EQ(r.error.toStdString(), "");
    EXPECT_FALSE(r.svg.isEmpty());
    EXPECT_FALSE(Printing);
    EXPECT_EQ(*window->plotBox()->picture(), before);
    EXPECT_EQ(label("Label3"), QStringLiteral("O = 10,0000"));
}

} // namespace
} // namespace kurvex

// Tests of the fitting window through its widgets: opening, points by mouse and keys, the limit,
// the result label and start-value button at every check, and the picture drawn from the fit.
#include "tests/fitting/FittingWindowFixture.h"

#include "app/LessonRegistry.h"
#include "controls/BitCheckBox.h"
#include "core/FitCheck.h"
#include "core/NumberText.h"
#include "support/WholeTexts.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace kurvex::test {
namespace {

// The curve's pixel row at column px, read from the recorded line segments in the colour.
std::optional<double> curveRowAt(const RecordingCanvas& c, TColor colour, int px)
{
    for (const CanvasCall& call : c.callsOf(CanvasOp::LineTo)) {
        if (call.pen.color != colour || call.points.size() != 2) {
            continue;
        }
        const Point a = call.points[0];
        const Point b = call.points[1];
        if (a.x <= px && px <= b.x && a.x < b.x) {
            return a.y + (b.y - a.y) * double(px - a.x) / double(b.x - a.x);
        }
    }
    return std::nullopt;
}

QString labelText(const FittingWindow& w)
{
    return w.findChild<QLabel*>(QStringLiteral("Label1"))->text();
}

bool labelIsRed(const FittingWindow& w)
{
    return w.findChild<QLabel*>(QStringLiteral("Label1"))->styleSheet().contains(QStringLiteral("#ff0000"));
}

TEST_F(FittingWindowTest, LauncherEntryOpensTheWindowWithTheLineChosenAndNoHelpButton)
{
    const auto lessons = AnalysisLessons();
    const auto entry = std::find_if(lessons.begin(), lessons.end(), [](const LessonEntry& e) {
        return std::string_view(e.caption) == "Funktionsanpassung";
    });
    ASSERT_NE(entry, lessons.end());
    EXPECT_NE(entry->open, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Dynamische Funktionsanpassung"));
    EXPECT_TRUE(control<QToolButton>("SpeedButtonlinF")->isChecked());
    EXPECT_EQ(window->selectedModel(), kRegLine);
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("SpeedButton28")), nullptr);
    EXPECT_EQ(window->exportVariant().metafileScale, 4.0);
    EXPECT_EQ(window->exportVariant().fontFactor, 1.2);
    EXPECT_EQ(labelText(*window).toStdString(), ""); // no point placed, nothing to ask for yet
    EXPECT_FALSE(control<QToolButton>("SpeedButton26")->isEnabled());
    EXPECT_EQ(control<QSpinBox>("SpinEdit1")->value(), 3);
}

TEST_F(FittingWindowTest, ClickAddsSnappedPointsSelectsThemAndRightClickDeletesTheSelected)
{
    control<QSlider>("TrackBar1")->setValue(3);
    EXPECT_EQ(control<QLabel>("Label5")->text(), QStringLiteral("1/2"));
    clickAt(0.3, 1.2);
    ASSERT_EQ(points().size(), 1u);
    EXPECT_DOUBLE_EQ(points()[0].x, 0.5);
    EXPECT_DOUBLE_EQ(points()[0].y, 1.0);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("0,500"));
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("1,000"));
    EXPECT_EQ(points()[0].style, 1);

    clickAt(2, 2);
    EXPECT_EQ(editor().selected(), 1);
    clickAt(0.55, 1.05); // on the first point: selects it, adds nothing
    ASSERT_EQ(points().size(), 2u);
    EXPECT_EQ(editor().selected(), 0);

    click(pixel(-5, -5), Qt::RightButton); // deletes the selected point, wherever the click is
    ASSERT_EQ(points().size(), 1u);
    EXPECT_DOUBLE_EQ(points()[0].x, 2.0);
    EXPECT_EQ(editor().selected(), 0) << "from the first point the new first stays selected";

    click(pixel(4, 4), Qt::MiddleButton);
    EXPECT_EQ(points().size(), 2u) << "the middle button places points too";
}

TEST_F(FittingWindowTest, DraggedPointFollowsThePointerAtOnceAndANewPointIsNotDragged)
{
    clickAt(1, 1);
    const QPoint grab = pixel(1, 1);
    const QPoint to = pixel(3, -2);
    mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    ASSERT_EQ(points().size(), 1u);
    EXPECT_EQ(pixel(points()[0].x, points()[0].y), to) << "not one event behind the pointer";
    EXPECT_NEAR(points()[0].x, 3, 0.05);
    mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(),
              QString::fromStdString(FormatNumberShort(ResultDigits, points()[0].x)).trimmed());

    // A press on an empty spot makes a point there; moving on does not carry it along.
    mouse(QEvent::MouseButtonPress, pixel(-3, 3), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, pixel(-1, 1), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, pixel(-1, 1), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(points().size(), 2u);
    EXPECT_EQ(pixel(points()[1].x, points()[1].y), pixel(-3, 3));
}

TEST_F(FittingWindowTest, WithZoomALeftDragZoomsAndPlacesNoPoint)
{
    control<BitCheckBox>("BitCheckBox5")->setChecked(true);
    mouse(QEvent::MouseButtonPress, pixel(-4, 4), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, pixel(2, -2), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, pixel(2, -2), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(points().empty());
    EXPECT_NEAR(XMin, -4, 0.1);
    EXPECT_NEAR(XMax, 2, 0.1);
    click(pixel(0, 0), Qt::MiddleButton);
    EXPECT_TRUE(points().empty()) << "the middle button does nothing while zooming";
}

TEST_F(FittingWindowTest, ArrowsAndDelMovePointsOnlyWhileThePlotHasTheFocus)
{
    control<QSlider>("TrackBar1")->setValue(2);
    clickAt(1, 1);
    window->plotBox()->setFocus();
    ASSERT_TRUE(window->plotBox()->hasFocus());
    QTest::keyClick(window->plotBox(), Qt::Key_Right);
    QTest::keyClick(window->plotBox(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(points()[0].x, 1 + XTickStep);
    EXPECT_DOUBLE_EQ(points()[0].y, 1 + YTickStep);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("2,000"));

    QLineEdit* x = control<QLineEdit>("Edit2");
    x->setFocus();
    x->setCursorPosition(0);
    QTest::keyClick(x, Qt::Key_Right);
    QTest::keyClick(x, Qt::Key_Delete);
    EXPECT_EQ(x->cursorPosition(), 1) << "the edit keeps its keys";
    EXPECT_EQ(points().size(), 1u);
    EXPECT_DOUBLE_EQ(points()[0].x, 2.0);

    window->plotBox()->setFocus();
    QTest::keyClick(window->plotBox(), Qt::Key_Delete);
    EXPECT_TRUE(points().empty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FittingWindowTest, TypedCoordinatesMoveTheSelectedPoint)
{
    clickAt(1, 1);
    typeInto(control<QLineEdit>("Edit2"), QStringLiteral("2*pi"));
    typeInto(control<QLineEdit>("Edit3"), QStringLiteral("-1,5"));
    EXPECT_DOUBLE_EQ(points()[0].x, 6.283185307179586);
    EXPECT_DOUBLE_EQ(points()[0].y, -1.5);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("6,283"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(FittingWindowTest, OneHundredAndOnePointsAtMost)
{
    for (int i = 0; i < 101; ++i) {
        ASSERT_TRUE(editor().addPoint(-5 + 0.1 * i, 0.01 * i)) << i;
    }
    EXPECT_FALSE(editor().addPoint(6, 6));
    clickAt(6, 6);
    EXPECT_EQ(points().size(), 101u);
    EXPECT_TRUE(window->lastFit().shown);
}

TEST_F(FittingWindowTest, LabelAndStartValueButtonFollowEveryCheck)
{
    QToolButton* sine = control<QToolButton>("SpeedButtonSinFit");
    QToolButton* start = control<QToolButton>("SpeedButton26");
    sine->click();
    for (int i = 0; i < 4; ++i) {
        editor().addPoint(i, std::sin(i));
    }
    EXPECT_EQ(labelText(*window), QStringLiteral("Zahl der Wertepaare erhöhen!"));
    EXPECT_FALSE(start->isEnabled());
    editor().addPoint(4, std::sin(4));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(labelIsRed(*window));
    EXPECT_TRUE(labelText(*window).startsWith(QStringLiteral("f(x) = ")));
    EXPECT_TRUE(labelText(*window).contains(QStringLiteral("sin(")));
    while (points().size() > 1) {
        editor().deleteSelected();
    }
    EXPECT_FALSE(start->isEnabled()) << "updated also when fewer than two points are left";
    EXPECT_EQ(labelText(*window), QStringLiteral("Zahl der Wertepaare erhöhen!"));
    EXPECT_TRUE(labelIsRed(*window));
    EXPECT_EQ(FitTermText, "");

    control<QToolButton>("SpeedButtonPotfkt")->click();
    editor().addPoint(0, 1);
    editor().addPoint(1, 2);
    editor().addPoint(2, 4);
    EXPECT_EQ(labelText(*window), QStringLiteral("x-Werte: x > 0"));
    EXPECT_TRUE(labelIsRed(*window));
    EXPECT_EQ(FitTermText, "");
}

TEST_F(FittingWindowTest, ModelButtonsAndDegreesRefitAndRestartTheSineFromItsAutomaticValues)
{
    for (int i = 0; i < 4; ++i) {
        editor().addPoint(i, i * i * i - 2 * i);
    }
    control<QToolButton>("SpeedButtonganzR")->click();
    EXPECT_TRUE(window->lastFit().shown);
    EXPECT_EQ(window->lastFit().params.size(), 4u);
    QSpinBox* degree = control<QSpinBox>("SpinEdit1");
    degree->setFocus();
    QTest::keyClicks(degree, QStringLiteral("5"));
    QTest::keyClick(degree, Qt::Key_Up);
    EXPECT_EQ(degree->value(), 3) << "typed keys are dropped";
    degree->stepUp();
    EXPECT_EQ(PolyDegree, 4);
    EXPECT_EQ(labelText(*window), QStringLiteral("Zahl der Wertepaare erhöhen! z>=Grad p + 1"));
    control<QToolButton>("SpeedButtonQuadFkt")->click();
    EXPECT_EQ(window->lastFit().params.size(), 3u);
    EXPECT_EQ(RegModel, kRegQuadratic);

    NewModel = false;
    control<QToolButton>("SpeedButtonSinFit")->click();
    EXPECT_TRUE(NewModel);
}

TEST_F(FittingWindowTest, LongFittedTermsShowWholeWithTheirCorrelation)
{
    // Free fall: distances in cm over times in s, with the scatter of a measurement.
    const double scatter[] = {0.4, -0.7, 0.2, 0.9, -0.5, -0.3, 0.8, -0.9, 0.1, 0.6, -0.2};
    std::vector<DataPoint> fall;
    for (int i = 0; i < 11; ++i) {
        const double t = 0.05 * i;
        fall.push_back({t, 490.5 * t * t + scatter[i]});
    }
    editor().setPoints(fall, std::nullopt);
    const struct {
        const char* button;
        int degree; // polynomial; 0: the rational model 2/2
    } fits[] = {
        {"SpeedButtonganzR", 4}, {"SpeedButtonganzR", 5}, {"SpeedButtonganzR", 6}, {"SpeedButtongebrR", 0}};
    for (const auto& f : fits) {
        SCOPED_TRACE(testing::Message() << f.button << " " << f.degree);
        control<QToolButton>(f.button)->click();
        if (f.degree > 0) {
            control<QSpinBox>("SpinEdit1")->setValue(f.degree);
        } else {
            control<QSpinBox>("SpinEdit4")->setValue(2);
            control<QSpinBox>("SpinEdit3")->setValue(2);
        }
        ASSERT_TRUE(window->lastFit().shown) << labelText(*window).toStdString();
        const auto& label = *control<QLabel>("Label1");
        EXPECT_TRUE(label.text().contains(QStringLiteral("Korrelationskoeffizient: r = ")));
        if (f.degree > 0) {
            EXPECT_TRUE(label.text().contains(QStringLiteral("x^%1").arg(f.degree)));
        }
        EXPECT_EQ(test::CutText(label), "");
    }
}

TEST_F(FittingWindowTest, LineOverYearsIsDrawnThroughItsFittedValuesAtFullPrecision)
{
    const auto line = [](double x) { return 1.2345678 * x - 2456.789; };
    for (int x = 1990; x <= 2020; x += 5) {
        editor().addPoint(x, line(x));
    }
    setWorld({1985, 2025, line(2005) - 30, line(2005) + 30});
    GraphColor = 0x2080FF; // apart from the axes
    window->refresh();
    ASSERT_TRUE(window->lastFit().shown);
    EXPECT_NE(FitTermText.find("1.2345678"), std::string::npos) << FitTermText;
    const RecordingCanvas canvas = record();
    for (int x = 1990; x <= 2020; x += 5) {
        SCOPED_TRACE(x);
        const auto row = curveRowAt(canvas, GraphColor, WorldToPixelX(x));
        ASSERT_TRUE(row.has_value());
        EXPECT_NEAR(*row, WorldToPixelY(line(x)), 1.0);
    }
}

TEST_F(FittingWindowTest, DeviationLinesRunFromEveryPointToTheCurveInThePointsColour)
{
    editor().addPoint(-2, 0);
    editor().addPoint(0, 3);
    editor().addPoint(2, 1);
    QTest::mouseClick(control<BitCheckBox>("BitCheckBox4"), Qt::LeftButton, {}, QPoint(6, 6));
    ASSERT_TRUE(window->lastFit().shown);
    const RecordingCanvas canvas = record();
    const auto& params = window->lastFit().params;
    for (const PlotPoint& p : points()) {
        SCOPED_TRACE(p.x);
        const Point from{WorldToPixelX(p.x), WorldToPixelY(p.y)};
        const int curveRow = WorldToPixelY(params[1] * p.x + params[0]);
        const auto lines = canvas.callsOf(CanvasOp::LineTo);
        const bool found = std::any_of(lines.begin(), lines.end(), [&](const CanvasCall& c) {
            return c.points.size() == 2 && c.points[0] == from && c.points[1].x == from.x &&
                   std::abs(c.points[1].y - curveRow) <= 1;
        });
        EXPECT_TRUE(found);
    }
}

TEST_F(FittingWindowTest, DerivativesAndSpecialPointsAreDrawnFromTheFit)
{
    for (const double x : {-2.0, -1.0, 0.0, 1.0, 2.0}) {
        editor().addPoint(x, x * x * x - 3 * x);
    }
    control<QToolButton>("SpeedButtonganzR")->click();
    for (const char* box : {"BitCheckBox6", "BitCheckBox8", "BitCheckBox3", "BitCheckBox2", "BitCheckBox1"}) {
        QTest::mouseClick(control<BitCheckBox>(box), Qt::LeftButton, {}, QPoint(6, 6));
    }
    const RecordingCanvas canvas = record();
    // f' = 3x² - 3 is 0 at x = 1; f'' = 6x is 0 at x = 0.
    const auto first = curveRowAt(canvas, 0x008000, WorldToPixelX(1.0));
    const auto second = curveRowAt(canvas, 0xFF0000, WorldToPixelX(0.0));
    ASSERT_TRUE(first && second);
    EXPECT_NEAR(*first, WorldToPixelY(0), 2.0);
    EXPECT_NEAR(*second, WorldToPixelY(0), 2.0);
    const auto disks = canvas.callsOf(CanvasOp::Ellipse);
    const auto diskAt = [&](double x, double y, TColor colour) {
        return std::any_of(disks.begin(), disks.end(), [&](const CanvasCall& c) {
            const Point centre{(c.rect.left + c.rect.right) / 2, (c.rect.top + c.rect.bottom) / 2};
            return c.brush.color == colour && std::abs(centre.x - WorldToPixelX(x)) <= 1 &&
                   std::abs(centre.y - WorldToPixelY(y)) <= 1 && c.rect.width() == 8;
        });
    };
    EXPECT_TRUE(diskAt(-1, 2, 0x008000)) << "high point";
    EXPECT_TRUE(diskAt(1, -2, 0x008000)) << "low point";
    EXPECT_TRUE(diskAt(0, 0, 0xFF0000)) << "inflection point";
}

TEST_F(FittingWindowTest, MarkersTakeTheSelectedColourAndTheStyleOfTheirCreation)
{
    editor().addPoint(-1, -1);
    editor().addPoint(1, 1);
    const RecordingCanvas canvas = record();
    const auto disks = canvas.callsOf(CanvasOp::Ellipse);
    const auto colourAt = [&](double x, double y) -> std::optional<TColor> {
        const Point p{WorldToPixelX(x), WorldToPixelY(y)};
        for (const CanvasCall& c : disks) {
            if (c.rect == Rect{p.x - 4, p.y - 4, p.x + 4, p.y + 4}) {
                return c.brush.color;
            }
        }
        return std::nullopt;
    };
    EXPECT_EQ(colourAt(-1, -1), std::optional<TColor>(clBlack));
    EXPECT_EQ(colourAt(1, 1), std::optional<TColor>(0x0000FF));
}

TEST_F(FittingWindowTest, RefusedFitDrawsTheXAxisLineAndNoDeviations)
{
    editor().addPoint(0, 2);
    editor().addPoint(1, 2);
    editor().addPoint(2, 2);
    QTest::mouseClick(control<BitCheckBox>("BitCheckBox4"), Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(labelText(*window), QStringLiteral("Die Kurvenanpassung ist nicht möglich!"));
    const RecordingCanvas canvas = record();
    const auto row = curveRowAt(canvas, GraphColor, WorldToPixelX(3));
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(*row, WorldToPixelY(0));
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace kurvex::test

// Tests of the trigonometry window and its settings dialog through their widgets: start state,
// angle bars and drag, tangent cases, arc, animation turn, dialog limits, saving, print and export.
#include "lessons/TrigonometryWindow.h"

#include "app/LessonRegistry.h"
#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/TrigonometrySettings.h"
#include "core/UnitCircle.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lessons/TrigonometrySettingsDialog.h"
#include "platform/IniFile.h"
#include "platform/RecordingCanvas.h"
#include "support/MetafileConverters.h"
#include "support/MetafileReader.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace kurvex {
namespace {

constexpr double kPi = std::numbers::pi;

class TrigonometryWindowTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        AnimationDelay = 0;
        setWorld({-3, 5, -2, 9}); // another lesson's window
    }
    void TearDown() override { window.reset(); }

    void open()
    {
        window = std::make_unique<TrigonometryWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T* control(const char* name) const { return test::child<T>(window.get(), name); }
    RecordingCanvas record() { return test::recordPicture(*window); }

    std::vector<std::string> texts() { return record().texts(); }
    static bool contains(const std::vector<std::string>& all, const std::string& text)
    {
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    static bool anyStartsWith(const std::vector<std::string>& all, const std::string& start)
    {
        return std::any_of(all.begin(), all.end(),
                           [&](const std::string& t) { return t.rfind(start, 0) == 0; });
    }

    // Turns the switch on and runs its loop; every 20 ms stop(tick) says whether to turn it off.
    void animate(const std::function<bool(int)>& stop)
    {
        ToggleSwitch* s = control<ToggleSwitch>("Switch1");
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (stop(++ticks)) {
                s->setChecked(false);
            }
        });
        timer.start(20);
        s->setChecked(true);
        emit s->clicked();
    }

    std::unique_ptr<TrigonometryWindow> window;
};

// Lines and polylines drawn in a colour with a pen width.
std::vector<CanvasCall> linesIn(const RecordingCanvas& c, TColor color, int width)
{
    std::vector<CanvasCall> out;
    for (const CanvasCall& call : c.calls()) {
        const bool stroke = call.op == CanvasOp::LineTo || call.op == CanvasOp::Polyline;
        if (stroke && call.pen.color == color && call.pen.width == width) {
            out.push_back(call);
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Opening and the angle

TEST_F(TrigonometryWindowTest, OpensAtThirtyDegreesWithTheFixedWorldAndTheOtherWindowSaved)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sinus, Tangens"));
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("Trigonometrische Funktionen"));
    EXPECT_DOUBLE_EQ(window->angle(), kPi / 6);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 30);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), 2);
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_TRUE(control<BitCheckBox>("BitCheckBox2")->Checked());
    EXPECT_FALSE(control<BitCheckBox>("BitCheckBox1")->Checked());
    EXPECT_FALSE(control<BitCheckBox>("BitCheckBox3")->Checked());
    EXPECT_EQ(currentWorld(), kTrigWorld);
    EXPECT_EQ(SavedWorld(), (WorldRect{-3, 5, -2, 9}));
    EXPECT_TRUE(TrigTicks);
    EXPECT_TRUE(ModuleOpen);
    // No zoom, pad, band or help; the plot box is 137 wide to 80 high.
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("SpeedButton3")), nullptr);
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("SpeedButton22")), nullptr);
    EXPECT_EQ(window->zoomCheckBox(), nullptr);
    EXPECT_EQ(window->helpButton(), nullptr);
    const QSize plot = window->plotBox()->size();
    EXPECT_NEAR(double(plot.width()) / plot.height(), 137.0 / 80.0, 0.01);

    const auto radians = texts();
    EXPECT_TRUE(contains(radians, "p/6"));
    EXPECT_TRUE(contains(radians, "Einheitskreis r = 1"));
    EXPECT_TRUE(contains(radians, "sin(0,5236) = 0,5"));
    test::clickBox(control<BitCheckBox>("BitCheckBox2"));
    const auto degrees = texts();
    EXPECT_TRUE(contains(degrees, "30\u00B0"));
    EXPECT_TRUE(contains(degrees, "sin(30\u00B0) = 0,5"));
    EXPECT_FALSE(contains(degrees, "p/6"));
}

TEST_F(TrigonometryWindowTest, GreekMarksUseTheSymbolCharacterSetAndOtherTextsDoNot)
{
    open();
    for (const bool radians : {true, false}) {
        SCOPED_TRACE(radians);
        if (!radians) {
            test::clickBox(control<BitCheckBox>("BitCheckBox2"));
        }
        const RecordingCanvas c = record();
        int greek = 0;
        for (const CanvasCall& t : c.callsOf(CanvasOp::TextOut)) {
            const bool symbol = t.font.charset == FontCharset::Symbol;
            const bool expected = t.text == "a" || t.text.find('p') != std::string::npos;
            EXPECT_EQ(symbol, expected) << t.text;
            greek += symbol ? 1 : 0;
        }
        EXPECT_EQ(greek, radians ? 4 : 1);
    }
}

TEST_F(TrigonometryWindowTest, BarsSetTheAngleAndResetGoesToZero)
{
    open();
    control<QScrollBar>("ScrollBar1")->setValue(45);
    EXPECT_DOUBLE_EQ(window->angle(), kPi / 4);
    control<QSlider>("TrackBar1")->setValue(-12);
    EXPECT_DOUBLE_EQ(window->angle(), -kPi);
    QTest::mouseClick(control<QToolButton>("SpeedButton24"), Qt::LeftButton);
    EXPECT_EQ(window->direction(), -1);
    QTest::mouseClick(control<QToolButton>("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(window->angle(), 0.0);
    EXPECT_EQ(window->direction(), 1);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 0);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), 0);

    // Angle 0: no arc and no sector in either mode, and the value reads 0.
    for (const bool radians : {true, false}) {
        SCOPED_TRACE(radians);
        if (!radians) {
            test::clickBox(control<BitCheckBox>("BitCheckBox2"));
        }
        const RecordingCanvas c = record();
        EXPECT_EQ(c.count(CanvasOp::Arc), 0u);
        EXPECT_EQ(c.count(CanvasOp::Pie), 0u);
        EXPECT_TRUE(contains(c.texts(), radians ? "sin(0) = 0" : "sin(0\u00B0) = 0"));
    }
}

TEST_F(TrigonometryWindowTest, DragSetsTheAngleUnderTheMouseAndLeavesTheBars)
{
    open();
    PlotBox* box = window->plotBox();
    const int middle = box->height() / 2;
    test::dragOnPlot(box, QPoint(box->width() / 2, middle), QPoint(box->width(), middle));
    EXPECT_DOUBLE_EQ(window->angle(), 6.5);
    EXPECT_FALSE(window->mouseDragActive());
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 30);
    // A move without the button held changes nothing.
    QMouseEvent move(QEvent::MouseMove, QPointF(10, middle), box->mapToGlobal(QPointF(10, middle)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    EXPECT_DOUBLE_EQ(window->angle(), 6.5);
}

// ---------------------------------------------------------------------------------------------
// Tangent mode

TEST_F(TrigonometryWindowTest, TangentNearNinetyDegreesDrawsNoTextRayOrSegmentButItsTrace)
{
    open();
    QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton);
    test::clickBox(control<BitCheckBox>("BitCheckBox3"));
    struct Case {
        int degrees;
        bool tangentShown;
    };
    for (const Case c : {Case{90, false}, {85, false}, {84, true}, {270, false}, {30, true}}) {
        SCOPED_TRACE(c.degrees);
        control<QScrollBar>("ScrollBar1")->setValue(c.degrees);
        const RecordingCanvas rec = record();
        EXPECT_EQ(anyStartsWith(rec.texts(), "tan("), c.tangentShown);
        // The segment on the tangent line and the one in the graph (pen 2), and the grey help line.
        EXPECT_EQ(linesIn(rec, TanColor, 2).empty(), !c.tangentShown);
        const auto grey = linesIn(rec, 0x808080, 1);
        EXPECT_EQ(std::none_of(grey.begin(), grey.end(),
                               [](const CanvasCall& l) { return l.pen.style == PenStyle::Dash; }),
                  !c.tangentShown);
        // The trace runs to the angle whatever the tangent's size.
        EXPECT_FALSE(linesIn(rec, TanColor, 3).empty());
    }
    // cot 90° is 0, but its text goes with the tangent's.
    control<QScrollBar>("ScrollBar1")->setValue(90);
    EXPECT_FALSE(anyStartsWith(texts(), "cot("));
    control<QScrollBar>("ScrollBar1")->setValue(60);
    EXPECT_TRUE(contains(texts(), "cot(1,047) = 0,5774"));
}

TEST_F(TrigonometryWindowTest, TangentPensScaleWithTheDrawingScale)
{
    open();
    QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton);
    test::clickBox(control<BitCheckBox>("BitCheckBox3"));
    RecordingCanvas canvas;
    {
        const DeviceStateGuard keep;
        DrawCanvas = &canvas;
        Printing = true;
        DrawScale = 4.0;
        window->paintPicture();
    }
    window->refresh();
    EXPECT_FALSE(linesIn(canvas, TanColor, 12).empty()); // the trace
    EXPECT_FALSE(linesIn(canvas, CotColor, 12).empty());
    // The full graphs with the window's own pen: black, 1 x DrawScale after the first trace.
    EXPECT_FALSE(linesIn(canvas, clBlack, 4).empty());
    for (const CanvasCall& call : canvas.calls()) {
        if (call.op == CanvasOp::LineTo || call.op == CanvasOp::Polyline) {
            EXPECT_GE(call.pen.width, 4) << "a hairline in print";
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The arc

// Ellipses in the arc's pen (a whole arc) or with the sector's fill.
std::size_t ellipsesIn(const RecordingCanvas& c, TColor pen, std::optional<TColor> fill)
{
    const auto all = c.callsOf(CanvasOp::Ellipse);
    return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [&](const CanvasCall& e) {
        const bool filled = e.brush.style == BrushStyle::Solid;
        return e.pen.color == pen && filled == fill.has_value() && (!fill || e.brush.color == *fill);
    }));
}

TEST_F(TrigonometryWindowTest, ArcAndSectorByAngleAndAFullTurnAsAWholeCircle)
{
    ArcColor = 0x008000;
    AngleColor = 0x00FF00;
    open();
    struct Case {
        int stepBar;
        bool radians;
        std::size_t arcs, pies, wholeArcs, wholeSectors;
    };
    const Case cases[] = {
        {2, true, 1, 0, 0, 0},  {2, false, 1, 1, 0, 0},  {-6, false, 1, 1, 0, 0},
        {24, true, 0, 0, 1, 0}, {24, false, 0, 0, 1, 1}, {0, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stepBar);
        SCOPED_TRACE(c.radians);
        if (control<BitCheckBox>("BitCheckBox2")->Checked() != c.radians) {
            test::clickBox(control<BitCheckBox>("BitCheckBox2"));
        }
        control<QSlider>("TrackBar1")->setValue(c.stepBar);
        const RecordingCanvas rec = record();
        EXPECT_EQ(rec.count(CanvasOp::Arc), c.arcs);
        EXPECT_EQ(rec.count(CanvasOp::Pie), c.pies);
        EXPECT_EQ(ellipsesIn(rec, ArcColor, std::nullopt), c.wholeArcs);
        EXPECT_EQ(ellipsesIn(rec, ArcColor, AngleColor), c.wholeSectors);
    }
    ASSERT_EQ(window->angle(), 0.0);

    // At exactly 2π the arc's colour lies all around the circle on the screen's picture.
    control<QSlider>("TrackBar1")->setValue(24);
    ASSERT_EQ(window->angle(), 2 * kPi);
    const QImage picture = window->plotBox()->picture()->copy();
    const double ratio = picture.devicePixelRatio();
    const QColor arcColour(colorRed(ArcColor), colorGreen(ArcColor), colorBlue(ArcColor));
    for (const int degrees : {45, 100, 170, 200, 260, 300, 340}) {
        SCOPED_TRACE(degrees);
        const double a = degrees * kPi / 180;
        const int x = WorldToPixelX(kCircleCentreX + std::cos(a));
        const int y = WorldToPixelY(std::sin(a));
        bool found = false;
        for (int dy = -2; dy <= 2 && !found; ++dy) {
            for (int dx = -2; dx <= 2 && !found; ++dx) {
                found = picture.pixelColor(int((x + dx) * ratio), int((y + dy) * ratio)) == arcColour;
            }
        }
        EXPECT_TRUE(found);
    }
}

// ---------------------------------------------------------------------------------------------
// Animation

TEST_F(TrigonometryWindowTest, AnimationMovesTwoDegreesPerFrameAndEndsOnABarsGrid)
{
    TrigAnimationSteps = 2;
    open();
    std::vector<double> seen;
    animate([&](int tick) {
        seen.push_back(window->angle());
        return tick >= 6;
    });
    ASSERT_GE(seen.size(), 2u);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        const double frames = (seen[i] - seen[0]) / (2 * kPi / 180);
        EXPECT_NEAR(frames, std::nearbyint(frames), 1e-9);
        EXPECT_GT(seen[i], seen[i - 1] - 1e-12);
    }
    EXPECT_FALSE(AnimationRunning);
    // The scroll bar took the angle, then the track bar, whose handler ran last if it moved.
    const double degrees = window->angle() * 180 / kPi;
    EXPECT_NEAR(degrees, std::nearbyint(degrees), 1e-9);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), StepBarPosition(window->angle()));
    // The last frame seen, or the one after it that ran before the loop saw the switch off.
    EXPECT_NEAR(control<QScrollBar>("ScrollBar1")->value(), seen.back() * 180 / kPi, 2.5);
}

TEST_F(TrigonometryWindowTest, AnimationAfterADragBeyondTheEndComesBack)
{
    open();
    PlotBox* box = window->plotBox();
    test::dragOnPlot(box, QPoint(box->width() / 2, 10), QPoint(box->width(), 10));
    ASSERT_DOUBLE_EQ(window->angle(), 6.5);
    double highest = window->angle();
    double last = window->angle();
    const double back = 6.5 - 4 * AnimationAngleStep(TrigAnimationSteps);
    animate([&](int tick) {
        highest = std::max(highest, window->angle());
        last = window->angle();
        return last < back || tick >= 500;
    });
    EXPECT_EQ(highest, 6.5);
    EXPECT_LT(last, back);
    EXPECT_EQ(window->direction(), -1);
}

TEST_F(TrigonometryWindowTest, AnimationTurnsAtTwoPiAndMinusPi)
{
    open();
    for (const int position : {24, -12}) {
        SCOPED_TRACE(position);
        control<QSlider>("TrackBar1")->setValue(position == 24 ? 23 : -11);
        int reversals = 0;
        int lastDirection = window->direction();
        int ticksSinceTurn = 0;
        animate([&](int tick) {
            reversals += window->direction() != lastDirection ? 1 : 0;
            lastDirection = window->direction();
            ticksSinceTurn += reversals > 0 ? 1 : 0;
            return ticksSinceTurn > 3 || tick >= 500;
        });
        EXPECT_EQ(reversals, 1);
        EXPECT_LE(window->angle(), 2 * kPi + 1e-9);
        EXPECT_GE(window->angle(), -kPi - 1e-9);
    }
}

// ---------------------------------------------------------------------------------------------
// Settings dialog

class TrigonometryDialogTest : public TrigonometryWindowTest {
protected:
    void SetUp() override
    {
        TrigonometryWindowTest::SetUp();
        PrintExportHooks hooks;
        hooks.showError = [this](QWidget*, const QString& text) { errors.push_back(text); };
        hooks.setupPrinter = [this](QWidget*, QPrinter&) {
            ++printerSetups;
            return true;
        };
        scopedHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void TearDown() override
    {
        dialog.reset();
        TrigonometryWindowTest::TearDown();
    }

    void openDialog()
    {
        dialog = std::make_unique<TrigonometrySettingsDialog>(nullptr, [this] { ++redraws; });
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <class T> T* item(const char* name) const { return test::child<T>(dialog.get(), name); }
    void enter(const char* edit, const QString& text) { test::typeInto(item<QLineEdit>(edit), text); }
    void clickButton(const char* name) { QTest::mouseClick(item<QPushButton>(name), Qt::LeftButton); }

    std::unique_ptr<TrigonometrySettingsDialog> dialog;
    std::unique_ptr<ScopedPrintExportHooks> scopedHooks;
    std::vector<QString> errors;
    int redraws = 0;
    int printerSetups = 0;
};

TEST_F(TrigonometryDialogTest, TypedStepsAndPrintSizeKeepTheirLimits)
{
    TrigAnimationSteps = 3;
    PrintSizePercent = 150;
    openDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Einstellungen"));
    EXPECT_EQ(item<QLineEdit>("Edit7")->text(), QStringLiteral("3"));
    EXPECT_EQ(item<QLineEdit>("Edit1")->text(), QStringLiteral("150"));
    EXPECT_EQ(item<QLineEdit>("Edit7")->maxLength(), 3);
    EXPECT_EQ(item<QLineEdit>("Edit1")->maxLength(), 3);

    struct Case {
        const char* edit;
        const char* typed;
        int* variable;
        int expected;
        bool redraws;
    };
    const Case cases[] = {
        {"Edit7", "0", &TrigAnimationSteps, 2, true},    {"Edit7", "25", &TrigAnimationSteps, 2, true},
        {"Edit7", "abc", &TrigAnimationSteps, 2, true},  {"Edit7", "20", &TrigAnimationSteps, 20, true},
        {"Edit7", "1", &TrigAnimationSteps, 1, true},    {"Edit1", "10", &PrintSizePercent, 100, false},
        {"Edit1", "300", &PrintSizePercent, 100, false}, {"Edit1", "20", &PrintSizePercent, 20, false},
        {"Edit1", "200", &PrintSizePercent, 200, false}, {"Edit1", "x", &PrintSizePercent, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " " + c.typed);
        const int before = redraws;
        enter(c.edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(*c.variable, c.expected);
        EXPECT_EQ(item<QLineEdit>(c.edit)->text(), QString::number(c.expected));
        EXPECT_EQ(redraws > before, c.redraws);
    }
}

TEST_F(TrigonometryDialogTest, ColourButtonsSetTheirVariablesAndRedraw)
{
    openDialog();
    struct Case {
        const char* button;
        TColor* variable;
    };
    const Case cases[] = {{"ColorButton1", &SinColor},        {"ColorButton2", &CosColor},
                          {"ColorButton3", &TanColor},        {"ColorButton4", &CotColor},
                          {"ColorButton5", &ArcColor},        {"ColorButton6", &AngleColor},
                          {"ColorButton7", &BackgroundColor}, {"ColorButton8", &GridColor}};
    TColor colour = 0x102030;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        EXPECT_EQ(item<ColorButton>(c.button)->SelectionColor(), *c.variable);
        const int before = redraws;
        item<ColorButton>(c.button)->setSelectionColor(++colour);
        EXPECT_EQ(*c.variable, colour);
        EXPECT_GT(redraws, before);
    }
}

TEST_F(TrigonometryDialogTest, DefaultsSetTheTrigColoursAndStepsOnly)
{
    BackgroundColor = 0x123456;
    GridColor = 0x654321;
    TrigAnimationSteps = 9;
    SetTrigDefaultColors();
    const TColor defaults[] = {SinColor, CosColor, TanColor, CotColor, ArcColor, AngleColor};
    SinColor = CosColor = TanColor = CotColor = ArcColor = AngleColor = 0x111111;
    TrigAnimationSteps = 9;
    openDialog();
    clickButton("Button3");
    const TColor after[] = {SinColor, CosColor, TanColor, CotColor, ArcColor, AngleColor};
    EXPECT_TRUE(std::equal(std::begin(after), std::end(after), std::begin(defaults)));
    EXPECT_EQ(TanColor, 0xFF00FFu);
    EXPECT_EQ(TrigAnimationSteps, 4);
    EXPECT_EQ(item<QLineEdit>("Edit7")->text(), QStringLiteral("4"));
    EXPECT_EQ(item<ColorButton>("ColorButton3")->SelectionColor(), 0xFF00FFu);
    EXPECT_EQ(BackgroundColor, 0x123456u);
    EXPECT_EQ(GridColor, 0x654321u);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(QFile::exists(programDir.filePath(QStringLiteral("Kurvex.ini"))));
    QTest::mouseClick(item<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(printerSetups, 1);
}

TEST_F(TrigonometryDialogTest, SaveAfterTheWindowRanKeepsTheUsersPenAndTheOtherWorld)
{
    GraphColor = 0x0000FF;
    LineWidth = 2;
    open();
    QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton);
    test::clickBox(control<BitCheckBox>("BitCheckBox3"));
    control<QScrollBar>("ScrollBar1")->setValue(40);
    EXPECT_EQ(GraphColor, 0x0000FFu);
    EXPECT_EQ(LineWidth, 2);

    // The dialog as the window opens it, saved from its button.
    QTimer::singleShot(0, [this] {
        auto* d = qobject_cast<TrigonometrySettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        // The dialog redrew the picture as it opened, in the fixed window.
        EXPECT_EQ(currentWorld(), kTrigWorld);
        QTest::mouseClick(test::child<QPushButton>(d, "Button2"), Qt::LeftButton);
        EXPECT_EQ(currentWorld(), kTrigWorld);
        d->accept();
    });
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton14")), Qt::LeftButton);
    EXPECT_EQ(currentWorld(), kTrigWorld);
    EXPECT_TRUE(errors.empty());

    const IniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.readInteger("Farben", "Zeichenstift", -1), 0x0000FF);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "x1", 0), -3.0);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "x2", 0), 5.0);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "y1", 0), -2.0);
    EXPECT_EQ(ini.readFloat("Koordinatensystem", "y2", 0), 9.0);
    EXPECT_EQ(GraphColor, 0x0000FFu);
    EXPECT_EQ(LineWidth, 2);
}

TEST_F(TrigonometryDialogTest, FailedSaveIsReportedAndTheFixedWorldComesBack)
{
    open();
    ProgramDir = programDir.filePath(QStringLiteral("missing")).toStdString() + "/";
    openDialog();
    setWorld(SavedWorld());
    clickButton("Button2");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(errors[0].isEmpty());
    EXPECT_EQ(currentWorld(), kTrigWorld);
}

TEST_F(TrigonometryDialogTest, RightClickOpensTheOwnDialogAndTheWindowRedrawsAfterwards)
{
    open();
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<TrigonometrySettingsDialog*>(d), nullptr);
        title = d->windowTitle();
        test::child<ColorButton>(d, "ColorButton1")->setSelectionColor(0x00AA00);
        d->close();
    });
    PlotBox* box = window->plotBox();
    QTest::mouseClick(box, Qt::RightButton, {}, QPoint(box->width() / 2, box->height() / 2));
    EXPECT_EQ(title, QStringLiteral("Einstellungen"));
    EXPECT_EQ(SinColor, 0x00AA00u);
    EXPECT_FALSE(linesIn(record(), 0x00AA00, 2).empty());
    EXPECT_EQ(currentWorld(), kTrigWorld);
}

// ---------------------------------------------------------------------------------------------
// Launcher, close, export

TEST_F(TrigonometryWindowTest, LauncherEntryOpensTheWindowAndClosingClearsItsFlags)
{
    const auto entry = std::find_if(AnalysisLessons().begin(), AnalysisLessons().end(),
                                    [](const LessonEntry& e) { return e.imageIndex == 9; });
    ASSERT_NE(entry, AnalysisLessons().end());
    ASSERT_NE(entry->open, nullptr);
    QString title;
    QPointer<QWidget> shown;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<TrigonometryWindow*>(shown.data()), nullptr);
        title = shown->windowTitle();
        EXPECT_TRUE(TrigTicks);
        QTest::keyClick(shown.data(), Qt::Key_Escape);
    });
    OpenAnalysisLesson(9, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(title, QStringLiteral("Sinus, Tangens"));
    EXPECT_TRUE(shown.isNull());
    EXPECT_FALSE(TrigTicks);
    EXPECT_FALSE(ModuleOpen);
}

TEST_F(TrigonometryWindowTest, PiAxisOfAnotherLessonLeavesTheTicksOnThePiSixthGrid)
{
    PiAxis = true;
    GridMode = 1;
    open();
    const RecordingCanvas rec = record();
    EXPECT_TRUE(PiAxis);
    const int y0 = WorldToPixelY(0.0);
    const int tick = static_cast<int>(std::nearbyint(4 * DrawScale));
    int ticks = 0;
    for (const CanvasCall& call : rec.callsOf(CanvasOp::LineTo)) {
        const Point a = call.points[0];
        const Point b = call.points[1];
        if (a.x == b.x && a.y == y0 - tick && b.y == y0 + tick) {
            const double x = PixelToWorldX(a.x) / (kPi / 6);
            EXPECT_NEAR(x, std::nearbyint(x), 0.05) << a.x;
            ++ticks;
        }
    }
    EXPECT_EQ(ticks, 24); // -12..12 without 0
}

// Notes the plot size and scale each printed picture is drawn at.
class ObservedTrigonometryWindow : public TrigonometryWindow {
public:
    struct Seen {
        int plotWidth;
        int plotHeight;
        double drawScale;
    };
    std::vector<Seen> printed;

protected:
    void paintForeground(int pane) override
    {
        if (Printing) {
            printed.push_back({PlotWidth, PlotHeight, DrawScale});
        }
        TrigonometryWindow::paintForeground(pane);
    }
};

class TrigonometryExportTest : public TrigonometryWindowTest {
protected:
    void SetUp() override
    {
        TrigonometryWindowTest::SetUp();
        hooks.chooseFile = [this](QWidget*) { return std::optional<SaveChoice>(choice); };
        hooks.showError = [](QWidget*, const QString& m) { ADD_FAILURE() << m.toStdString(); };
        scoped = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void exportAs(MetafileKind kind)
    {
        const bool wmf = kind == MetafileKind::Wmf;
        choice = {out.filePath(wmf ? QStringLiteral("trig.wmf") : QStringLiteral("trig.emf")), kind};
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton17")), Qt::LeftButton);
    }

    QTemporaryDir out;
    SaveChoice choice;
    PrintExportHooks hooks;
    std::unique_ptr<ScopedPrintExportHooks> scoped;
};

TEST_F(TrigonometryExportTest, FullCircleArcAndGreekMarksReachIndependentReaders)
{
    open();
    control<QSlider>("TrackBar1")->setValue(24);
    const QImage before = window->plotBox()->picture()->copy();
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        exportAs(kind);
        // The Greek marks go out in a font of the symbol character set ("p" is π), for readers
        // that honour it; a font of another set carries the rest.
        const test::Bytes bytes = test::ReadFileBytes(choice.path.toStdString());
        std::vector<int> charsets;
        if (wmf) {
            const test::WmfFile f = test::ReadWmf(bytes);
            ASSERT_EQ(f.error, "");
            for (const test::WmfRecord& rec : f.records) {
                if (rec.kind == 0x02FB) { // CREATEFONTINDIRECT
                    charsets.push_back(rec.params.at(13));
                }
            }
        } else {
            const test::EmfFile f = test::ReadEmf(bytes);
            ASSERT_EQ(f.error, "");
            for (const test::EmfRecord& rec : f.records) {
                if (rec.kind == 82) { // EXTCREATEFONTINDIRECTW
                    charsets.push_back(rec.data.at(35));
                }
            }
        }
        EXPECT_NE(std::find(charsets.begin(), charsets.end(), 2), charsets.end());
        EXPECT_NE(std::find_if(charsets.begin(), charsets.end(), [](int c) { return c != 2; }),
                  charsets.end());

        // Both readers draw the full turn as a whole green circle without fill, and show the
        // marks' letters (as Latin ones: neither maps the symbol character set).
        const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, kind);
        ASSERT_EQ(r.error.toStdString(), "");
        const QRegularExpression fullArc(
            wmf ? QStringLiteral("<ellipse[^>]*fill:none;[^>]*stroke:green")
                : QStringLiteral("<ellipse[^>]*fill=\"none\" stroke=\"#008000\""));
        EXPECT_TRUE(r.svg.contains(fullArc));
        EXPECT_TRUE(r.svg.contains(wmf ? QStringLiteral(">p</text>") : QStringLiteral("[p/6]")));
    }
    EXPECT_EQ(*window->plotBox()->picture(), before);
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
}

TEST_F(TrigonometryExportTest, PrintTakesTheWindowsOwnScale)
{
    const QString pdf = out.filePath(QStringLiteral("trig.pdf"));
    hooks.setupPrinter = [&](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    const ScopedPrintExportHooks printing(hooks);
    auto observed = std::make_unique<ObservedTrigonometryWindow>();
    ObservedTrigonometryWindow& w = *observed;
    window = std::move(observed);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QSize plot = window->plotBox()->size();
    const QImage before = window->plotBox()->picture()->copy();

    for (const int percent : {100, 50}) {
        SCOPED_TRACE(percent);
        PrintSizePercent = percent;
        w.printed.clear();
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("SpeedButton15")), Qt::LeftButton);
        ASSERT_EQ(w.printed.size(), 1u);
        QPrinter& printer = ApplicationPrinter();
        const double pxPerCmX = printer.width() * 10.0 / printer.widthMM();
        const double pxPerCmY = printer.height() * 10.0 / printer.heightMM();
        const double size = percent / 100.0;
        // -π..2π and the circle: 24.83 ticks of 0.5263 cm; -4..4: 8 cm; pens scale with y.
        EXPECT_NEAR(w.printed[0].plotWidth / pxPerCmX, 13.067 * size, 0.02);
        EXPECT_NEAR(w.printed[0].plotHeight / pxPerCmY, 8.0 * size, 0.02);
        EXPECT_NEAR(w.printed[0].drawScale, 8.0 * size / plot.height() * pxPerCmY, 1e-9);
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(4) == "%PDF");
    }
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
    EXPECT_EQ(*window->plotBox()->picture(), before);
}

} // namespace
} // namespace kurvex

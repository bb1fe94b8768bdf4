// Tests of the trigonometry window and its settings dialog through their widgets: start state,
// tangent cases, arc, drag and animation, dialog limits, saving, launcher, print and export.
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
#include <iterator>
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

    void open(std::unique_ptr<TrigonometryWindow> w = std::make_unique<TrigonometryWindow>())
    {
        window = std::move(w);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class T> T* control(const char* name) const { return test::child<T>(window.get(), name); }
    RecordingCanvas record() { return test::recordPicture(*window); }
    bool drawsText(const std::string& text)
    {
        const auto all = record().texts();
        return std::find(all.begin(), all.end(), text) != all.end();
    }
    void choose(const char* control, bool on)
    {
        auto* box = this->control<BitCheckBox>(control);
        if (box->Checked() != on) {
            test::clickBox(box);
        }
    }
    void tangentMode() { QTest::mouseClick(control<QRadioButton>("RadioButton2"), Qt::LeftButton); }

    std::unique_ptr<TrigonometryWindow> window;
};

// Lines and polylines drawn in a colour with a pen width.
std::vector<CanvasCall> strokesIn(const RecordingCanvas& c, TColor color, int width)
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

// Ellipses in the arc's pen: without fill a whole arc, with the angle's fill a whole sector.
std::size_t ellipsesIn(const RecordingCanvas& c, TColor pen, std::optional<TColor> fill)
{
    const auto all = c.callsOf(CanvasOp::Ellipse);
    return static_cast<std::size_t>(std::count_if(all.begin(), all.end(), [&](const CanvasCall& e) {
        const bool filled = e.brush.style == BrushStyle::Solid;
        return e.pen.color == pen && filled == fill.has_value() && (!fill || e.brush.color == *fill);
    }));
}

TEST_F(TrigonometryWindowTest, OpensAtThirtyDegreesAndResetGoesToAnAngleWithoutArc)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Sinus, Tangens"));
    EXPECT_EQ(control<QLabel>("Label1")->text(), QStringLiteral("Trigonometrische Funktionen"));
    EXPECT_DOUBLE_EQ(window->angle(), kPi / 6);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 30);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), 2);
    EXPECT_EQ(currentWorld(), kTrigWorld);
    EXPECT_EQ(SavedWorld(), (WorldRect{-3, 5, -2, 9}));
    EXPECT_TRUE(TrigTicks && ModuleOpen);
    // No zoom, pad, band or help; the plot box 137 wide to 80 high.
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("SpeedButton22")), nullptr);
    EXPECT_EQ(window->zoomCheckBox(), nullptr);
    EXPECT_EQ(window->helpButton(), nullptr);
    const QSize plot = window->plotBox()->size();
    EXPECT_NEAR(double(plot.width()) / plot.height(), 137.0 / 80.0, 0.01);
    EXPECT_TRUE(drawsText("p/6"));
    EXPECT_TRUE(drawsText("Einheitskreis r = 1"));
    EXPECT_TRUE(drawsText("sin(0,5236) = 0,5"));
    choose("BitCheckBox2", false);
    EXPECT_TRUE(drawsText("30\u00B0"));
    EXPECT_TRUE(drawsText("sin(30\u00B0) = 0,5"));

    QTest::mouseClick(control<QToolButton>("SpeedButton24"), Qt::LeftButton);
    EXPECT_EQ(window->direction(), -1);
    QTest::mouseClick(control<QToolButton>("SpeedButton2"), Qt::LeftButton);
    EXPECT_EQ(window->angle(), 0.0);
    EXPECT_EQ(window->direction(), 1);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 0);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), 0);
    for (const bool radians : {false, true}) {
        SCOPED_TRACE(radians);
        choose("BitCheckBox2", radians);
        const RecordingCanvas c = record();
        EXPECT_EQ(c.count(CanvasOp::Arc) + c.count(CanvasOp::Pie) + ellipsesIn(c, ArcColor, std::nullopt),
                  0u);
        EXPECT_TRUE(drawsText(radians ? "sin(0) = 0" : "sin(0\u00B0) = 0"));
    }
}

TEST_F(TrigonometryWindowTest, TangentNearNinetyDegreesDrawsNoTextRayOrSegmentButItsTrace)
{
    open();
    tangentMode();
    choose("BitCheckBox3", true);
    struct Case {
        int degrees;
        bool tangentShown;
    };
    for (const Case c : {Case{90, false}, {85, false}, {84, true}, {270, false}, {30, true}}) {
        SCOPED_TRACE(c.degrees);
        control<QScrollBar>("ScrollBar1")->setValue(c.degrees);
        const RecordingCanvas rec = record();
        const auto texts = rec.texts();
        const auto writes = [&](const char* start) {
            return std::any_of(texts.begin(), texts.end(),
                               [&](const std::string& t) { return t.rfind(start, 0) == 0; });
        };
        // cot 90° is 0, but its text goes with the tangent's.
        EXPECT_EQ(writes("tan("), c.tangentShown);
        EXPECT_EQ(writes("cot("), c.tangentShown);
        // The segments on the tangent line and in the graph (pen 2), the ray and the help line.
        EXPECT_EQ(strokesIn(rec, TanColor, 2).empty(), !c.tangentShown);
        const auto grey = strokesIn(rec, 0x808080, 1);
        EXPECT_EQ(std::none_of(grey.begin(), grey.end(),
                               [](const CanvasCall& l) { return l.pen.style == PenStyle::Dash; }),
                  !c.tangentShown);
        // The trace runs to the angle whatever the tangent's size.
        EXPECT_FALSE(strokesIn(rec, TanColor, 3).empty());
    }
    control<QScrollBar>("ScrollBar1")->setValue(60);
    EXPECT_TRUE(drawsText("cot(1,047) = 0,5774"));
}

TEST_F(TrigonometryWindowTest, TangentPensScaleInPrintAndTheSharedPenStaysTheUsers)
{
    GraphColor = 0x0000FF;
    LineWidth = 2;
    open();
    tangentMode();
    choose("BitCheckBox3", true);
    RecordingCanvas canvas;
    {
        const DeviceStateGuard keep;
        DrawCanvas = &canvas;
        Printing = true;
        DrawScale = 4.0;
        window->paintPicture();
    }
    window->refresh();
    EXPECT_FALSE(strokesIn(canvas, TanColor, 12).empty()); // the traces, 3 x DrawScale
    EXPECT_FALSE(strokesIn(canvas, CotColor, 12).empty());
    // The full graphs with the window's own pen: black and 1 x DrawScale after the first trace.
    EXPECT_FALSE(strokesIn(canvas, clBlack, 4).empty());
    for (const CanvasCall& call : canvas.calls()) {
        if (call.op == CanvasOp::LineTo || call.op == CanvasOp::Polyline) {
            EXPECT_GE(call.pen.width, 4) << "a hairline in print";
        }
    }
    EXPECT_EQ(GraphColor, 0x0000FFu);
    EXPECT_EQ(LineWidth, 2);
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
        {24, true, 0, 0, 1, 0}, {24, false, 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stepBar * 15);
        SCOPED_TRACE(c.radians);
        choose("BitCheckBox2", c.radians);
        control<QSlider>("TrackBar1")->setValue(c.stepBar);
        const RecordingCanvas rec = record();
        EXPECT_EQ(rec.count(CanvasOp::Arc), c.arcs);
        EXPECT_EQ(rec.count(CanvasOp::Pie), c.pies);
        EXPECT_EQ(ellipsesIn(rec, ArcColor, std::nullopt), c.wholeArcs);
        EXPECT_EQ(ellipsesIn(rec, ArcColor, AngleColor), c.wholeSectors);
    }
    // At exactly 2π the arc's colour lies all around the circle on the screen's picture.
    ASSERT_EQ(window->angle(), 2 * kPi);
    const QImage picture = window->plotBox()->picture()->copy();
    const double ratio = picture.devicePixelRatio();
    for (const int degrees : {45, 100, 170, 200, 260, 300, 340}) {
        SCOPED_TRACE(degrees);
        const double a = degrees * kPi / 180;
        const int x = WorldToPixelX(kCircleCentreX + std::cos(a));
        const int y = WorldToPixelY(std::sin(a));
        bool found = false;
        for (int d = 0; d < 25 && !found; ++d) {
            const QColor c = picture.pixelColor(int((x + d % 5 - 2) * ratio), int((y + d / 5 - 2) * ratio));
            found = c == QColor(0, 0x80, 0);
        }
        EXPECT_TRUE(found);
    }
}

TEST_F(TrigonometryWindowTest, AnimationAfterADragBeyondTheEndComesBackAndEndsOnABar)
{
    open();
    PlotBox* box = window->plotBox();
    test::dragOnPlot(box, QPoint(box->width() / 2, 10), QPoint(box->width(), 10));
    ASSERT_DOUBLE_EQ(window->angle(), 6.5);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 30); // a drag leaves the bars
    const double back = 6.5 - 4 * AnimationAngleStep(TrigAnimationSteps);
    double highest = window->angle();
    double last = highest;
    QTimer timer;
    ToggleSwitch* s = control<ToggleSwitch>("Switch1");
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        highest = std::max(highest, window->angle());
        last = window->angle();
        if (last < back || ++ticks >= 500) {
            s->setChecked(false);
        }
    });
    timer.start(20);
    s->setChecked(true);
    emit s->clicked();
    EXPECT_EQ(highest, 6.5);
    EXPECT_LT(last, back);
    EXPECT_EQ(window->direction(), -1);
    EXPECT_FALSE(AnimationRunning);
    // The scroll bar took the angle, then the track bar, whose handler ran last if it moved.
    const double degrees = window->angle() * 180 / kPi;
    EXPECT_NEAR(degrees, std::nearbyint(degrees), 1e-9);
    EXPECT_EQ(control<QSlider>("TrackBar1")->value(), StepBarPosition(window->angle()));
}

TEST_F(TrigonometryWindowTest, PiAxisOfAnotherLessonLeavesTheTicksOnThePiSixthGrid)
{
    PiAxis = true;
    GridMode = 1;
    open();
    const RecordingCanvas rec = record();
    EXPECT_TRUE(PiAxis);
    const int y0 = WorldToPixelY(0.0);
    int ticks = 0;
    for (const CanvasCall& call : rec.callsOf(CanvasOp::LineTo)) {
        const Point a = call.points[0];
        const Point b = call.points[1];
        if (a.x == b.x && a.y == y0 - 4 && b.y == y0 + 4) {
            const double sixths = PixelToWorldX(a.x) / (kPi / 6);
            EXPECT_NEAR(sixths, std::nearbyint(sixths), 0.05) << a.x;
            ++ticks;
        }
    }
    EXPECT_EQ(ticks, 24); // -12..12 without 0
}

TEST_F(TrigonometryWindowTest, LauncherEntryOpensTheWindowAndClosingClearsItsFlags)
{
    QString title;
    QPointer<QWidget> shown;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<TrigonometryWindow*>(shown.data()), nullptr);
        title = shown->windowTitle();
        QTest::keyClick(shown.data(), Qt::Key_Escape);
    });
    OpenAnalysisLesson(9, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(title, QStringLiteral("Sinus, Tangens"));
    EXPECT_TRUE(shown.isNull());
    EXPECT_FALSE(TrigTicks || ModuleOpen);
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
        hooks.setupPrinter = [this](QWidget*, QPrinter&) { return ++printerSetups > 0; };
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
    struct Case {
        const char* edit;
        const char* typed;
        int* variable;
        int expected;
    };
    const Case cases[] = {
        {"Edit7", "0", &TrigAnimationSteps, 2},   {"Edit7", "25", &TrigAnimationSteps, 2},
        {"Edit7", "abc", &TrigAnimationSteps, 2}, {"Edit7", "20", &TrigAnimationSteps, 20},
        {"Edit1", "10", &PrintSizePercent, 100},  {"Edit1", "300", &PrintSizePercent, 100},
        {"Edit1", "20", &PrintSizePercent, 20},   {"Edit1", "200", &PrintSizePercent, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " " + c.typed);
        const int before = redraws;
        test::typeInto(item<QLineEdit>(c.edit), QString::fromUtf8(c.typed));
        EXPECT_EQ(*c.variable, c.expected);
        EXPECT_EQ(item<QLineEdit>(c.edit)->text(), QString::number(c.expected));
        // A new step divisor shows at once; the print size waits for the print.
        EXPECT_EQ(redraws > before, std::string(c.edit) == "Edit7");
    }
}

TEST_F(TrigonometryDialogTest, ColourButtonsAndTheDefaultsThatLeaveBackgroundAndGrid)
{
    openDialog();
    TColor* const variables[] = {&SinColor, &CosColor,   &TanColor,        &CotColor,
                                 &ArcColor, &AngleColor, &BackgroundColor, &GridColor};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        auto* button = item<ColorButton>(("ColorButton" + std::to_string(i + 1)).c_str());
        const int before = redraws;
        button->setSelectionColor(0x102030 + i);
        EXPECT_EQ(*variables[i], TColor(0x102030 + i));
        EXPECT_GT(redraws, before);
    }
    TrigAnimationSteps = 9;
    QTest::mouseClick(item<QPushButton>("Button3"), Qt::LeftButton);
    const TColor defaults[] = {0xFF0000, 0x0000FF, 0xFF00FF, 0x800080,
                               0x008000, 0x00FF00, 0x102036, 0x102037};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(*variables[i], defaults[i]);
        EXPECT_EQ(item<ColorButton>(("ColorButton" + std::to_string(i + 1)).c_str())->SelectionColor(),
                  defaults[i]);
    }
    EXPECT_EQ(TrigAnimationSteps, 4);
    EXPECT_EQ(item<QLineEdit>("Edit7")->text(), QStringLiteral("4"));
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(QFile::exists(programDir.filePath(QStringLiteral("Kurvex.ini"))));
    QTest::mouseClick(item<QToolButton>("SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(printerSetups, 1);
}

TEST_F(TrigonometryDialogTest, SaveAfterTheWindowRanKeepsTheUsersPenAndTheOtherWorld)
{
    GraphColor = 0x0000FF;
    open();
    tangentMode();
    control<QScrollBar>("ScrollBar1")->setValue(40);
    // The window's own dialog, from a right click in the picture, saved from its button.
    QTimer::singleShot(0, [this] {
        auto* d = qobject_cast<TrigonometrySettingsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        QTest::mouseClick(test::child<QPushButton>(d, "Button2"), Qt::LeftButton);
        EXPECT_EQ(currentWorld(), kTrigWorld);
        d->accept();
    });
    PlotBox* box = window->plotBox();
    QTest::mouseClick(box, Qt::RightButton, {}, QPoint(box->width() / 2, box->height() / 2));
    EXPECT_EQ(currentWorld(), kTrigWorld);
    EXPECT_TRUE(errors.empty());
    const IniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.readInteger("Farben", "Zeichenstift", -1), 0x0000FF);
    const double saved[] = {
        ini.readFloat("Koordinatensystem", "x1", 0), ini.readFloat("Koordinatensystem", "x2", 0),
        ini.readFloat("Koordinatensystem", "y1", 0), ini.readFloat("Koordinatensystem", "y2", 0)};
    EXPECT_EQ(std::vector<double>(std::begin(saved), std::end(saved)), (std::vector<double>{-3, 5, -2, 9}));
    EXPECT_EQ(GraphColor, 0x0000FFu);
}

TEST_F(TrigonometryDialogTest, FailedSaveIsReportedAndTheFixedWorldComesBack)
{
    open();
    ProgramDir = programDir.filePath(QStringLiteral("missing")).toStdString() + "/";
    openDialog();
    setWorld(SavedWorld());
    QTest::mouseClick(item<QPushButton>("Button2"), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(errors[0].isEmpty());
    EXPECT_EQ(currentWorld(), kTrigWorld);
}

// ---------------------------------------------------------------------------------------------
// Print and export

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
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out.filePath(QStringLiteral("trig.pdf")));
            return true;
        };
        scoped = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }

    QTemporaryDir out;
    SaveChoice choice;
    PrintExportHooks hooks;
    std::unique_ptr<ScopedPrintExportHooks> scoped;
};

TEST_F(TrigonometryExportTest, FullTurnAndGreekMarksReachIndependentReaders)
{
    open();
    control<QSlider>("TrackBar1")->setValue(24);
    const QImage before = window->plotBox()->picture()->copy();
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        choice = {out.filePath(wmf ? QStringLiteral("trig.wmf") : QStringLiteral("trig.emf")), kind};
        click("SpeedButton17");
        // The Greek marks: in a WMF the Latin letters in the "Symbol" face with its character
        // set; in an EMF the Greek letters themselves, with no symbol font at all.
        const test::Bytes bytes = test::ReadFileBytes(choice.path.toStdString());
        std::vector<std::pair<int, std::string>> fonts; // character set, face
        if (wmf) {
            for (const test::WmfRecord& rec : test::ReadWmf(bytes).records) {
                if (rec.kind == 0x02FB) { // CREATEFONTINDIRECT
                    fonts.emplace_back(rec.params.at(13),
                                       reinterpret_cast<const char*>(rec.params.data() + 18));
                }
            }
        } else {
            for (const test::EmfRecord& rec : test::ReadEmf(bytes).records) {
                if (rec.kind == 82) { // EXTCREATEFONTINDIRECTW
                    fonts.emplace_back(rec.data.at(35), "");
                }
            }
        }
        const auto symbolFonts =
            std::count_if(fonts.begin(), fonts.end(), [](const auto& f) { return f.first == 2; });
        EXPECT_EQ(symbolFonts > 0, wmf);
        for (const auto& [charset, face] : fonts) {
            if (wmf && charset == 2) {
                EXPECT_EQ(face, "Symbol");
            }
        }
        // Both readers draw the full turn as a whole green circle without fill; the marks come
        // out Greek: the WMF reader sets them in the symbol face, the EMF reader writes π.
        const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, kind);
        ASSERT_EQ(r.error.toStdString(), "");
        const QRegularExpression wholeArc(
            wmf ? QStringLiteral("<ellipse[^>]*fill:none;[^>]*stroke:green")
                : QStringLiteral("<ellipse[^>]*fill=\"none\" stroke=\"#008000\""));
        EXPECT_TRUE(r.svg.contains(wholeArc));
        if (wmf) {
            EXPECT_TRUE(
                r.svg.contains(QRegularExpression(QStringLiteral("font-family:Symbol;[^>]*>\\s*p</text>"))));
        } else {
            const QString text = test::SvgText(r.svg);
            EXPECT_TRUE(text.contains(QStringLiteral("π/6"))) << text.toStdString();
            EXPECT_TRUE(text.contains(QStringLiteral("-π"))) << text.toStdString();
        }
    }
    EXPECT_EQ(*window->plotBox()->picture(), before);
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
}

TEST_F(TrigonometryExportTest, PrintTakesTheWindowsOwnScale)
{
    auto observed = std::make_unique<ObservedTrigonometryWindow>();
    const ObservedTrigonometryWindow& w = *observed;
    open(std::move(observed));
    const QSize plot = window->plotBox()->size();
    const QImage before = window->plotBox()->picture()->copy();
    for (const int percent : {100, 50}) {
        SCOPED_TRACE(percent);
        PrintSizePercent = percent;
        const std::size_t seen = w.printed.size();
        click("SpeedButton15");
        ASSERT_EQ(w.printed.size(), seen + 1);
        QPrinter& printer = ApplicationPrinter();
        const double pxPerCmX = printer.width() * 10.0 / printer.widthMM();
        const double pxPerCmY = printer.height() * 10.0 / printer.heightMM();
        // -π..2π and the circle: 24.83 ticks of 0.5263 cm; -4..4: 8 cm; pens scale with y.
        const double size = percent / 100.0;
        EXPECT_NEAR(w.printed.back().plotWidth / pxPerCmX, 13.067 * size, 0.02);
        EXPECT_NEAR(w.printed.back().plotHeight / pxPerCmY, 8.0 * size, 0.02);
        EXPECT_NEAR(w.printed.back().drawScale, 8.0 * size / plot.height() * pxPerCmY, 1e-9);
    }
    QFile pdf(out.filePath(QStringLiteral("trig.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.read(4), QByteArray("%PDF"));
    EXPECT_EQ(*window->plotBox()->picture(), before);
}

} // namespace
} // namespace kurvex

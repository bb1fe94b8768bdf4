// Tests of the lesson-window frame through a small test window: layers, zoom, band, keys, Delay,
// animation loop and the close rules.
#include "lesson/TestLessonWindow.h"

#include "controls/BitCheckBox.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/FrameDialogs.h"
#include "lesson/PlotBox.h"
#include "platform/RecordingCanvas.h"
#include "platform/Ticks.h"
#include "support/LessonFixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kurvex {
namespace {

constexpr WorldRect kWorld{-7, 7, -7, 7};

// Each test starts from the same shared state and leaves nothing behind.
class LessonWindowTest : public test::LessonWindowFixture {
protected:
    void SetUp() override
    {
        setWorld(kWorld);
        IniSettings.x1 = -3;
        IniSettings.x2 = 5;
        IniSettings.y1 = -2;
        IniSettings.y2 = 4;
        BackgroundColor = clWhite;
        AnimationDelay = 0;
        AnimationSteps = 200;
        ParamA = 1;
        ParamB = 0;
        ParamAMin = ParamBMin = -4;
        ParamAMax = ParamBMax = 4;
        AnimationRunning = false;
        window = std::make_unique<TestLessonWindow>();
        window->setTerm("sin(x)*x^2");
        window->resize(1000, 760);
    }

    void TearDown() override { window.reset(); }

    // Replaces the window by one whose variant row differs as change says.
    template <class F> void remake(F change)
    {
        LessonVariant v = TestLessonWindow::testVariant();
        change(v);
        window = std::make_unique<TestLessonWindow>(v);
    }
    void showWindow()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void focus(QWidget* w)
    {
        window->activateWindow();
        w->setFocus();
        QApplication::processEvents();
    }
    PlotBox* plot() const { return window->plotBox(); }
    QAbstractButton* button(const char* name) const
    {
        return window->findChild<QAbstractButton*>(QString::fromLatin1(name));
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(plot(), (from + to) / 2);
        QTest::mouseMove(plot(), to);
        QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, to);
    }
    void checkZoomBox()
    {
        ASSERT_NE(window->zoomCheckBox(), nullptr);
        window->zoomCheckBox()->setChecked(true);
    }
    // Starts an animation from the switch, as a click on it does.
    static void clickSwitch(ToggleSwitch* s, bool on)
    {
        s->setChecked(on);
        emit s->clicked();
    }
    // Animates a from its switch: action runs after frame `at`, and frame `last` turns both switches off.
    void animateA(int last, int at = 0, std::function<void()> action = {})
    {
        window->afterFrame = [this, last, at, action] {
            if (window->frames == at) {
                action();
            }
            if (window->frames == last) {
                window->switchA->setChecked(false);
                window->switchB->setChecked(false);
            }
        };
        clickSwitch(window->switchA, true);
    }
    // Run f from the event loop, as a click that arrives while the animation loop waits: post from a
    // zero timer, queue as a queued call (what Delay must handle within its one pass).
    void post(std::function<void()> f) { QTimer::singleShot(0, window.get(), std::move(f)); }
    void queue(std::function<void()> f)
    {
        QMetaObject::invokeMethod(window.get(), std::move(f), Qt::QueuedConnection);
    }

    std::unique_ptr<TestLessonWindow> window;
};

void expectWorldNear(const WorldRect& actual, const WorldRect& expected)
{
    EXPECT_NEAR(actual.xMin, expected.xMin, 1e-9);
    EXPECT_NEAR(actual.xMax, expected.xMax, 1e-9);
    EXPECT_NEAR(actual.yMin, expected.yMin, 1e-9);
    EXPECT_NEAR(actual.yMax, expected.yMax, 1e-9);
}

// ---- Layers and passes ----

TEST_F(LessonWindowTest, ShowSizesTheLayersToThePlotAndThePictureIsBothLayersCombinedBitwise)
{
    showWindow();
    EXPECT_EQ(PlotWidth, plot()->width());
    EXPECT_EQ(PlotHeight, plot()->height());
    EXPECT_EQ(window->foregroundImage().size(), plot()->size());
    EXPECT_EQ(window->backgroundImage().size(), plot()->size());
    EXPECT_GE(window->backgroundPasses, 1);
    EXPECT_GE(window->foregroundPasses, 1);
    EXPECT_EQ(plot()->picture(), &window->foregroundImage());
    window->setFixedLayerSize(QSize(700, 700));
    BackgroundColor = 0xF0F0F0;
    window->refresh();
    const QImage& img = window->foregroundImage();
    ASSERT_EQ(img.size(), QSize(700, 700));
    // Empty area: background colour in both layers.
    EXPECT_EQ(img.pixel(120, 80) & 0xFFFFFF, 0xF0F0F0u);
    // The x axis from the background shows through the empty foreground.
    EXPECT_EQ(img.pixel(620, 350) & 0xFFFFFF, 0x000000u);
    // The red curve near x = 3 (y = 9 sin 3 = 1.27, row 286) keeps red AND 0xF0F0F0.
    bool red = false;
    for (int x = 498; x <= 502; ++x) {
        for (int y = 280; y <= 293; ++y) {
            red = red || (img.pixel(x, y) & 0xFFFFFF) == 0xF00000u;
        }
    }
    EXPECT_TRUE(red);
    // Layers of different sizes are combined over their common area only.
    QImage a(3, 2, QImage::Format_RGB32);
    QImage b(2, 3, QImage::Format_RGB32);
    a.fill(0xFF00FF0F);
    b.fill(0xFFF0F0F0);
    TestLessonWindow::andImages(a, b);
    EXPECT_EQ(a.pixel(1, 1), 0xFF00F000u);
    EXPECT_EQ(a.pixel(2, 1), 0xFF00FF0Fu);
    // The destroyed window leaves no drawing target behind.
    EXPECT_NE(DrawCanvas, nullptr);
    window.reset();
    EXPECT_EQ(DrawCanvas, nullptr);
}

TEST_F(LessonWindowTest, OneLayerWindowDrawsEverythingInItsSinglePass)
{
    remake([](LessonVariant& v) { v.picture.backgroundLayer = false; });
    window->setTerm("x");
    window->setFixedLayerSize(QSize(700, 700));
    showWindow();
    const int passes = window->backgroundPasses;
    window->drawPicture();
    EXPECT_EQ(window->backgroundPasses, passes + 1);
    EXPECT_TRUE(window->backgroundImage().isNull());
    EXPECT_EQ(window->foregroundImage().pixel(620, 350) & 0xFFFFFF, 0x000000u);
}

TEST_F(LessonWindowTest, PicturePassesGoStraightToTheDrawingTargetWhilePrinting)
{
    window->setFixedLayerSize(QSize(700, 700));
    showWindow();
    const QImage before = window->foregroundImage().copy();
    const int passes = window->foregroundPasses;
    RecordingCanvas target;
    DrawCanvas = &target;
    Printing = true;
    window->paintPicture();
    window->refresh(); // ignored while a picture goes to the printer
    Printing = false;
    EXPECT_EQ(DrawCanvas, &target);
    EXPECT_EQ(window->foregroundPasses, passes + 1);
    // Axes, ticks and a pen move or segment for each of the 351 samples of both curves.
    EXPECT_GT(target.count(CanvasOp::LineTo) + target.count(CanvasOp::MoveTo), 702u);
    EXPECT_GT(target.count(CanvasOp::Polygon), 0u);
    EXPECT_EQ(window->foregroundImage(), before);
}

// Two panes on one world window: each pane is drawn in its own strip on screen, and on a printer or
// metafile the lower pane lands below the upper one, in a picture twice the plot's height.
TEST_F(LessonWindowTest, TwoPanesShareTheWorldAndPrintWithTheLowerPaneShifted)
{
    remake([](LessonVariant& v) { v.picture.panes = 2; });
    window->setTerm("x");
    window->setFixedLayerSize(QSize(700, 700));
    showWindow();
    EXPECT_EQ(PlotHeight, 350);
    EXPECT_EQ(window->plotSize(), QSize(700, 350));
    window->foregroundPanes.clear();
    window->fullRedraw();
    EXPECT_EQ(window->foregroundPanes, (std::vector<int>{0, 1}));
    // The x axis halfway down each pane, in the same column.
    const QImage& img = window->foregroundImage();
    EXPECT_EQ(img.pixel(620, 175) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(img.pixel(620, 525) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(img.pixel(560, 444) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(window->worldAt(QPointF(350, 525)).pane, 1);
    EXPECT_NEAR(window->worldAt(QPointF(350, 525)).y, 0.0, 1e-9);

    RecordingCanvas target;
    target.setWindowOrigin(10, 20);
    DrawCanvas = &target;
    Printing = true;
    window->paintPicture();
    Printing = false;
    std::vector<Point> origins;
    for (const CanvasCall& c : target.callsOf(CanvasOp::SetWindowOrigin)) {
        origins.push_back(c.points.at(0));
    }
    // The caller's origin, then per pass: pane 0, pane 1, back to the caller's.
    const std::vector<Point> passOrigins{{10, 20}, {10, 20}, {10, 20 + 350}, {10, 20}};
    std::vector<Point> expected{passOrigins.front()};
    expected.insert(expected.end(), passOrigins.begin() + 1, passOrigins.end());
    expected.insert(expected.end(), passOrigins.begin() + 1, passOrigins.end());
    EXPECT_EQ(origins, expected);
    EXPECT_DOUBLE_EQ(window->exportVariant().pictureHeightFactor, 2.0);
    window->refresh();
}

// Two stacked square panes: the plot box opens half as wide as it is high.
TEST_F(LessonWindowTest, HalfAsWidePlotGivesTwoSquarePanes)
{
    remake([](LessonVariant& v) {
        v.picture.panes = 2;
        v.picture.aspect = PlotAspect::HalfAsWide;
    });
    window->resize(1000, 760);
    showWindow();
    const QSize box = plot()->size();
    EXPECT_NEAR(box.width(), box.height() / 2, 1);
    EXPECT_NEAR(window->plotSize().width(), window->plotSize().height(), 1);
}

// ---- Zoom, pad, band, mouse ----

TEST_F(LessonWindowTest, WorldButtonsChangeTheWindowAndRedraw)
{
    showWindow();
    const std::pair<const char*, WorldRect> cases[] = {
        {"SpeedButton3", {-14, 14, -14, 14}},      {"SpeedButton7", {-3.5, 3.5, -3.5, 3.5}},
        {"SpeedButton9", {-5.6, 8.4, -7, 7}},      {"SpeedButton8", {-8.4, 5.6, -7, 7}},
        {"SpeedButton11", {-7, 7, -5.6, 8.4}},     {"SpeedButton10", {-7, 7, -8.4, 5.6}},
        {"SpeedButton21", {-8.4, 5.6, -5.6, 8.4}}, {"SpeedButton20", {-5.6, 8.4, -5.6, 8.4}},
        {"SpeedButton18", {-8.4, 5.6, -8.4, 5.6}}, {"SpeedButton19", {-5.6, 8.4, -8.4, 5.6}},
        {"SpeedButton22", {-3, 5, -2, 4}}};
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        setWorld(kWorld);
        const int passes = window->foregroundPasses;
        QAbstractButton* b = button(name);
        ASSERT_NE(b, nullptr);
        b->click();
        expectWorldNear(currentWorld(), expected);
        EXPECT_GT(window->foregroundPasses, passes);
    }
    // The window learns how its world changed: two zooms, eight pans, the reset.
    std::vector<WorldChange> changes(2, WorldChange::Zoom);
    changes.resize(10, WorldChange::Pan);
    changes.push_back(WorldChange::Reset);
    EXPECT_EQ(window->worldChanges, changes);
    // "Anfangswerte setzen" takes a start window the check would refuse as it is.
    IniSettings.x1 = 3;
    IniSettings.x2 = 3.00001;
    button("SpeedButton22")->click();
    EXPECT_EQ(currentWorld(), (WorldRect{3, 3.00001, -2, 4}));
}

TEST_F(LessonWindowTest, WithoutZoomBoxTheDragBelongsToTheWindow)
{
    showWindow();
    QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, {100, 100});
    EXPECT_TRUE(window->mouseDragActive());
    QTest::mouseMove(plot(), {300, 300});
    QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, {300, 300});
    EXPECT_FALSE(window->mouseDragActive());
    EXPECT_EQ(window->presses, 1);
    EXPECT_GE(window->moves, 1);
    EXPECT_EQ(window->releases, 1);
    EXPECT_EQ(currentWorld(), kWorld);
    EXPECT_FALSE(plot()->band().has_value());
}

TEST_F(LessonWindowTest, BandZoomsToItsRectangleInEitherDirectionOrFallsBackToTheStartWindow)
{
    showWindow();
    checkZoomBox();
    const double w = PlotWidth;
    const double h = PlotHeight;
    QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, {100, 50});
    EXPECT_TRUE(window->rubberBandActive());
    QTest::mouseMove(plot(), {300, 250});
    ASSERT_TRUE(plot()->band().has_value());
    EXPECT_EQ(plot()->band()->normalized().topLeft(), QPoint(100, 50));
    QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, {300, 250});
    expectWorldNear(currentWorld(),
                    {100 / w * 14 - 7, 300 / w * 14 - 7, (1 - 250 / h) * 14 - 7, (1 - 50 / h) * 14 - 7});
    EXPECT_FALSE(plot()->band().has_value());
    EXPECT_FALSE(window->rubberBandActive());
    EXPECT_EQ(window->presses, 0);
    EXPECT_EQ(window->worldChanges, std::vector<WorldChange>{WorldChange::Band});
    // The same band dragged from its lower right corner.
    const WorldRect forward = currentWorld();
    setWorld(kWorld);
    drag({300, 250}, {100, 50});
    EXPECT_EQ(currentWorld(), forward);
    // A band that would zoom in too far.
    setWorld({0, 0.001, 0, 0.001});
    drag({100, 50}, {112, 62});
    EXPECT_EQ(currentWorld(), (WorldRect{-3, 5, -2, 4}));
}

TEST_F(LessonWindowTest, BandIsShownOverThePictureAndGoneAfterwards)
{
    showWindow();
    checkZoomBox();
    // Counts pixels of the box's top edge row that differ from the finished picture.
    const auto changedOnEdge = [this] {
        const QImage shown = plot()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int changed = 0;
        for (int x = 120; x < 280; ++x) {
            changed += (shown.pixel(x, 50) & 0xFFFFFF) != (window->foregroundImage().pixel(x, 50) & 0xFFFFFF);
        }
        return changed;
    };
    QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, {100, 50});
    QTest::mouseMove(plot(), {300, 250});
    EXPECT_GT(changedOnEdge(), 40);
    QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, {105, 250});
    EXPECT_EQ(changedOnEdge(), 0);
}

TEST_F(LessonWindowTest, NarrowBandOrAReleaseWithoutItsOwnBandChangesNothing)
{
    showWindow();
    // The press came while "Zoom" was off; the release after checking it finds no band.
    QTest::mousePress(plot(), Qt::LeftButton, Qt::NoModifier, {100, 50});
    checkZoomBox();
    QTest::mouseRelease(plot(), Qt::LeftButton, Qt::NoModifier, {300, 250});
    const int passes = window->foregroundPasses;
    drag({100, 50}, {110, 250});
    drag({100, 250}, {300, 240});
    EXPECT_EQ(currentWorld(), kWorld);
    EXPECT_FALSE(plot()->band().has_value());
    EXPECT_EQ(window->foregroundPasses, passes);
}

TEST_F(LessonWindowTest, RightClickOnThePlotOpensTheSettingsAndOnThePanelGoesToTheWindowsHook)
{
    showWindow();
    QTest::mouseClick(plot(), Qt::RightButton, Qt::NoModifier, {50, 50});
    EXPECT_EQ(window->settingsOpened, 1);
    EXPECT_FALSE(window->mouseDragActive());
    button("SpeedButton14")->click();
    EXPECT_EQ(window->settingsOpened, 2);
    QWidget* panel = window->findChild<QWidget*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    QTest::mouseClick(panel, Qt::RightButton, Qt::NoModifier, {2, 2});
    QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, {2, 2});
    EXPECT_EQ(window->panelRightClicks, 1);
    // A label leaves the click to the panel.
    auto* label = window->findChild<QWidget*>(QStringLiteral("Label10"));
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::RightButton, Qt::NoModifier, {2, 2});
    EXPECT_EQ(window->panelRightClicks, 2);
    EXPECT_EQ(window->settingsOpened, 2);
}

TEST_F(LessonWindowTest, SettingsAndHelpOpenTheirDialogsAndTheWindowRedrawsAfterSettings)
{
    window->realDialogs = true;
    std::vector<std::string> opened;
    std::function<void()> colourChanged;
    FrameDialogs dialogs;
    dialogs.settings = [&](QWidget* owner, const std::function<void()>& curveColourChanged) {
        EXPECT_EQ(owner, window.get());
        opened.push_back("settings");
        colourChanged = curveColourChanged;
    };
    dialogs.help = [&](QWidget* owner) {
        EXPECT_EQ(owner, window.get());
        opened.push_back("help");
    };
    InstallFrameDialogs(dialogs);
    showWindow();
    int passes = window->foregroundPasses;
    button("SpeedButton14")->click();
    EXPECT_GT(window->foregroundPasses, passes);
    // The dialog's curve colour shows at once.
    passes = window->foregroundPasses;
    ASSERT_TRUE(colourChanged);
    colourChanged();
    EXPECT_GT(window->foregroundPasses, passes);
    button("SpeedButton28")->click();
    EXPECT_EQ(opened, (std::vector<std::string>{"settings", "help"}));

    // Whatever world window the dialog leaves, the window checks it before drawing.
    dialogs.settings = [](QWidget*, const std::function<void()>&) {
        XMin = 5;
        XMax = -5;
    };
    InstallFrameDialogs(dialogs);
    button("SpeedButton14")->click();
    EXPECT_LT(XMin, XMax);
    EXPECT_EQ(currentWorld(), startWorld());
    InstallFrameDialogs({});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(LessonWindowTest, VariantDecidesOnHelpPadAndBand)
{
    LessonVariant v = TestLessonWindow::testVariant();
    v.helpButton = false;
    v.zoomPad = false;
    v.rubberBand = RubberBandMode::None;
    TestLessonWindow bare(v);
    EXPECT_EQ(bare.findChild<QAbstractButton*>(QStringLiteral("SpeedButton28")), nullptr);
    EXPECT_EQ(bare.findChild<QAbstractButton*>(QStringLiteral("SpeedButton3")), nullptr);
    EXPECT_EQ(bare.zoomCheckBox(), nullptr);
    EXPECT_EQ(bare.helpButton(), nullptr);
    ASSERT_NE(button("SpeedButton28"), nullptr);
    EXPECT_EQ(window->helpButton(), button("SpeedButton28"));
    // A window that always draws the band needs no "Zoom" box.
    remake([](LessonVariant& v) { v.rubberBand = RubberBandMode::Always; });
    showWindow();
    EXPECT_EQ(window->zoomCheckBox(), nullptr);
    drag({300, 250}, {100, 50});
    EXPECT_NE(currentWorld(), kWorld);
}

TEST_F(LessonWindowTest, FrameControlsTakeTheNamesTheVariantGives)
{
    LessonVariant v = TestLessonWindow::testVariant();
    v.names.zoomOut = "SpeedButton1";
    v.names.zoomIn = "SpeedButton4";
    v.names.pad[3] = "SpeedButton9";
    v.names.pad[5] = "SpeedButton5";
    v.names.coordinateCaption = "Label1";
    v.names.close = "SpeedButton6";
    v.names.zoomBox = "BitCheckBox6";
    TestLessonWindow named(v);
    const auto find = [&named](const char* name) {
        return named.findChild<QAbstractButton*>(QString::fromLatin1(name));
    };
    ASSERT_NE(find("SpeedButton1"), nullptr);
    EXPECT_EQ(find("SpeedButton1")->toolTip(), QStringLiteral("Zoom out"));
    ASSERT_NE(find("SpeedButton4"), nullptr);
    EXPECT_EQ(find("SpeedButton4")->toolTip(), QStringLiteral("Zoom in"));
    ASSERT_NE(find("SpeedButton6"), nullptr);
    EXPECT_EQ(find("SpeedButton6")->text(), QStringLiteral("&Beenden"));
    for (const char* gone : {"SpeedButton3", "SpeedButton7", "SpeedButton8", "SpeedButton35"}) {
        EXPECT_EQ(find(gone), nullptr) << gone;
    }
    ASSERT_NE(named.findChild<QLabel*>(QStringLiteral("Label1")), nullptr);
    EXPECT_EQ(named.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Koordinatensys."));
    EXPECT_EQ(named.zoomCheckBox()->objectName(), QStringLiteral("BitCheckBox6"));
    EXPECT_EQ(named.findChild<BitCheckBox*>(QStringLiteral("BitCheckBox5")), nullptr);

    // The renamed pad keys still pan their way: left moves the window left, right moves it right.
    setWorld(kWorld);
    find("SpeedButton9")->click();
    EXPECT_NEAR(XMin, -8.4, 1e-9);
    setWorld(kWorld);
    find("SpeedButton5")->click();
    EXPECT_NEAR(XMin, -5.6, 1e-9);
}

// ---- Opening and closing ----

TEST_F(LessonWindowTest, WindowOfAModuleKeepsModuleOpenSetWhileOpenAndEveryWindowLeavesTheScreenScale)
{
    for (const bool module : {true, false}) {
        SCOPED_TRACE(module);
        ModuleOpen = false;
        DrawScale = 3.0;
        LessonVariant v = TestLessonWindow::testVariant();
        v.setsModuleOpen = module;
        TestLessonWindow lesson(v);
        EXPECT_EQ(ModuleOpen, module);
        EXPECT_EQ(DrawScale, 1.0);
        lesson.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&lesson));
        DrawScale = 3.0; // whatever it holds, the next window finds the screen's scale
        lesson.close();
        EXPECT_FALSE(ModuleOpen);
        EXPECT_EQ(DrawScale, 1.0);
    }
    // A window destroyed without closing does not leave a module counted as open either.
    LessonVariant v = TestLessonWindow::testVariant();
    v.setsModuleOpen = true;
    std::make_unique<TestLessonWindow>(v).reset();
    EXPECT_FALSE(ModuleOpen);
}

// ---- Keys ----

TEST_F(LessonWindowTest, EnterMovesTheFocusOnAndPressesNoButtonEscapeClosesAndStopsTheSwitches)
{
    showWindow();
    focus(window->termEdit);
    ASSERT_TRUE(window->termEdit->hasFocus());
    QTest::keyClick(window->termEdit, Qt::Key_Return);
    EXPECT_TRUE(window->valueEdit->hasFocus());
    QTest::keyClick(window->valueEdit, Qt::Key_Enter);
    EXPECT_FALSE(window->valueEdit->hasFocus());
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->settingsOpened, 0);
    EXPECT_EQ(window->closings, 0);
    window->switchB->setChecked(true);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->switchB->Checked());
    EXPECT_EQ(window->closings, 1);
}

TEST_F(LessonWindowTest, ArrowKeysMoveTheFocusWhereTheVariantSaysSo)
{
    showWindow();
    focus(window->valueEdit);
    QTest::keyClick(window->valueEdit, Qt::Key_Up);
    EXPECT_TRUE(window->termEdit->hasFocus());
    QTest::keyClick(window->termEdit, Qt::Key_Down);
    EXPECT_TRUE(window->valueEdit->hasFocus());
    remake([](LessonVariant& v) { v.arrowKeys = ArrowKeys::None; });
    showWindow();
    focus(window->valueEdit);
    QTest::keyClick(window->valueEdit, Qt::Key_Up);
    EXPECT_TRUE(window->valueEdit->hasFocus());
}

// ---- Delay ----

TEST_F(LessonWindowTest, DelayKindAWaitsMoreThanFifteenMillisecondsAndHandlesEvents)
{
    bool handled = false;
    queue([&] { handled = true; });
    const std::int64_t start = GetTickCount();
    window->Delay(0);
    EXPECT_GT(GetTickCount() - start, 15);
    EXPECT_TRUE(handled);
}

TEST_F(LessonWindowTest, DelayKindBWithZeroHandlesThePendingEventsOnceAndOtherwiseWaits)
{
    remake([](LessonVariant& v) { v.delay = DelayKind::B; });
    bool first = false;
    bool second = false;
    // A pending timer bound to the test's own object, so that it can never fire into a later test.
    QObject timerOwner;
    bool timerFired = false;
    QTimer::singleShot(5000, &timerOwner, [&] { timerFired = true; });
    queue([&] {
        first = true;
        queue([&] { second = true; });
    });
    window->Delay(0);
    EXPECT_TRUE(first);
    EXPECT_FALSE(second);
    EXPECT_FALSE(timerFired);
    QApplication::processEvents();
    EXPECT_TRUE(second);
    const std::int64_t start = GetTickCount();
    window->Delay(20);
    EXPECT_GT(GetTickCount() - start, 20);
}

// ---- Animation ----

TEST_F(LessonWindowTest, AnimationRunsUntilItsSwitchIsTurnedOffAndTheDirectionButtonReversesIt)
{
    showWindow();
    animateA(8, 5, [this] { window->directionButton->click(); });
    EXPECT_EQ(window->frames, 8);
    EXPECT_NEAR(ParamA, 1.08, 1e-9); // five steps of 0.04 up, three down
    EXPECT_FALSE(AnimationRunning);
    EXPECT_FALSE(window->animationLoopActive());
    EXPECT_EQ(window->finishedTracks, std::vector<QString>{QStringLiteral("Switch1")});
}

TEST_F(LessonWindowTest, ValueBeyondItsRangeComesBackIntoIt)
{
    ParamA = 10;
    AnimationSteps = 20; // 0.4 per frame
    showWindow();
    animateA(25);
    EXPECT_GE(ParamA, -4.0);
    EXPECT_LE(ParamA, 4.0);
}

TEST_F(LessonWindowTest, SecondSwitchTakesTheRunningLoopOver)
{
    showWindow();
    bool handlerReturned = false;
    int framesAtTakeOver = -1;
    animateA(6, 3, [&] {
        post([&] {
            framesAtTakeOver = window->frames;
            clickSwitch(window->switchB, true);
            // The click handler came back at once instead of running a loop of its own.
            handlerReturned = true;
            EXPECT_FALSE(window->switchA->Checked());
            EXPECT_EQ(window->finishedTracks, std::vector<QString>{QStringLiteral("Switch1")});
        });
    });
    EXPECT_TRUE(handlerReturned);
    EXPECT_EQ(framesAtTakeOver, 3);
    EXPECT_EQ(window->frames, 6);
    EXPECT_NEAR(ParamA, 1.12, 1e-9);
    EXPECT_NEAR(ParamB, 0.12, 1e-9);
    EXPECT_EQ(window->finishedTracks,
              (std::vector<QString>{QStringLiteral("Switch1"), QStringLiteral("Switch2")}));
    EXPECT_FALSE(AnimationRunning);
}

TEST_F(LessonWindowTest, ClickingTheRunningSwitchOffDrawsOneMoreFrame)
{
    showWindow();
    int framesAtClick = -1;
    animateA(100, 4, [&] {
        post([&] {
            framesAtClick = window->frames;
            clickSwitch(window->switchA, false);
        });
    });
    EXPECT_EQ(framesAtClick, 4);
    EXPECT_EQ(window->frames, framesAtClick + 1);
    EXPECT_EQ(window->finishedTracks.size(), 1u);
    EXPECT_FALSE(AnimationRunning);
}

TEST_F(LessonWindowTest, WindowWithoutDelayStillSeesItsSwitchTurnedOff)
{
    remake([](LessonVariant& v) { v.delay = DelayKind::None; });
    window->showDerivative = false;
    showWindow();
    bool offByEvent = false;
    animateA(100000, 2, [&] {
        post([&] {
            offByEvent = true;
            window->switchA->setChecked(false);
        });
    });
    EXPECT_TRUE(offByEvent);
    EXPECT_LT(window->frames, 100);
}

TEST_F(LessonWindowTest, ClickOnAnIdleSwitchThatStaysOffDrawsOneFrame)
{
    showWindow();
    clickSwitch(window->switchA, false);
    EXPECT_EQ(window->frames, 1);
    EXPECT_FALSE(AnimationRunning);
}

// Ways of asking the window to close while it animates: the close box, Escape and "&Beenden".
class CloseDuringAnimationTest : public LessonWindowTest,
                                 public ::testing::WithParamInterface<const char*> {};

TEST_P(CloseDuringAnimationTest, WindowClosesOnceTheLoopHasReturned)
{
    const std::string way = GetParam();
    bool visibleAtRequest = false;
    // A loop that ignored the request would end at frame 500, failing the test instead of hanging.
    post([&] {
        animateA(500, 3, [&] {
            if (way == "CloseBox") {
                window->close();
            } else if (way == "Escape") {
                QTest::keyClick(window.get(), Qt::Key_Escape);
            } else {
                button("SpeedButton35")->click();
            }
            visibleAtRequest = window->isVisible();
        });
    });
    EXPECT_EQ(window->exec(), QDialog::Rejected);
    EXPECT_TRUE(visibleAtRequest);
    EXPECT_EQ(window->frames, 3); // none after the request
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->switchA->Checked());
    EXPECT_FALSE(AnimationRunning);
    EXPECT_EQ(window->closings, 1);
    EXPECT_EQ(window->finishedTracks.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseDuringAnimationTest,
                         ::testing::Values("CloseBox", "Escape", "QuitButton"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return info.param; });

} // namespace
} // namespace kurvex

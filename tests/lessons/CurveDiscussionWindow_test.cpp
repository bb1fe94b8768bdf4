// Tests of the curve-discussion window through its widgets: tangent and triangle, the growing
// derivative, parameters that stay put, an undefined x0, the animation, examples, export, launcher.
#include "lessons/CurveDiscussionWindow.h"

#include "app/LessonRegistry.h"
#include "core/CoordinateSystem.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/PrintExportHooks.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"
#include "support/TestTempDir.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ClickBox;
using test::Control;
using test::LinePoints;
using test::RecordPicture;
using test::TypeInto;

// 400 columns and two panes of 400 rows: -7..7 moves x0 by 0.035 per frame.
const QSize kLayers(400, 800);

// Whether a point lies within one column and the given rows of p.
bool near(const std::vector<Point>& pts, Point p, int rows)
{
    return std::any_of(pts.begin(), pts.end(),
                       [&](Point q) { return std::abs(q.x - p.x) <= 1 && std::abs(q.y - p.y) <= rows; });
}

class CurveDiscussionWindowTest : public test::WindowFixture<CurveDiscussionWindow> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        setWorld({-7, 7, -7, 7});
        Decimals = 2;
        TangentLength = 1;
        CurrentX = 0;
        ParamA = 1;
        ParamB = 0;
        ParamC = 0;
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        DrawCanvas = nullptr;
    }

    void open(const char* term)
    {
        TermText = term;
        WindowFixture::open(kLayers);
    }
    static Point pixel(double x, double y) { return {WorldToPixelX(x), WorldToPixelY(y)}; }

    std::string programFile(const char* name) const
    {
        return programDir.filePath(QString::fromLatin1(name)).toStdString();
    }
};

TEST_F(CurveDiscussionWindowTest, OpensWithItsControlsCaptionsAndLimits)
{
    open("x^3-3x");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Monotonie, Krümmungsverhalten - Kurvendiskussion"));
    EXPECT_TRUE(ModuleOpen);
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^3-3x"));
    EXPECT_EQ(control<QLineEdit>("Edit1")->maxLength(), 120);
    EXPECT_EQ(control<QLineEdit>("Edit2")->maxLength(), 100);
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("0,00"));
    const std::pair<const char*, const char*> boxes[] = {{"BitCheckBox1", "f' "},
                                                         {"BitCheckBox2", "f'' "},
                                                         {"BitCheckBox3", "f' erzeugen"},
                                                         {"BitCheckBox4", "Steigungsdreieck"}};
    for (const auto& [name, caption] : boxes) {
        SCOPED_TRACE(name);
        EXPECT_EQ(control<BitCheckBox>(name)->text(), QString::fromUtf8(caption));
        EXPECT_FALSE(control<BitCheckBox>(name)->Checked());
    }
    EXPECT_EQ(control<QPushButton>("SpeedButton6")->text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(control<QToolButton>("SpeedButton13")->toolTip(), QStringLiteral("Anfangswerte setzen"));
    for (const char* name : {"Switch4", "SpeedButton2", "ListBox1", "SpeedButton1", "SpeedButton4",
                             "SpeedButton5", "SpeedButton28"}) {
        EXPECT_NE(Control<QWidget>(*window, name), nullptr) << name;
    }
    EXPECT_EQ(PlotWidth, 400);
    EXPECT_EQ(PlotHeight, 400);
    window->reject();
    EXPECT_FALSE(ModuleOpen);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CurveDiscussionWindowTest, TangentTriangleAndLabelOfTheParabolaAtOne)
{
    open("x^2");
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("1"));
    ClickBox(control<BitCheckBox>("BitCheckBox4"));
    ClickBox(control<BitCheckBox>("BitCheckBox1"));
    const RecordingCanvas c = RecordPicture(*window);

    std::vector<CanvasCall> triangles;
    for (const CanvasCall& call : c.callsOf(CanvasOp::Polygon)) {
        if (call.brush.color == TriangleColor && call.origin.y == 0) {
            triangles.push_back(call);
        }
    }
    ASSERT_EQ(triangles.size(), 1u);
    EXPECT_EQ(triangles[0].points, (std::vector<Point>{pixel(1, 1), pixel(2, 1), pixel(2, 3)}));

    // Every tangent point lies on y = 2x - 1, within the upper pane.
    const std::vector<Point> tangent = LinePoints(c, TangentLineColor, 0);
    ASSERT_FALSE(tangent.empty());
    for (const Point p : tangent) {
        const double x = PixelToWorldX(p.x);
        EXPECT_NEAR(p.y, WorldToPixelY(2 * x - 1), 1.5) << p.x;
    }
    EXPECT_EQ(label("Label2"), QStringLiteral("f'(  1,0000) =  2,0000"));
    EXPECT_EQ(label("Label3"), QString());
    // The value of f' at x0 in red in the lower pane, from the axis up to 2.
    const std::vector<Point> red = LinePoints(c, clRed, PlotHeight);
    EXPECT_TRUE(near(red, pixel(1, 0), 0));
    EXPECT_TRUE(near(red, pixel(1, 2), 1));
}

TEST_F(CurveDiscussionWindowTest, DerivativeGrowsOnlyOverTheSweptRange)
{
    open("x^2");
    ClickBox(control<BitCheckBox>("BitCheckBox3"));
    // Grabbed at x0 = 0, dragged to 2, back to -1 and released there.
    test::DragOnPlot(window->plotBox(),
                     {QPoint(pixel(0, 0).x, 100), QPoint(pixel(1, 0).x, 100), QPoint(pixel(2, 0).x, 100),
                      QPoint(pixel(0.5, 0).x, 500), QPoint(pixel(-1, 0).x, 500)});
    EXPECT_NEAR(CurrentX, -1, 0.04);
    EXPECT_NEAR(window->sweep().min, CurrentX, 1e-12);
    EXPECT_NEAR(window->sweep().max, 2, 0.04);
    const std::vector<Point> grown = LinePoints(RecordPicture(*window), Deriv1Color, PlotHeight);
    ASSERT_FALSE(grown.empty());
    const auto [left, right] =
        std::minmax_element(grown.begin(), grown.end(), [](Point a, Point b) { return a.x < b.x; });
    EXPECT_NEAR(left->x, pixel(-1, 0).x, 2);
    EXPECT_NEAR(right->x, pixel(2, 0).x, 2);

    // Switched off, the grown part goes; on again, a new sweep starts at x0.
    ClickBox(control<BitCheckBox>("BitCheckBox3"));
    EXPECT_TRUE(LinePoints(RecordPicture(*window), Deriv1Color, PlotHeight).empty());
    ClickBox(control<BitCheckBox>("BitCheckBox3"));
    EXPECT_EQ(window->sweep(), StartSweep(CurrentX));
}

// The tangent lives in the window: a term with t and a keeps its curve, and ParamA and ParamB
// (which a settings save would write) keep the values they were loaded with.
TEST_F(CurveDiscussionWindowTest, TermWithParametersDrawsTheSameCurveInConsecutiveFrames)
{
    ParamA = 1; // t
    ParamB = 2; // a
    open("a*x^2+t");
    ClickBox(control<BitCheckBox>("BitCheckBox1"));
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("1"));
    const std::vector<Point> first = LinePoints(RecordPicture(*window), GraphColor, 0);
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("2,5"));
    window->drawPicture();
    const std::vector<Point> second = LinePoints(RecordPicture(*window), GraphColor, 0);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    EXPECT_TRUE(near(first, pixel(1, 3), 5)); // 2 · 1² + 1
    EXPECT_EQ(ParamA, 1);
    EXPECT_EQ(ParamB, 2);
    EXPECT_EQ(label("Label2"), QStringLiteral("f'(  2,5000) = 10,0000"));
}

TEST_F(CurveDiscussionWindowTest, UndefinedPointLeavesOutTangentLinesAndTriangle)
{
    open("ln(x)");
    for (const char* box : {"BitCheckBox1", "BitCheckBox2", "BitCheckBox4"}) {
        ClickBox(control<BitCheckBox>(box));
    }
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("-1"));
    const RecordingCanvas c = RecordPicture(*window);
    EXPECT_TRUE(LinePoints(c, TangentLineColor).empty());
    EXPECT_TRUE(LinePoints(c, clSilver).empty());
    for (const CanvasCall& call : c.callsOf(CanvasOp::Polygon)) {
        EXPECT_NE(call.brush.color, TriangleColor);
    }
    EXPECT_EQ(label("Label2"), QStringLiteral("f'( -1,0000) = nicht definiert"));
    EXPECT_EQ(label("Label3"), QStringLiteral("f''( -1,0000) = nicht definiert"));

    // Defined again at 1: everything is back.
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("1"));
    const RecordingCanvas defined = RecordPicture(*window);
    EXPECT_FALSE(LinePoints(defined, TangentLineColor).empty());
    EXPECT_FALSE(LinePoints(defined, clSilver).empty());
    EXPECT_EQ(label("Label2"), QStringLiteral("f'(  1,0000) =  1,0000"));
}

TEST_F(CurveDiscussionWindowTest, AnimationMovesOnePixelColumnAndTurnsAtTheEdge)
{
    open("x^2");
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("6,93"));
    // Every frame shows x0 in its edit.
    std::vector<double> frames;
    QObject::connect(control<QLineEdit>("Edit3"), &QLineEdit::textChanged,
                     [&] { frames.push_back(CurrentX); });
    test::Animate(control<ToggleSwitch>("Switch4"), [&](int) { return frames.size() >= 6; });
    EXPECT_FALSE(AnimationRunning);
    ASSERT_GE(frames.size(), 6u);
    EXPECT_NEAR(frames[0], 6.965, 1e-9);
    EXPECT_NEAR(frames[1], 7.0, 1e-9);
    EXPECT_NEAR(frames[2], 6.965, 1e-9);
    EXPECT_NEAR(frames[3], 6.93, 1e-9);
    const double steps = (CurrentX - 6.93) / 0.035;
    EXPECT_NEAR(steps, std::nearbyint(steps), 1e-6);
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(),
              QString::fromStdString(FormatNumber(2, CurrentX)).trimmed());

    // A zoom changes the step to the new column width; a pan keeps it.
    control<QToolButton>("SpeedButton7")->click();
    EXPECT_DOUBLE_EQ(window->xAnimationStep(), 7.0 / 400);
    control<QToolButton>("SpeedButton9")->click();
    EXPECT_DOUBLE_EQ(window->xAnimationStep(), 7.0 / 400);
}

TEST_F(CurveDiscussionWindowTest, TypedPointFarOutsideDrawsAtOnce)
{
    open("x^2");
    ClickBox(control<BitCheckBox>("BitCheckBox3"));
    TypeInto(control<QLineEdit>("Edit3"), QStringLiteral("1e12"));
    EXPECT_EQ(CurrentX, 1e12);
    EXPECT_EQ(window->sweep().max, 1e12);
    // The grown derivative stops at the window's edge.
    for (const Point p : LinePoints(RecordPicture(*window), Deriv1Color, PlotHeight)) {
        EXPECT_LE(p.x, PlotWidth + 2);
    }
}

TEST_F(CurveDiscussionWindowTest, ExamplesFetchAddAndSaveToTheProgramFolderOnClose)
{
    test::WriteBytes(programFile("Bsp1.txt"), "x^2;  Normalparabel\r\nx^3\r\n");
    open("x");
    auto* list = control<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(0);
    control<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^2"));
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("Normalparabel"));
    EXPECT_EQ(TermText, "x^2");
    list->setCurrentRow(1);
    control<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(TermText, "x^3");
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QString());

    // The same term with another remark is refused; a new one is added.
    control<QLineEdit>("Edit2")->setText(QStringLiteral("andere"));
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(list->count(), 2);
    control<QLineEdit>("Edit1")->setText(QStringLiteral("x^3-3x"));
    control<QLineEdit>("Edit2")->setText(QStringLiteral("kubische Parabel"));
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(list->count(), 3);

    // Saved beside the program, whatever folder a dialog left current.
    const auto cwd = std::filesystem::current_path();
    const test::TempDir elsewhere;
    std::filesystem::current_path(elsewhere.path());
    window->reject();
    std::filesystem::current_path(cwd);
    EXPECT_EQ(test::ReadBytes(programFile("Bsp1.txt")),
              "x^2;  Normalparabel\r\nx^3\r\nx^3-3x;  kubische Parabel\r\n");
    EXPECT_FALSE(std::filesystem::exists(elsewhere.path() / "Bsp1.txt"));
}

TEST_F(CurveDiscussionWindowTest, MetafileHoldsBothPanesAtTwiceThePlotHeight)
{
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("kd.wmf")), MetafileKind::Wmf});
    open("x^3-3x");
    ClickBox(control<BitCheckBox>("BitCheckBox1"));
    control<QPushButton>("SpeedButton17")->click();
    QFile file(out.filePath(QStringLiteral("kd.wmf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const test::WmfFile wmf = test::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (400 + 1) * 2);
    EXPECT_EQ(wmf.boxBottom, (400 + 1) * 2 * 2);
    EXPECT_FALSE(Printing);
    EXPECT_EQ(DrawScale, 1.0);
}

// x0 = 1,5 with f', f'' and the slope triangle: f''(x0) = 9 lies far above the lower pane's top.
void showTangentAndBothDerivatives(CurveDiscussionWindow& w)
{
    TypeInto(Control<QLineEdit>(w, "Edit3"), QStringLiteral("1,5"));
    for (const char* box : {"BitCheckBox1", "BitCheckBox2", "BitCheckBox4"}) {
        ClickBox(Control<BitCheckBox>(w, box));
    }
}

TEST_F(CurveDiscussionWindowTest, EachPaneStaysInsideItselfInBothMetafiles)
{
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    open("x^3-3x");
    showTangentAndBothDerivatives(*window);
    // The metafile's plot is (400 + 1) x 2 high: the lower pane starts there.
    const int lowerPaneTop = (400 + 1) * 2;
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        exportTo.choice = {out.filePath(wmf ? QStringLiteral("kd.wmf") : QStringLiteral("kd.emf")), kind};
        control<QPushButton>("SpeedButton17")->click();
        const std::vector<test::Drawn> drawn = test::DrawnInFile(exportTo.choice.path.toStdString());
        // f'' and its value at x0 are lower-pane strokes.
        int strokes = 0;
        for (const test::Drawn& d : drawn) {
            if (d.kind != test::Drawn::Kind::Line || d.penColor != Deriv2Color) {
                continue;
            }
            ++strokes;
            for (const auto& [x, y] : d.points) {
                EXPECT_GE(y, lowerPaneTop) << "at column " << x;
            }
        }
        EXPECT_GT(strokes, 1);
    }
}

// Notes the plot it is printed at.
class PrintObservedCurveDiscussionWindow : public CurveDiscussionWindow {
public:
    std::vector<QSize> printedPlots;

protected:
    void paintForeground(int pane) override
    {
        if (Printing && pane == 0) {
            printedPlots.emplace_back(PlotWidth, PlotHeight);
        }
        CurveDiscussionWindow::paintForeground(pane);
    }
};

TEST_F(CurveDiscussionWindowTest, PrintTooTallForThePageIsAskedAboutAndComesOutWholeOrNotAtAll)
{
    QTemporaryDir out;
    test::ScopedExportTo printTo;
    printTo.pdf = out.filePath(QStringLiteral("kd.pdf"));
    // y from -5 to 5 is a legal window; its scale-true print needs two panes of 20 cm.
    setWorld({-7, 7, -5, 5});
    auto observed = std::make_unique<PrintObservedCurveDiscussionWindow>();
    const PrintObservedCurveDiscussionWindow& w = *observed;
    TermText = "x^3-3x";
    window = std::move(observed);
    window->setFixedLayerSize(kLayers);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    showTangentAndBothDerivatives(*window);

    control<QPushButton>("SpeedButton15")->click();
    ASSERT_EQ(printTo.fitQuestions.size(), 1u);
    EXPECT_TRUE(printTo.fitQuestions[0].contains(QStringLiteral("100 %")))
        << printTo.fitQuestions[0].toStdString();
    EXPECT_TRUE(printTo.fitQuestions[0].contains(QStringLiteral("verkleinert")))
        << printTo.fitQuestions[0].toStdString();
    ASSERT_EQ(w.printedPlots.size(), 1u);
    // Both panes on the page, below the origin.
    const QPrinter& printer = ApplicationPrinter();
    EXPECT_LE(PrintOriginY + 2 * w.printedPlots[0].height(), printer.height());
    EXPECT_LE(PrintOriginX + w.printedPlots[0].width(), printer.width());
    EXPECT_TRUE(QFile::exists(printTo.pdf));

    // Declined: nothing is printed.
    QFile::remove(printTo.pdf);
    printTo.fitToPage = false;
    control<QPushButton>("SpeedButton15")->click();
    EXPECT_EQ(printTo.fitQuestions.size(), 2u);
    EXPECT_EQ(w.printedPlots.size(), 1u);
    EXPECT_FALSE(QFile::exists(printTo.pdf));
    EXPECT_FALSE(Printing);
}

TEST_F(CurveDiscussionWindowTest, LauncherEntryOpensTheWindow)
{
    QString title;
    QPointer<CurveDiscussionWindow> shown;
    QTimer::singleShot(0, [&] {
        shown = qobject_cast<CurveDiscussionWindow*>(QApplication::activeModalWidget());
        if (shown) {
            title = shown->windowTitle();
            shown->reject();
        }
    });
    OpenAnalysisLesson(12, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(title, QStringLiteral("Monotonie, Krümmungsverhalten - Kurvendiskussion"));
    EXPECT_TRUE(shown.isNull());
}

} // namespace
} // namespace kurvex

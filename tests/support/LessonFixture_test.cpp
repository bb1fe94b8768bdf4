// Tests of the window-test kit on the frame's test window: program directory, syntax recorder,
// control lookup, typing, clicking, dragging, recording, and what the fixture gives back.
#include "support/LessonFixture.h"

#include "lesson/TestLessonWindow.h"
#include "support/TestTempDir.h"

#include <QDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace kurvex::test {
namespace {

class LessonFixtureTest : public LessonWindowFixture {
protected:
    void show()
    {
        window = std::make_unique<TestLessonWindow>();
        window->setTerm("x^2/4");
        window->resize(900, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->refresh();
    }

    std::unique_ptr<TestLessonWindow> window;
};

TEST_F(LessonFixtureTest, ProgramDirIsAFreshDirectoryThatProgramFilesGoTo)
{
    ASSERT_TRUE(programDir.isValid());
    EXPECT_EQ(ProgramDir, programDir.path().toStdString() + "/");
    EXPECT_TRUE(QDir(programDir.path()).isEmpty());

    writeProgramFile(QStringLiteral("Kurvex.ini"), "[Eingabe]\r\nNachkommastellen=4\r\n");
    EXPECT_EQ(ReadBytes(SettingsFilePath()), "[Eingabe]\r\nNachkommastellen=4\r\n");
    LoadSettings();
    EXPECT_EQ(Decimals, 4);
}

TEST_F(LessonFixtureTest, SyntaxMessagesAreRecordedNotShown)
{
    TermTree tree;
    EXPECT_FALSE(CompileTerm(tree, "sin(", true));
    EXPECT_EQ(syntaxMessages, (std::vector<std::string>{"Syntaxfehler: unvollst\xE4ndig "}));
}

TEST_F(LessonFixtureTest, ControlsAreFoundByNameOrStopTheTestNamingThem)
{
    show();
    EXPECT_EQ(child<QLineEdit>(window.get(), "Edit1"), window->termEdit);
    EXPECT_EQ(child<PlotBox>(window.get(), "PaintBox1"), window->plotBox());
    try {
        child<QToolButton>(window.get(), "Edit1"); // there, but not a button
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with("no QToolButton named \"Edit1\" in ")) << e.what();
    }
    EXPECT_THROW(child<QLineEdit>(window.get(), "Edit99"), std::runtime_error);
}

TEST_F(LessonFixtureTest, TypingRunsTheEditsExitOnce)
{
    show();
    typeInto(window->valueEdit, QStringLiteral("2,5"));
    EXPECT_EQ(ParamA, 2.5);
    typeInto(window->termEdit, QStringLiteral("x^"));
    EXPECT_EQ(syntaxMessages.size(), 1u);
}

TEST_F(LessonFixtureTest, ClickBoxTogglesTheBox)
{
    BitCheckBox box(QStringLiteral("Zoom"));
    box.show();
    int clicks = 0;
    QObject::connect(&box, &BitCheckBox::clicked, [&clicks] { ++clicks; });
    clickBox(&box);
    EXPECT_TRUE(box.Checked());
    clickBox(&box);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

TEST_F(LessonFixtureTest, DragOnPlotPressesMovesWithTheButtonHeldAndReleases)
{
    PlotBox box;
    box.resize(300, 300);
    std::vector<std::tuple<QEvent::Type, QPoint, Qt::MouseButton, Qt::MouseButtons>> seen;
    const auto note = [&seen](QMouseEvent* e) {
        seen.emplace_back(e->type(), e->position().toPoint(), e->button(), e->buttons());
    };
    QObject::connect(&box, &PlotBox::mousePressed, note);
    QObject::connect(&box, &PlotBox::mouseMoved, note);
    QObject::connect(&box, &PlotBox::mouseReleased, note);
    dragOnPlot(&box, {100, 100}, {200, 150});
    const decltype(seen) expected{
        {QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton},
        {QEvent::MouseMove, {200, 150}, Qt::NoButton, Qt::LeftButton},
        {QEvent::MouseButtonRelease, {200, 150}, Qt::LeftButton, Qt::NoButton},
    };
    EXPECT_EQ(seen, expected);
}

// A picture that notes the state it was painted in.
class ProbePicture : public PictureSource {
public:
    void paintPicture() override
    {
        seen = {Printing, DrawScale, DrawCanvas};
        DrawCanvas->setPen(Pen{clRed, 1, PenStyle::Solid});
        DrawCanvas->moveTo(0, 0);
        DrawCanvas->lineTo(10, 20);
    }
    QSize plotSize() const override { return {100, 100}; }
    QFont plotFont() const override { return {}; }
    ExportVariant exportVariant() const override { return {}; }
    void refresh() override { refreshedOn = DrawCanvas; }
    QWidget* dialogParent() override { return nullptr; }

    std::tuple<bool, double, Canvas*> seen;
    Canvas* refreshedOn = nullptr;
};

TEST_F(LessonFixtureTest, RecordPicturePaintsAsForPrintingThenRefreshesTheScreen)
{
    RecordingCanvas screen;
    DrawCanvas = &screen;
    ProbePicture probe;
    const RecordingCanvas recorded = recordPicture(probe);
    EXPECT_TRUE(std::get<0>(probe.seen));
    EXPECT_EQ(std::get<1>(probe.seen), 1.0);
    EXPECT_NE(std::get<2>(probe.seen), &screen);
    ASSERT_EQ(recorded.callsOf(CanvasOp::LineTo).size(), 1u);
    EXPECT_EQ(recorded.callsOf(CanvasOp::LineTo)[0].points, (std::vector<Point>{{0, 0}, {10, 20}}));
    EXPECT_EQ(std::tuple(Printing, DrawCanvas, probe.refreshedOn), std::tuple(false, &screen, &screen));
}

TEST_F(LessonFixtureTest, RecordPictureSeesBothPassesOfAWindow)
{
    show();
    const int passes = window->foregroundPasses;
    const RecordingCanvas recorded = recordPicture(*window);
    EXPECT_GT(window->foregroundPasses, passes);
    EXPECT_FALSE(recorded.callsOf(CanvasOp::LineTo).empty());
    EXPECT_FALSE(Printing);
}

// The fixture on its own, so that what it gives back can be checked after it has gone.
class BareFixture : public LessonWindowFixture {
    void TestBody() override {}
};

TEST(LessonWindowFixture, GivesBackTheSharedStateAndTheFramesDialogs)
{
    const SharedStateScope outer;
    ProgramDir = "/before/";
    ParamA = 1.5;
    int helpOpened = 0;
    InstallFrameDialogs({{}, [&helpOpened](QWidget*) { ++helpOpened; }});
    {
        BareFixture fixture;
        EXPECT_NE(ProgramDir, "/before/");
        InstallFrameDialogs({});
        ParamA = 3.0;
        ListInsert(ObjectList, 1, ListRecord{});
    }
    EXPECT_EQ(ProgramDir, "/before/");
    EXPECT_EQ(ParamA, 1.5);
    EXPECT_TRUE(ListEmpty(ObjectList));
    ASSERT_TRUE(InstalledFrameDialogs().help);
    InstalledFrameDialogs().help(nullptr);
    EXPECT_EQ(helpOpened, 1);
    InstallFrameDialogs({});
}

} // namespace
} // namespace kurvex::test

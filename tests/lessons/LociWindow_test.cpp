// Tests of the loci window through its widgets: trails of special points on their locus and after a
// zoom, the spectrum choice, fixed states kept or dropped, terms, the t range and steps, the
// animation, and the export.
#include "lessons/LociWindow.h"

#include "app/LessonRegistry.h"
#include "controls/BitCheckBox.h"
#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/FunctionGraph.h"
#include "core/Loci.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/FrameDialogs.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"
#include "platform/RecordingCanvas.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileReader.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::ClickBox;
using test::Control;
using test::TypeInto;

class LociWindowTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // No settings file here: every opening starts from the built-in defaults.
        ProgramDir = dir.path().toStdString() + "/";
        SetSyntaxErrorHandler([this](int, const std::string& text, int) { messages.push_back(text); });
        AnimationDelay = 0;
        InstallFrameDialogs({[this](QWidget*, const std::function<void()>&) { ++settingsOpened; }, {}});
    }

    void TearDown() override
    {
        window.reset();
        SetSyntaxErrorHandler(nullptr);
        InstallFrameDialogs({});
        DrawCanvas = nullptr;
        ListClear(ObjectList);
    }

    void open()
    {
        window = std::make_unique<LociWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }
    QScrollBar* tBar() const { return window->tRow().bar(); }

    // Centres of the disks drawn in the colour.
    static std::vector<QPointF> diskCentres(const RecordingCanvas& c, TColor color)
    {
        std::vector<QPointF> out;
        for (const CanvasCall& call : c.callsOf(CanvasOp::Ellipse)) {
            if (call.brush.color == color) {
                out.emplace_back(PixelToWorldX((call.rect.left + call.rect.right) / 2),
                                 PixelToWorldY((call.rect.top + call.rect.bottom) / 2));
            }
        }
        return out;
    }

    static bool drewInColour(const RecordingCanvas& c, TColor color)
    {
        const auto lines = c.callsOf(CanvasOp::LineTo);
        return std::any_of(lines.begin(), lines.end(),
                           [color](const CanvasCall& l) { return l.pen.color == color; });
    }

    QTemporaryDir dir;
    std::vector<std::string> messages;
    int settingsOpened = 0;
    std::unique_ptr<LociWindow> window;
};

TEST_F(LociWindowTest, LowPointsTraceTheLocusAndAZoomReplaysThem)
{
    open();
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2-t*x"));
    TypeInto(control<QLineEdit>("Edit14"), QStringLiteral("-2"));
    TypeInto(control<QLineEdit>("Edit15"), QStringLiteral("2"));
    ClickBox(control<BitCheckBox>("BitCheckBox2")); // Tiefpunkte
    ClickBox(control<BitCheckBox>("BitCheckBox4")); // Punkte fixieren
    ASSERT_TRUE(TraceMode);
    for (int p = 100; p <= 1000; p += 100) {
        tBar()->setValue(p);
    }
    ASSERT_EQ(ListCount(ObjectList), 10u);
    EXPECT_DOUBLE_EQ(ParamT, 2.0);

    for (const bool zoomed : {false, true}) {
        SCOPED_TRACE(zoomed ? "after zoom out" : "as drawn");
        if (zoomed) {
            QTest::mouseClick(control<QToolButton>("SpeedButton3"), Qt::LeftButton);
        }
        const RecordingCanvas c = test::RecordPicture(*window);
        const auto lows = diskCentres(c, 0xFF0000);
        // Ten fixed members and the current one.
        ASSERT_EQ(lows.size(), 11u);
        const double pixel = (XMax - XMin) / PlotWidth;
        for (const QPointF& p : lows) {
            EXPECT_NEAR(p.y(), -p.x() * p.x(), 4 * pixel * (1 + std::fabs(p.x()))) << p.x();
        }
    }
}

TEST_F(LociWindowTest, SpectrumChoiceSurvivesARepaintAndLeavesTheLineColour)
{
    open();
    GraphColor = 0x000080;
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2+t"));
    control<QSlider>("TrackBar2")->setValue(5);
    window->refresh();
    EXPECT_EQ(SpectrumIndex, 5);
    EXPECT_EQ(control<QSlider>("TrackBar2")->value(), 5);

    ClickBox(control<BitCheckBox>("BitCheckBox9"));
    ClickBox(control<BitCheckBox>("BitCheckBox10")); // Kurvenschar fixieren
    tBar()->setValue(900);
    const TColor spectrum = SpectrumColor(ParamT, ParamTMin, ParamTMax, 5);
    EXPECT_EQ(window->memberColor(), spectrum);
    EXPECT_EQ(GraphColor, 0x000080u);
    EXPECT_TRUE(drewInColour(test::RecordPicture(*window), spectrum));

    // An animation with the spectrum leaves the shared line colour as the user chose it.
    ToggleSwitch* s = control<ToggleSwitch>("Switch5");
    int frames = 0;
    test::AnimateUntil(
        s, [s] { emit s->clicked(); }, [&frames] { return ++frames > 5; });
    EXPECT_EQ(GraphColor, 0x000080u);
    ClickBox(control<BitCheckBox>("BitCheckBox9"));
    EXPECT_EQ(window->memberColor(), 0x000080u);
    // The fixed members keep the colours they were fixed in.
    EXPECT_TRUE(drewInColour(test::RecordPicture(*window), spectrum));
}

TEST_F(LociWindowTest, FamilyWithoutSpecialPointsMarksNone)
{
    open();
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("2*x+t"));
    for (const char* box : {"BitCheckBox1", "BitCheckBox2", "BitCheckBox3"}) {
        ClickBox(control<BitCheckBox>(box));
    }
    for (const int p : {1, 500, 1000}) {
        tBar()->setValue(p);
        EXPECT_EQ(test::RecordPicture(*window).count(CanvasOp::Ellipse), 0u) << p;
    }
}

TEST_F(LociWindowTest, FixedStatesStayUnlessTheFamilyTermChanges)
{
    open();
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2-t"));
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(control<QToolButton>("SpeedButton6"), Qt::LeftButton);
    }
    ASSERT_EQ(ListCount(ObjectList), 3u);
    EXPECT_TRUE(control<QToolButton>("SpeedButton12")->isEnabled());

    // Leaving the untouched edit, opening the settings and a repaint keep them.
    QLineEdit* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::mouseClick(control<QPushButton>("SpeedButton14"), Qt::LeftButton);
    EXPECT_EQ(settingsOpened, 1);
    window->refresh();
    EXPECT_EQ(ListCount(ObjectList), 3u);

    QTest::mouseClick(control<QToolButton>("SpeedButton12"), Qt::LeftButton);
    EXPECT_EQ(ListCount(ObjectList), 2u);
    TypeInto(edit, QStringLiteral("x^3-t"));
    EXPECT_TRUE(ListEmpty(ObjectList));
    EXPECT_FALSE(control<QToolButton>("SpeedButton12")->isEnabled());
    EXPECT_FALSE(control<QToolButton>("SpeedButton5")->isEnabled());
    EXPECT_EQ(TermGeneral, "x^3-t");
}

TEST_F(LociWindowTest, StoredTermDrawnFromTheStartAndAWrongTermReportedOnce)
{
    TermGeneral = "x^3";
    CompileTerm(ParsedTerm, "sin(x)", true); // what an earlier lesson left behind
    std::string file = "[Funktionsterme]\r\nf(x,a,b,c,d)=x^3\r\n";
    QFile ini(dir.filePath(QStringLiteral("Kurvex.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(file.data(), static_cast<qint64>(file.size()));
    ini.close();
    open();
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("x^3"));
    EXPECT_DOUBLE_EQ(EvaluateTerm(ParsedTerm, 2, 0, 0, 0, 0, 0, 0), 8.0);
    EXPECT_TRUE(control<QLineEdit>("Edit2")->text().isEmpty());

    TypeInto(control<QLineEdit>("Edit2"), QStringLiteral("sin(x+"));
    ClickBox(control<BitCheckBox>("BitCheckBox7"));
    tBar()->setValue(10);
    window->refresh();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(LociWindowTest, RangeWithoutRoomIsRefusedAndStepsSetTheGrid)
{
    open();
    struct Case {
        const char* edit;
        const char* text;
        double min, max;
    };
    const Case cases[] = {{"Edit14", "4", -4, 4},
                          {"Edit14", "5", -4, 4},
                          {"Edit15", "-4", -4, 4},
                          {"Edit14", "-1", -1, 4},
                          {"Edit15", "1", -1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edit << " " << c.text);
        TypeInto(control<QLineEdit>(c.edit), QString::fromLatin1(c.text));
        EXPECT_EQ(ParamTMin, c.min);
        EXPECT_EQ(ParamTMax, c.max);
        EXPECT_EQ(control<QLineEdit>("Edit14")->text(), NumberText(c.min));
        EXPECT_EQ(control<QLineEdit>("Edit15")->text(), NumberText(c.max));
    }

    ParamT = 0.5;
    window->tRow().showValues();
    TypeInto(control<QLineEdit>("Edit7"), QStringLiteral("200"));
    EXPECT_EQ(window->tSteps(), 200);
    EXPECT_EQ(tBar()->maximum(), 200);
    EXPECT_EQ(tBar()->value(), 150);
    EXPECT_DOUBLE_EQ(ParamT, 0.5);
    TypeInto(control<QLineEdit>("Edit7"), QStringLiteral("5"));
    EXPECT_EQ(window->tSteps(), 1000);
    EXPECT_EQ(control<QLineEdit>("Edit7")->text(), QStringLiteral("1000"));
}

TEST_F(LociWindowTest, AnimationTurnsJustPastEachEnd)
{
    open();
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2-t*x"));
    TypeInto(control<QLineEdit>("Edit7"), QStringLiteral("10"));
    // Every frame fixes its member, so the list keeps each t the animation went through.
    ClickBox(control<BitCheckBox>("BitCheckBox10"));
    ParamT = 3.9;
    ToggleSwitch* s = control<ToggleSwitch>("Switch5");
    // Up past 4 once, then down past -4: 14 frames.
    test::AnimateUntil(
        s, [s] { emit s->clicked(); }, [] { return ListCount(ObjectList) >= 14; });
    ASSERT_GE(ListCount(ObjectList), 14u);
    double highest = -1e9;
    double lowest = 1e9;
    for (const ListNode* n = ObjectList.Head.get(); n != nullptr; n = n->Next.get()) {
        highest = std::max(highest, ReadLociRecord(n->record).t);
        lowest = std::min(lowest, ReadLociRecord(n->record).t);
    }
    // One step is 0.8: t passes each end by less than a step before it turns.
    EXPECT_NEAR(highest, 4.7, 1e-9);
    EXPECT_GT(lowest, -4.8);
    EXPECT_LT(lowest, -4.0);
    EXPECT_FALSE(s->Checked());
    EXPECT_FALSE(window->animationLoopActive());
}

TEST_F(LociWindowTest, ObjectListStopsAtItsBound)
{
    open();
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2"));
    for (std::size_t i = 0; i < kMaxLociObjects; ++i) {
        InsertLociObject(ObjectList, {});
    }
    EXPECT_FALSE(window->fixCurrentState());
    EXPECT_EQ(ListCount(ObjectList), kMaxLociObjects);
}

TEST_F(LociWindowTest, MetafileExportKeepsTheFixedMembersAndTheScreen)
{
    QTemporaryDir out;
    const test::ScopedExportTo exportTo({out.filePath(QStringLiteral("orte.wmf")), MetafileKind::Wmf});
    open();
    TypeInto(control<QLineEdit>("Edit1"), QStringLiteral("x^2-t*x"));
    ClickBox(control<BitCheckBox>("BitCheckBox10"));
    tBar()->setValue(300);
    const QImage before = window->plotBox()->picture()->copy();
    const QSize plot = window->plotBox()->size();
    QTest::mouseClick(control<QPushButton>("SpeedButton17"), Qt::LeftButton);

    QFile file(out.filePath(QStringLiteral("orte.wmf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const test::WmfFile wmf = test::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (plot.width() + 1) * 4);
    EXPECT_EQ(wmf.boxBottom, (plot.height() + 1) * 4);
    EXPECT_EQ(ListCount(ObjectList), 1u);
    EXPECT_TRUE(TraceMode);
    EXPECT_EQ(*window->plotBox()->picture(), before);
}

TEST_F(LociWindowTest, LauncherOpensTheWindow)
{
    const auto lessons = AnalysisLessons();
    const auto entry = std::find_if(lessons.begin(), lessons.end(), [](const LessonEntry& e) {
        return std::string(e.caption) == "Ortskurven - H, T, W";
    });
    ASSERT_NE(entry, lessons.end());
    EXPECT_EQ(entry->open, &OpenLessonWindow<LociWindow>);
}

} // namespace
} // namespace kurvex

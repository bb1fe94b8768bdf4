// Tests of the limit-and-continuity window through its widgets: start values, the ε-δ picture,
// undefined halves, typed values far out, the example list, letters and export.
#include "lessons/LimitWindow.h"

#include "app/LessonRegistry.h"
#include "app/SettingsDialog.h"
#include "core/CoordinateSystem.h"
#include "core/WorldWindow.h"
#include "core/term/Term.h"
#include "lesson/PrintExportHooks.h"
#include "support/LessonWindowTest.h"
#include "support/MetafileConverters.h"
#include "support/PdfPage.h"
#include "support/TestTempDir.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <memory>
#include <optional>

namespace kurvex {
namespace {

using test::Control;
using test::TypeInto;

// Colours no other part of the picture uses, so each part can be found by its colour.
constexpr TColor kStripColour = 0x00C0C1;
constexpr TColor kDeltaColour = 0x00A001;
constexpr TColor kImageColour = 0x0101F0;

class LimitWindowTest : public test::WindowFixture<LimitWindow> {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        setWorld({-7, 7, -7, 7});
        Decimals = 2;
        PointXP = 1.0;
        IniSettings.xP = 1.0;
        EpsDeltaMaxRadius = 2.0;
        TermPiece1 = "x^2";
        TermPiece2 = "x^2+1";
        EpsilonColor = kStripColour;
        DeltaColor = kDeltaColour;
        FOfDeltaColor = kImageColour;
        GraphColor = clBlack;
    }

    void open()
    {
        window = std::make_unique<LimitWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    template <class T> T* control(const char* name) const { return Control<T>(*window, name); }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }

    void writeExamples(const std::string& bytes) const
    {
        test::WriteBytes(programDir.filePath(QStringLiteral("Bsp4.txt")).toStdString(), bytes);
    }

    // The thick image segments on the y axis, left half first: (row of the minimum, row of the maximum).
    static std::vector<std::pair<int, int>> imageRows(const RecordingCanvas& c)
    {
        std::vector<std::pair<int, int>> rows;
        for (const CanvasCall& call : c.callsOf(CanvasOp::LineTo)) {
            if (call.pen.color == kImageColour && call.pen.width == 3) {
                EXPECT_EQ(call.points[0].x, WorldToPixelX(0));
                EXPECT_EQ(call.points[1].x, WorldToPixelX(0));
                rows.emplace_back(call.points[0].y, call.points[1].y);
            }
        }
        return rows;
    }
};

TEST_F(LimitWindowTest, OpensWithItsStartValuesAndFormNames)
{
    EpsDeltaMaxRadius = 3.0;
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Grenzwert - Stetigkeit"));
    EXPECT_TRUE(ModuleOpen);
    EXPECT_EQ(window->epsilon(), 1.0);
    EXPECT_EQ(window->delta(), 1.5);
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("x^2"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("x^2+1"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(edit("Edit4")->text(), QStringLiteral("1,00"));
    EXPECT_EQ(edit("Edit5")->text(), QStringLiteral("1,50"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->maximum(), 1400); // 100 positions per tick
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 800);
    EXPECT_EQ(control<QScrollBar>("ScrollBar2")->value(), 100);
    EXPECT_EQ(control<QScrollBar>("ScrollBar3")->value(), 67);
    EXPECT_EQ(control<QLabel>("Label15")->text(), QStringLiteral("\u03B5 ="));
    EXPECT_EQ(control<QLabel>("Label3")->text(), QStringLiteral("\u03B4 ="));
    for (const char* name :
         {"SpeedButton1", "SpeedButton4", "SpeedButton5", "SpeedButton2", "SpeedButton12", "SpeedButton13",
          "SpeedButton3", "SpeedButton7", "SpeedButton22", "SpeedButton6"}) {
        EXPECT_NE(window->findChild<QAbstractButton*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(control<QPushButton>("SpeedButton6")->text(), QStringLiteral("&Beenden"));
    EXPECT_EQ(window->zoomCheckBox(), nullptr); // the band zooms on every drag

    // The δ reset gives 1, not half the largest radius, on the bar's grid: position 67 of 200.
    control<QToolButton>("SpeedButton12")->click();
    EXPECT_DOUBLE_EQ(window->delta(), 67 * 3.0 / 200);
    EXPECT_EQ(control<QScrollBar>("ScrollBar2")->value(), 67);
    window->close();
    EXPECT_FALSE(ModuleOpen);
}

TEST_F(LimitWindowTest, LargestRadiusOfZeroFromTheSettingsFallsBackToItsDefault)
{
    for (const double radius : {0.0, -2.0}) {
        SCOPED_TRACE(radius);
        EpsDeltaMaxRadius = radius;
        open();
        EXPECT_EQ(EpsDeltaMaxRadius, kDefaultMaxRadius);
        EXPECT_EQ(window->delta(), 1.0);
        control<QScrollBar>("ScrollBar2")->setValue(150);
        EXPECT_DOUBLE_EQ(window->delta(), 1.5);
        EXPECT_EQ(edit("Edit5")->text(), QStringLiteral("1,50"));
    }
}

TEST_F(LimitWindowTest, EpsilonDeltaPictureOfSignAndOfTheSquare)
{
    struct Case {
        const char* term1;
        const char* term2;
        const char* x0;
        const char* delta;
        double centre;           // f(x0), where the strip lies
        double leftMin, leftMax; // the image of each half
        double rightMin, rightMax;
        std::optional<double> square; // where the right piece arrives
    };
    const Case cases[] = {
        {"sign(x)", "sign(x)", "0", "1", 0, -1, -1, 1, 1, 0.0},
        {"x^2", "x^2", "0", "1", 0, 0, 1, 0, 1, 0.0},
        {"x^2", "x^2+1", "1", "0,5", 1, 0.25, 1, 2, 3.25, 2.0},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term1 + std::string(" / ") + c.term2);
        TypeInto(edit("Edit1"), QString::fromLatin1(c.term1));
        TypeInto(edit("Edit3"), QString::fromLatin1(c.term2));
        TypeInto(edit("Edit2"), QString::fromLatin1(c.x0));
        TypeInto(edit("Edit5"), QString::fromLatin1(c.delta));
        const RecordingCanvas canvas = test::RecordPicture(*window);

        // The strip: 2ε high around f(x0), across the whole window.
        const auto rects = canvas.callsOf(CanvasOp::Rectangle);
        const auto strip = std::find_if(rects.begin(), rects.end(), [](const CanvasCall& r) {
            return r.brush.color == kStripColour && r.rect.width() > 100;
        });
        ASSERT_NE(strip, rects.end());
        EXPECT_EQ(strip->rect.top, WorldToPixelY(c.centre + 1));
        EXPECT_EQ(strip->rect.bottom, WorldToPixelY(c.centre - 1));
        EXPECT_EQ(strip->rect.left, 0);
        EXPECT_EQ(strip->rect.right, PlotWidth);

        const auto rows = imageRows(canvas);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_NEAR(rows[0].first, WorldToPixelY(c.leftMin), 1);
        EXPECT_NEAR(rows[0].second, WorldToPixelY(c.leftMax), 1);
        EXPECT_NEAR(rows[1].first, WorldToPixelY(c.rightMin), 1);
        EXPECT_NEAR(rows[1].second, WorldToPixelY(c.rightMax), 1);

        // The square where term 2 arrives, the disk where f is.
        const auto square = std::find_if(rects.begin(), rects.end(), [](const CanvasCall& r) {
            return r.brush.color == kStripColour && r.rect.width() == 6;
        });
        ASSERT_NE(square, rects.end());
        EXPECT_EQ(square->rect.top + 3, WorldToPixelY(*c.square));
        std::vector<CanvasCall> disks;
        std::vector<int> imagePoints;
        for (const CanvasCall& e : canvas.callsOf(CanvasOp::Ellipse)) {
            if (e.brush.color == clBlack) {
                disks.push_back(e);
            } else if (e.brush.color == kImageColour) {
                imagePoints.push_back((e.rect.top + e.rect.bottom) / 2);
            }
        }
        ASSERT_EQ(disks.size(), 1u);
        EXPECT_EQ(disks[0].rect.top + 3, WorldToPixelY(c.centre));
        // An image of a single value shows as a point on the y axis.
        std::vector<int> expectedPoints;
        for (const auto& [min, max] : {std::pair{c.leftMin, c.leftMax}, std::pair{c.rightMin, c.rightMax}}) {
            if (min == max) {
                expectedPoints.push_back(WorldToPixelY(min));
            }
        }
        EXPECT_EQ(imagePoints, expectedPoints);
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(LimitWindowTest, HalfWithoutAnyValueSaysSoInsteadOfDrawingAnImage)
{
    TermPiece1 = "sqrt(x)";
    TermPiece2 = "sqrt(x)";
    PointXP = 0;
    open();
    RecordingCanvas canvas = test::RecordPicture(*window);
    const auto rows = imageRows(canvas);
    ASSERT_EQ(rows.size(), 1u); // the right half only
    EXPECT_NEAR(rows[0].second, WorldToPixelY(1), 1);
    const auto texts = canvas.callsOf(CanvasOp::TextOut);
    const auto note = std::find_if(texts.begin(), texts.end(),
                                   [](const CanvasCall& t) { return t.text == "nicht definiert"; });
    ASSERT_NE(note, texts.end());
    EXPECT_LT(note->points[0].x, WorldToPixelX(0)); // beside the left half
    EXPECT_EQ(note->font.color, kImageColour);

    // 1/x at its pole: both halves have values, and x0 itself has none to draw a strip around.
    TypeInto(edit("Edit1"), QStringLiteral("1/x"));
    TypeInto(edit("Edit3"), QStringLiteral("1/x"));
    canvas = test::RecordPicture(*window);
    EXPECT_EQ(imageRows(canvas).size(), 2u);
    const auto rects = canvas.callsOf(CanvasOp::Rectangle);
    EXPECT_TRUE(std::none_of(rects.begin(), rects.end(),
                             [](const CanvasCall& r) { return r.brush.color == kStripColour; }));
    EXPECT_TRUE(canvas.callsOf(CanvasOp::Ellipse).empty());
}

// What every example must show: the strip around f(x0), the dashed line at f(x0) and the disk.
void expectWholePicture(const RecordingCanvas& canvas)
{
    const auto rects = canvas.callsOf(CanvasOp::Rectangle);
    EXPECT_TRUE(std::any_of(rects.begin(), rects.end(), [](const CanvasCall& r) {
        return r.brush.color == kStripColour && r.rect.width() > 100;
    })) << "no strip";
    const auto lines = canvas.callsOf(CanvasOp::LineTo);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const CanvasCall& l) {
        return l.pen.style == PenStyle::Dash && l.points[0].y == l.points[1].y;
    })) << "no line at f(x0)";
    const auto disks = canvas.callsOf(CanvasOp::Ellipse);
    EXPECT_TRUE(std::any_of(disks.begin(), disks.end(), [](const CanvasCall& e) {
        return e.brush.color == clBlack;
    })) << "no disk at (x0, f(x0))";
}

TEST_F(LimitWindowTest, EveryShippedExampleShowsTheWholePicture)
{
    writeExamples(test::ReadBytes(KURVEX_SOURCE_DIR "/resources/data/Bsp4.txt"));
    open();
    QListWidget* list = control<QListWidget>("ListBox1");
    ASSERT_GE(list->count(), 5);
    for (int row = 0; row < list->count(); ++row) {
        SCOPED_TRACE(list->item(row)->text().toStdString());
        list->setCurrentRow(row);
        control<QToolButton>("SpeedButton1")->click();
        expectWholePicture(test::RecordPicture(*window));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(LimitWindowTest, ValueAtX0ThatIsNotDefinedIsToldInThePicture)
{
    open();
    const struct {
        const char* term1;
        const char* x0;
        bool told;
    } cases[] = {
        {"1/x", "0", true},
        {"1/x", "-50", false},
        {"sqrt(x-100)", "50", true}, // x0 right of the window: the note stays in the plot
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.term1) + " at " + c.x0);
        TypeInto(edit("Edit1"), QString::fromLatin1(c.term1));
        TypeInto(edit("Edit2"), QString::fromLatin1(c.x0));
        const RecordingCanvas canvas = test::RecordPicture(*window);
        const auto texts = canvas.callsOf(CanvasOp::TextOut);
        const auto note = std::find_if(texts.begin(), texts.end(), [](const CanvasCall& t) {
            return t.text == "f(x0) ist nicht definiert";
        });
        if (!c.told) {
            EXPECT_EQ(note, texts.end());
            continue;
        }
        ASSERT_NE(note, texts.end());
        EXPECT_GE(note->points[0].x, 0);
        EXPECT_LE(note->points[0].x + canvas.textWidth(note->text), PlotWidth);
        EXPECT_GE(note->points[0].y, 0);
        EXPECT_LT(note->points[0].y, PlotHeight / 10);
    }
}

TEST_F(LimitWindowTest, TypedDeltaAndPointFarOutsideTheWindowDrawInBoundedTime)
{
    open();
    TypeInto(edit("Edit5"), QStringLiteral("1000000000"));
    EXPECT_EQ(window->delta(), 1e9);
    EXPECT_EQ(control<QScrollBar>("ScrollBar2")->value(), 200);
    TypeInto(edit("Edit2"), QStringLiteral("1E20"));
    EXPECT_EQ(PointXP, 1e20);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 1400);
    const RecordingCanvas canvas = test::RecordPicture(*window);
    EXPECT_GE(canvas.calls().size(), 1u);
    // A resize or a zoom keeps the typed values; only the bars follow the window.
    control<QToolButton>("SpeedButton7")->click();
    EXPECT_EQ(PointXP, 1e20);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->maximum(), 1400);
}

TEST_F(LimitWindowTest, WrongTermIsReportedOnceHoweverOftenTheWindowRedraws)
{
    open();
    TypeInto(edit("Edit1"), QStringLiteral("sin("));
    ASSERT_EQ(messages.size(), 1u);
    for (int position : {10, 50, 150}) {
        control<QScrollBar>("ScrollBar3")->setValue(position);
    }
    window->refresh();
    test::RecordPicture(*window);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(TermPiece1, "sin(");
}

TEST_F(LimitWindowTest, FetchedExampleKeepsEveryCharacterOfX0AndMovesItsBar)
{
    writeExamples("x^2;  1; xo = -12,50\r\n"
                  "sign(x);  sign(x)+1; xo =  2,50     \r\n"
                  "x;  x; xo = 0,5+\r\n");
    open();
    QListWidget* list = control<QListWidget>("ListBox1");
    ASSERT_EQ(list->count(), 3);

    list->setCurrentRow(0);
    control<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(PointXP, -12.5);
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("-12,50"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 1); // left of the window
    EXPECT_EQ(TermPiece1, "x^2");
    EXPECT_EQ(TermPiece2, "1");
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("1"));

    // A line of an older list, x0 with blanks around it; a double click fetches too.
    const QPoint item = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item);
    EXPECT_EQ(PointXP, 2.5);
    EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), 950);
    EXPECT_EQ(TermPiece2, "sign(x)+1");
    EXPECT_TRUE(messages.empty());

    // An x0 that does not read: one message, and x0 stays.
    list->setCurrentRow(2);
    control<QToolButton>("SpeedButton1")->click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(PointXP, 2.5);
}

TEST_F(LimitWindowTest, AddRefusesASecondFirstPieceAndAnEmptyOneAndTheListIsSavedOnClose)
{
    open();
    QListWidget* list = control<QListWidget>("ListBox1");
    control<QToolButton>("SpeedButton4")->click();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("x^2;  x^2+1; xo = 1,00"));
    TypeInto(edit("Edit3"), QStringLiteral("x^2-1"));
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(list->count(), 1); // term 1 is already in the list
    TypeInto(edit("Edit1"), QString());
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(list->count(), 1);
    TypeInto(edit("Edit1"), QStringLiteral("abs(x)"));
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(list->count(), 2);

    list->setCurrentRow(0);
    control<QToolButton>("SpeedButton5")->click();
    EXPECT_EQ(list->count(), 1);
    control<QPushButton>("SpeedButton6")->click();
    EXPECT_EQ(test::ReadBytes(programDir.filePath(QStringLiteral("Bsp4.txt")).toStdString()),
              "abs(x);  x^2-1; xo = 1,00\r\n");
}

TEST_F(LimitWindowTest, LettersInTheSymbolFontOnlyWithBeschriftung)
{
    open();
    const auto letters = [](const RecordingCanvas& c) {
        std::vector<std::string> out;
        for (const CanvasCall& t : c.callsOf(CanvasOp::TextOut)) {
            if (IsSymbolFont(t.font)) {
                out.push_back(t.text);
            }
        }
        return out;
    };
    EXPECT_TRUE(letters(test::RecordPicture(*window)).empty());
    test::ClickBox(control<BitCheckBox>("BitCheckBox2"));
    const RecordingCanvas canvas = test::RecordPicture(*window);
    EXPECT_EQ(letters(canvas), (std::vector<std::string>{"e", "e", "e", "e", "d", "d"}));
    // The plot font is back for everything drawn later.
    EXPECT_FALSE(IsSymbolFont(canvas.font()));
    test::ClickBox(control<BitCheckBox>("BitCheckBox2"));
    EXPECT_TRUE(letters(test::RecordPicture(*window)).empty());
}

TEST_F(LimitWindowTest, MetafilesShowTheGreekLettersToTheirReaders)
{
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    SaveChoice& choice = exportTo.choice;
    open();
    test::ClickBox(control<BitCheckBox>("BitCheckBox2"));
    const QImage before = window->plotBox()->picture()->copy();
    for (const MetafileKind kind : {MetafileKind::Wmf, MetafileKind::Emf}) {
        const bool wmf = kind == MetafileKind::Wmf;
        SCOPED_TRACE(wmf ? "wmf" : "emf");
        choice = {out.filePath(wmf ? QStringLiteral("grenzwert.wmf") : QStringLiteral("grenzwert.emf")),
                  kind};
        control<QPushButton>("SpeedButton17")->click();
        // The WMF reader sets "e" and "d" in the symbol face, which shows ε and δ; the EMF carries
        // the letters themselves.
        const test::SvgRendering r = test::RenderMetafileAsSvg(choice.path, kind);
        ASSERT_EQ(r.error.toStdString(), "");
        if (wmf) {
            EXPECT_TRUE(
                r.svg.contains(QRegularExpression(QStringLiteral("font-family:Symbol;[^>]*>\\s*e</text>"))));
            EXPECT_TRUE(
                r.svg.contains(QRegularExpression(QStringLiteral("font-family:Symbol;[^>]*>\\s*d</text>"))));
        } else {
            const QString text = test::SvgText(r.svg);
            EXPECT_EQ(text.count(QStringLiteral("ε")), 4) << text.toStdString();
            EXPECT_EQ(text.count(QStringLiteral("δ")), 2) << text.toStdString();
        }
    }
    EXPECT_EQ(*window->plotBox()->picture(), before);
}

TEST_F(LimitWindowTest, DashedLineAtFOfX0StaysDashedInPrint)
{
    QTemporaryDir out;
    test::ScopedExportTo exportTo;
    exportTo.pdf = out.filePath(QStringLiteral("grenzwert.pdf"));
    open();
    // On paper: a row of dashes 18 screen pixels long (3,7 mm, 22 pixels at 150 dpi).
    control<QPushButton>("SpeedButton15")->click();
    const test::PdfPage page = test::RenderPdfPage(exportTo.pdf, 150);
    ASSERT_EQ(page.error.toStdString(), "");
    const QImage& img = page.image;
    int dashedRows = 0;
    for (int y = 0; y < img.height(); ++y) {
        int run = 0;
        int dashes = 0; // dark runs of a dash's length
        for (int x = 0; x <= img.width(); ++x) {
            const bool dark = x < img.width() && qGray(img.pixel(x, y)) < 128;
            dashes += !dark && run >= 17 && run <= 27 ? 1 : 0;
            run = dark ? run + 1 : 0;
        }
        dashedRows += dashes >= 10 ? 1 : 0;
    }
    EXPECT_GE(dashedRows, 1);
}

TEST_F(LimitWindowTest, LauncherEntryOpensTheWindow)
{
    const auto entries = AnalysisLessons();
    const auto entry = std::find_if(entries.begin(), entries.end(), [](const LessonEntry& e) {
        return std::string(e.caption) == "Grenzwert - Stetigkeit";
    });
    ASSERT_NE(entry, entries.end());
    ASSERT_NE(entry->open, nullptr);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* lesson = qobject_cast<LimitWindow*>(w)) {
                lesson->close();
            }
        }
    });
    entry->open(nullptr);
}

} // namespace
} // namespace kurvex

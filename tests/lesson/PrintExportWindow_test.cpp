// The picture buttons of the lesson-window frame, end to end on the test window: print to PDF,
// WMF and EMF files that independent readers render, clipboard; the screen is kept throughout.
#include "lesson/TestLessonWindow.h"

#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExportHooks.h"
#include "support/LessonFixture.h"
#include "support/MetafileConverters.h"
#include "support/MetafileReader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace kurvex {
namespace {

class PrintExportWindowTest : public test::LessonWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setWorld({-7, 7, -7, 7});
        BackgroundColor = clWhite;
        PrintSizePercent = 100;
        PiAxis = true; // the x labels are multiples of π, which must survive every format
        window = std::make_unique<TestLessonWindow>();
        window->setTerm("x^2/4-2");
        window->resize(900, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->refresh();

        PrintExportHooks hooks;
        hooks.chooseFile = [this](QWidget*) { return choice; };
        hooks.confirmReplace = [](QWidget*, const QString&) { return false; };
        hooks.showError = [this](QWidget*, const QString& m) { errors.push_back(m); };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("print.pdf")));
            return true;
        };
        scoped = std::make_unique<ScopedPrintExportHooks>(hooks);
        before = {screenPicture(), PlotWidth, PlotHeight, DrawCanvas};
        ASSERT_FALSE(before.picture.isNull());
    }
    QImage screenPicture() const
    {
        const QImage* picture = window->plotBox()->picture();
        return picture ? picture->copy() : QImage();
    }
    void click(const char* name) { test::child<QAbstractButton>(window.get(), name)->click(); }
    // Saves through "WMF - Datei" and checks that the screen came back unchanged.
    void save(const QString& name, MetafileKind kind)
    {
        choice = SaveChoice{dir.filePath(name), kind};
        click("SpeedButton17");
        expectScreenUnchanged();
    }
    void expectScreenUnchanged() const
    {
        EXPECT_EQ(std::tuple(Printing, DrawScale, PlotWidth, PlotHeight, DrawCanvas),
                  std::tuple(false, 1.0, before.plotWidth, before.plotHeight, before.canvas));
        EXPECT_TRUE(screenPicture() == before.picture);
    }
    test::Bytes bytesOf(const QString& name) const
    {
        return test::ReadFileBytes(dir.filePath(name).toStdString());
    }

    struct {
        QImage picture;
        int plotWidth = 0, plotHeight = 0;
        Canvas* canvas = nullptr;
    } before;
    QTemporaryDir dir;
    std::unique_ptr<TestLessonWindow> window;
    std::unique_ptr<ScopedPrintExportHooks> scoped;
    std::optional<SaveChoice> choice;
    std::vector<QString> errors;
};

TEST_F(PrintExportWindowTest, ButtonsWriteFilesClipboardAndPdfAndKeepTheScreen)
{
    save(QStringLiteral("bild.wmf"), MetafileKind::Wmf);
    const test::WmfFile file = test::ReadWmf(bytesOf(QStringLiteral("bild.wmf")));
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(std::pair(int{file.boxRight}, int{file.boxBottom}),
              std::pair((before.plotWidth + 1) * 4, (before.plotHeight + 1) * 4));
    EXPECT_GT(file.records.size(), 100u);

    save(QStringLiteral("bild.emf"), MetafileKind::Emf);
    EXPECT_EQ(test::ReadEmf(bytesOf(QStringLiteral("bild.emf"))).error, "");

    // The clipboard holds the placeable WMF under every flavour office programs look for.
    click("SpeedButton23");
    expectScreenUnchanged();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray clip = mime->data(QStringLiteral("image/x-wmf"));
    EXPECT_TRUE(clip.startsWith(QByteArray::fromHex("D7CDC69A"))); // the placeable key 0x9AC6CDD7
    EXPECT_EQ(test::ReadWmf(std::vector<std::uint8_t>(clip.begin(), clip.end())).error, "");
    for (const char* type : {"image/wmf", "application/x-openoffice-wmf;windows_formatname=\"Image WMF\""}) {
        EXPECT_EQ(mime->data(QString::fromLatin1(type)), clip) << type;
    }
    EXPECT_TRUE(mime->hasImage());

    click("SpeedButton15");
    expectScreenUnchanged();
    const auto pdf = bytesOf(QStringLiteral("print.pdf"));
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
    EXPECT_TRUE(errors.empty());

    // A failed save reports and keeps the screen as well.
    save(QStringLiteral("fehlt/bild.wmf"), MetafileKind::Wmf);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("fehlt/bild.wmf"))));
}

// ---- independent readers: wmf2svg (Debian libwmf-bin) and emf2svg-conv (Debian emf2svg) ----

struct ReaderCase {
    const char* name;
    MetafileKind kind;
    QChar pi; // how π comes out
};

const ReaderCase kReaders[] = {
    {"wmf", MetafileKind::Wmf, QChar(0xF0)},
    {"emf", MetafileKind::Emf, QChar(0x03C0)},
};

void PrintTo(const ReaderCase& c, std::ostream* os)
{
    *os << c.name;
}

class IndependentReaderTest : public PrintExportWindowTest,
                              public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(IndependentReaderTest, RendersCurveAndLabels)
{
    const ReaderCase& c = GetParam();
    const QString name = QStringLiteral("bild.") + QString::fromLatin1(c.name);
    save(name, c.kind);
    const test::SvgRendering r = test::RenderMetafileAsSvg(dir.filePath(name), c.kind);
    ASSERT_EQ(r.error.toStdString(), "");

    EXPECT_GT(test::LongestStroke(r.svg, test::RedStrokeMark(c.kind)), 200); // the parabola, in one piece
    const QString text = test::SvgText(r.svg);
    for (const QString& label : {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("0,5") + c.pi}) {
        EXPECT_TRUE(text.contains(label)) << label.toStdString() << " not in " << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, IndependentReaderTest, ::testing::ValuesIn(kReaders),
                         [](const ::testing::TestParamInfo<ReaderCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace kurvex

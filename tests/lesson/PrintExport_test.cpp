// Print, metafile file and clipboard handlers: files written, sizes and fonts, state restored.
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/PictureSource.h"
#include "lesson/PrintExport.h"
#include "lesson/PrintExportHooks.h"
#include "platform/QtCanvas.h"
#include "platform/QtTextMeasurer.h"
#include "support/MetafileReader.h"
#include "support/SharedState.h"
#include "support/TestTempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <tuple>
#include <unistd.h>

namespace kurvex {
namespace {

const std::string kPi = "\xCF\x80";

// A picture like a lesson window's: coordinate system, a parabola and a label.
class TestPicture : public PictureSource {
public:
    struct Seen {
        bool printing = false;
        double drawScale = 0.0;
        int plotWidth = 0, plotHeight = 0;
        Canvas* canvas = nullptr;
        int fontPixelHeight = 0;
        Point origin;
    };

    ExportVariant variant{4.0, 1.2, false};
    bool throwInPaint = false;
    int refreshes = 0;
    std::vector<Seen> seen;

    void paintPicture() override
    {
        Canvas& c = *DrawCanvas;
        seen.push_back(
            {Printing, DrawScale, PlotWidth, PlotHeight, DrawCanvas, c.font().pixelHeight, c.windowOrigin()});
        if (throwInPaint) {
            throw std::runtime_error("picture failed");
        }
        DrawCoordinateSystem();
        c.setPen(Pen{clRed, static_cast<int>(std::lround(2 * DrawScale)), PenStyle::Solid});
        for (int px = 0; px <= PlotWidth; px += 2) {
            const double x = PixelToWorldX(px);
            const int py = WorldToPixelY(x * x / 4 - 2);
            if (px == 0) {
                c.moveTo(px, py);
            } else {
                c.lineTo(px, py);
            }
        }
        c.textOut(PlotWidth / 10, PlotHeight / 10, "Kurvex");
    }
    QSize plotSize() const override { return {500, 400}; }
    QFont plotFont() const override
    {
        // Like the lesson windows: a 13-pixel font, which is 10 points on the screen.
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(13);
        return f;
    }
    ExportVariant exportVariant() const override { return variant; }
    void refresh() override { ++refreshes; }
    QWidget* dialogParent() override { return nullptr; }
};

std::vector<std::uint8_t> readAll(const QString& path)
{
    return test::ReadFileBytes(path.toStdString());
}

void writeFile(const QString& path, const char* text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

class PrintExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setWorld({-7, 7, -7, 7});
        std::tie(PlotLeft, PlotTop, PlotWidth, PlotHeight) = std::tuple{0, 0, 500, 400};
        std::tie(AutoXTickStep, AutoYTickStep, PrintSizePercent) = std::tuple{1.0, 1.0, 100};
        std::tie(DrawScale, Printing, DrawCanvas, TraceMode) = std::tuple(1.0, false, &screen, true);
        hooks.chooseFile = [this](QWidget*) { return choice; };
        hooks.confirmReplace = [this](QWidget*, const QString& q) {
            questions.push_back(q);
            return replaceAnswer;
        };
        hooks.showError = [this](QWidget*, const QString& m) { errors.push_back(m); };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            return printerConfirmed;
        };
        scoped = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void expectScreenState() const
    {
        EXPECT_EQ(std::tuple(Printing, DrawScale, PlotWidth, PlotHeight, DrawCanvas),
                  std::tuple(false, 1.0, 500, 400, static_cast<const Canvas*>(&screen)));
    }
    QString path(const QString& name) const { return dir.filePath(name); }

    test::SharedStateScope shared;
    QTemporaryDir dir;
    QImage screenImage{500, 400, QImage::Format_RGB32};
    QtCanvas screen{screenImage};
    TestPicture picture;
    PrintExportHooks hooks;
    std::unique_ptr<ScopedPrintExportHooks> scoped;
    std::optional<SaveChoice> choice;
    bool replaceAnswer = false;
    bool printerConfirmed = true;
    QString pdfPath;
    std::vector<QString> questions;
    std::vector<QString> errors;
};

TEST_F(PrintExportTest, FilterAndVariantGiveKindScaleSizeAndFont)
{
    struct Case {
        ExportVariant variant;
        MetafileKind kind;
        const char* written; // for the confirmed "graph.old.wmf"
        int width;
        int height;
        int fontPixels; // 10 pt x 4 x 1.2 = 48 pt and 10 pt x 2 = 20 pt, at 96 dpi
    };
    for (const Case& c : {Case{{4.0, 1.2, false}, MetafileKind::Wmf, "graph.old.wmf", 2004, 1604, 64},
                          Case{{2.0, 1.0, true}, MetafileKind::Emf, "graph.old.emf", 1002, 802, 27}}) {
        SCOPED_TRACE(c.written);
        picture.seen.clear();
        picture.variant = c.variant;
        TraceMode = true;
        choice = SaveChoice{path("graph.old.wmf"), c.kind};
        ExportMetafileFile(picture);

        EXPECT_TRUE(errors.empty());
        const auto bytes = readAll(path(c.written));
        if (c.kind == MetafileKind::Wmf) {
            const test::WmfFile f = test::ReadWmf(bytes);
            EXPECT_EQ(f.error, "");
            EXPECT_TRUE(f.checksumOk);
            EXPECT_EQ(std::pair(int{f.boxRight}, int{f.boxBottom}), std::pair(c.width, c.height));
        } else {
            const test::EmfFile f = test::ReadEmf(bytes);
            ASSERT_EQ(f.error, "");
            EXPECT_EQ(f.records.front().u(48), bytes.size());
            // Bounds are inclusive.
            EXPECT_EQ(std::pair(f.records.front().s(16), f.records.front().s(20)),
                      std::pair(c.width - 1, c.height - 1));
        }
        ASSERT_EQ(picture.seen.size(), 1u);
        const auto& s = picture.seen[0];
        EXPECT_EQ(std::tuple(s.printing, s.drawScale, s.plotWidth, s.plotHeight, s.fontPixelHeight),
                  std::tuple(true, c.variant.metafileScale, c.width, c.height, c.fontPixels));
        expectScreenState();
        EXPECT_FALSE(TraceMode);
    }
    EXPECT_EQ(picture.refreshes, 2);
}

TEST_F(PrintExportTest, AnotherExistingFileIsReplacedOnlyAfterYes)
{
    const QString other = path("graph.emf");
    writeFile(other, "keep me");
    choice = SaveChoice{path("graph.wmf"), MetafileKind::Emf};
    replaceAnswer = false;
    ExportMetafileFile(picture);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("graph.emf")));
    EXPECT_EQ(readAll(other), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_TRUE(picture.seen.empty());

    replaceAnswer = true;
    ExportMetafileFile(picture);
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_EQ(test::ReadEmf(readAll(other)).error, "");
    EXPECT_GT(readAll(other).size(), 100u);

    // The confirmed file itself was asked about by the dialog already.
    choice = SaveChoice{other, MetafileKind::Emf};
    ExportMetafileFile(picture);
    EXPECT_EQ(questions.size(), 2u);
}

TEST_F(PrintExportTest, FailedSaveReportsAndLeavesNoFile)
{
    // A folder that is a file fails for every user; a read-only folder only for others than root.
    writeFile(path("plain"), "");
    std::vector<QString> targets = {path("plain/graph.wmf"), path("missing/graph.wmf")};
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("readonly")));
    QFile::setPermissions(path("readonly"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0) {
        targets.push_back(path("readonly/graph.wmf"));
    }
    for (const QString& target : targets) {
        errors.clear();
        choice = SaveChoice{target, MetafileKind::Wmf};
        ExportMetafileFile(picture);
        ASSERT_EQ(errors.size(), 1u) << target.toStdString();
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Die Grafik konnte nicht gespeichert werden.")));
        EXPECT_FALSE(QFile::exists(target));
        expectScreenState();
    }
    EXPECT_TRUE(
        QDir(path("readonly")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
    QFile::setPermissions(path("readonly"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(PrintExportTest, CancelledDialogChangesNothingAndPictureErrorRestoresStateAndReports)
{
    choice.reset();
    ExportMetafileFile(picture);
    EXPECT_TRUE(picture.seen.empty());
    EXPECT_EQ(picture.refreshes, 0);
    EXPECT_TRUE(TraceMode);
    expectScreenState();

    picture.throwInPaint = true;
    choice = SaveChoice{path("graph.wmf"), MetafileKind::Wmf};
    ExportMetafileFile(picture);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_FALSE(QFile::exists(path("graph.wmf")));
    expectScreenState();
    EXPECT_EQ(picture.refreshes, 1);

    ExportMetafileClipboard(picture);
    EXPECT_EQ(errors.size(), 2u);
    expectScreenState();
}

TEST_F(PrintExportTest, ClipboardHoldsTheSameWmfAndARasterCopy)
{
    choice = SaveChoice{path("graph.wmf"), MetafileKind::Wmf};
    ExportMetafileFile(picture);
    const auto fileBytes = readAll(path("graph.wmf"));
    TraceMode = true;

    ExportMetafileClipboard(picture);
    EXPECT_TRUE(TraceMode); // only the file export switches tracing off
    expectScreenState();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray wmf = mime->data(QStringLiteral("image/x-wmf"));
    EXPECT_EQ(std::vector<std::uint8_t>(wmf.begin(), wmf.end()), fileBytes);
    ASSERT_TRUE(mime->hasImage());
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    EXPECT_EQ(image.size(), QSize(2004, 1604));
    // White behind the picture, the red curve on it.
    EXPECT_EQ(image.pixel(3, 3) & 0xFFFFFF, 0xFFFFFFu);
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y) {
        red = (image.pixel(1002, y) & 0xFFFFFF) == 0xFF0000u;
    }
    EXPECT_TRUE(red);
}

TEST_F(PrintExportTest, PrintGoesToPdfAtTheTickStepSize)
{
    for (const int percent : {100, 50}) {
        picture.seen.clear();
        PrintSizePercent = percent;
        pdfPath = path(QStringLiteral("print%1.pdf").arg(percent));
        PrintPicture(picture);

        EXPECT_TRUE(errors.empty());
        const auto pdf = readAll(pdfPath);
        ASSERT_GT(pdf.size(), 100u);
        EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
        ASSERT_EQ(picture.seen.size(), 1u);
        const auto& s = picture.seen[0];
        QPrinter& printer = ApplicationPrinter();
        const double pxPerCm = printer.width() * 10.0 / printer.widthMM();
        EXPECT_TRUE(s.printing);
        EXPECT_NEAR(s.plotWidth / pxPerCm, 14.0 * percent / 100, 0.02);
        EXPECT_NEAR(s.drawScale, percent / 100.0 * 0.020532 * pxPerCm, 1e-9);
        EXPECT_NE(s.canvas, &screen);
        EXPECT_EQ(s.origin, (Point{PrintOriginX, PrintOriginY}));
        expectScreenState();
    }
    EXPECT_EQ(picture.refreshes, 2);
}

TEST_F(PrintExportTest, PrintCancelledOrFailing)
{
    printerConfirmed = false;
    pdfPath = path("never.pdf");
    PrintPicture(picture);
    EXPECT_TRUE(picture.seen.empty());
    EXPECT_FALSE(QFile::exists(pdfPath));

    printerConfirmed = true;
    pdfPath = path("missing/print.pdf");
    PrintPicture(picture);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              QStringLiteral("Die Grafik konnte nicht gedruckt werden.\nDie Datei \"%1\" konnte nicht "
                             "gespeichert werden (Verzeichnis nicht gefunden).")
                  .arg(pdfPath));
    expectScreenState();

    pdfPath = path("thrown.pdf");
    picture.throwInPaint = true;
    PrintPicture(picture);
    EXPECT_EQ(errors.size(), 2u);
    expectScreenState();
}

TEST_F(PrintExportTest, MetafileThatCannotBeWrittenWholeLeavesTheOldPictureAndSaysWhy)
{
    const QString target = path("bild2.wmf");
    choice = SaveChoice{target, MetafileKind::Wmf};
    ExportMetafileFile(picture);
    const auto whole = readAll(target);
    ASSERT_GT(whole.size(), 2048u);
    writeFile(target, "altes Bild");
    {
        const test::FileSizeLimit limit(1024);
        ExportMetafileFile(picture);
    }
    EXPECT_EQ(readAll(target), (std::vector<std::uint8_t>{'a', 'l', 't', 'e', 's', ' ', 'B', 'i', 'l', 'd'}));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              QStringLiteral("Die Grafik konnte nicht gespeichert werden.\nDie Datei \"%1\" konnte nicht "
                             "gespeichert werden (Datei zu groß).")
                  .arg(target));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("bild2.wmf")});
    expectScreenState();
}

TEST_F(PrintExportTest, PdfThatCannotBeWrittenWholeLeavesTheOldFileAndSaysWhy)
{
    pdfPath = path("druck.pdf");
    writeFile(pdfPath, "%PDF- altes Dokument");
    {
        const test::FileSizeLimit limit(1024);
        PrintPicture(picture);
    }
    EXPECT_EQ(readAll(pdfPath).size(), 20u);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              QStringLiteral("Die Grafik konnte nicht gedruckt werden.\nDie Datei \"%1\" konnte nicht "
                             "gespeichert werden (die Druckausgabe wurde nicht vollständig geschrieben).")
                  .arg(pdfPath));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("druck.pdf")});
    expectScreenState();

    // The same printer then prints whole again, into the same file.
    errors.clear();
    PrintPicture(picture);
    EXPECT_TRUE(errors.empty());
    const auto pdf = readAll(pdfPath);
    ASSERT_GT(pdf.size(), 1000u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 5), "%PDF-");
    EXPECT_EQ(ApplicationPrinter().outputFileName(), pdfPath);
}

// The save dialog itself, answered by a timer: the next save starts in the folder chosen last.
TEST(SaveDialogTest, NextSaveStartsInTheFolderChosenLast)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString before = QDir::currentPath();
    QString startFolder;
    const auto answer = [&startFolder](const QString& file) {
        QTimer::singleShot(0, [&startFolder, file] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            startFolder = dialog->directory().absolutePath();
            dialog->selectFile(file);
            static_cast<QDialog*>(dialog)->accept();
        });
    };
    const QString chosen = QDir(dir.path()).absoluteFilePath(QStringLiteral("bild.wmf"));
    answer(chosen);
    const auto first = CurrentPrintExportHooks().chooseFile(nullptr);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->path, chosen);

    answer(QStringLiteral("zwei.wmf"));
    const auto second = CurrentPrintExportHooks().chooseFile(nullptr);
    QDir::setCurrent(before);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(QDir(startFolder).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_EQ(QFileInfo(second->path).dir().canonicalPath(), QDir(dir.path()).canonicalPath());
}

// A TMPDIR that names no folder: Qt gives an empty temporary path, which would be the current one.
TEST(TemporaryFolderTest, MissingTmpdirFallsBackToAFolderThatExists)
{
    const test::ScopedEnvironment missingTmpdir("TMPDIR", "/gibt/es/nicht");
    const QString folder = TemporaryFolder();
    const QString documents = CurrentPrintExportHooks().documentFolder();
    ASSERT_FALSE(folder.isEmpty()) << "neither /tmp nor /var/tmp on this machine";
    EXPECT_TRUE(folder == QStringLiteral("/tmp") || folder == QStringLiteral("/var/tmp"))
        << folder.toStdString();
    EXPECT_EQ(documents, folder);
}

TEST(QtTextMeasurerTest, MeasuresLikeTheFontAt96Dpi)
{
    const QtTextMeasurer m;
    const Font font{.family = "DejaVu Sans", .pixelHeight = 64};
    const double wide = m.width(font, "WWW");
    const double narrow = m.width(font, "iii");
    EXPECT_GT(wide, narrow);
    EXPECT_GT(m.height(font), 64.0);
    EXPECT_LT(m.height(font), 100.0);
    const auto adv = m.advances(font, "W" + kPi + "i");
    ASSERT_EQ(adv.size(), 3u);
    EXPECT_NEAR(adv[0] + adv[1] + adv[2], m.width(font, "W" + kPi + "i"), 3.0);
    EXPECT_NEAR(m.width(Font{.family = "DejaVu Sans", .pixelHeight = 128}, "WWW"), 2 * wide, 2.0);
}

} // namespace
} // namespace kurvex

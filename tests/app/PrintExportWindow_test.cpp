// The picture buttons of the lesson-window frame, end to end on the test window: print to PDF,
// WMF and EMF files, clipboard; afterwards the screen shows exactly what it showed before.
#include "TestModuleWindow.h"

#include "app/PlotBox.h"
#include "app/PrintExportHooks.h"
#include "core/U_init.h"
#include "core/WorldWindow.h"
#include "platform/MetafileReader.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kurvex {
namespace {

std::vector<std::uint8_t> fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

class PrintExportWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedWorld_ = currentWorld();
        savedBackground_ = BackgroundColor;
        savedPercent_ = PrintSizePercent;
        savedTrace_ = TraceMode;
        setWorld({-7, 7, -7, 7});
        BackgroundColor = clWhite;
        PrintSizePercent = 100;
        window = std::make_unique<TestModuleWindow>();
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
    }
    void TearDown() override
    {
        scoped.reset();
        window.reset();
        setWorld(savedWorld_);
        BackgroundColor = savedBackground_;
        PrintSizePercent = savedPercent_;
        TraceMode = savedTrace_;
        DrawCanvas = nullptr;
        Printing = false;
        DrawScale = 1.0;
    }

    QImage screenPicture() const
    {
        const QImage* picture = window->plotBox()->picture();
        return picture ? picture->copy() : QImage();
    }
    void click(const char* name)
    {
        auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    void expectScreenUnchanged(const QImage& before, int plotWidth, int plotHeight, Canvas* canvas)
    {
        EXPECT_FALSE(Printing);
        EXPECT_EQ(DrawScale, 1.0);
        EXPECT_EQ(PlotWidth, plotWidth);
        EXPECT_EQ(PlotHeight, plotHeight);
        EXPECT_EQ(DrawCanvas, canvas);
        EXPECT_TRUE(screenPicture() == before);
    }

    QTemporaryDir dir;
    std::unique_ptr<TestModuleWindow> window;
    std::unique_ptr<ScopedPrintExportHooks> scoped;
    std::optional<SaveChoice> choice;
    std::vector<QString> errors;

private:
    WorldRect savedWorld_;
    TColor savedBackground_ = clWhite;
    int savedPercent_ = 100;
    bool savedTrace_ = false;
};

TEST_F(PrintExportWindowTest, ButtonsWriteFilesAndKeepTheScreen)
{
    const QImage before = screenPicture();
    ASSERT_FALSE(before.isNull());
    const int width = PlotWidth;
    const int height = PlotHeight;
    Canvas* canvas = DrawCanvas;

    choice = SaveChoice{dir.filePath(QStringLiteral("bild.wmf")), MetafileKind::Wmf};
    click("SpeedButton17");
    expectScreenUnchanged(before, width, height, canvas);
    const test::WmfFile wmf = test::ReadWmf(fileBytes(dir.filePath(QStringLiteral("bild.wmf"))));
    ASSERT_EQ(wmf.error, "");
    EXPECT_EQ(wmf.boxRight, (width + 1) * 4);
    EXPECT_EQ(wmf.boxBottom, (height + 1) * 4);
    EXPECT_GT(wmf.records.size(), 100u);

    choice = SaveChoice{dir.filePath(QStringLiteral("bild.emf")), MetafileKind::Emf};
    click("SpeedButton17");
    expectScreenUnchanged(before, width, height, canvas);
    EXPECT_EQ(test::ReadEmf(fileBytes(dir.filePath(QStringLiteral("bild.emf")))).error, "");

    click("SpeedButton23");
    expectScreenUnchanged(before, width, height, canvas);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray clip = mime->data(QStringLiteral("image/x-wmf"));
    EXPECT_EQ(test::ReadWmf(std::vector<std::uint8_t>(clip.begin(), clip.end())).error, "");

    click("SpeedButton15");
    expectScreenUnchanged(before, width, height, canvas);
    const auto pdf = fileBytes(dir.filePath(QStringLiteral("print.pdf")));
    ASSERT_GT(pdf.size(), 100u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
    EXPECT_TRUE(errors.empty());
}

TEST_F(PrintExportWindowTest, FailedSaveKeepsTheScreen)
{
    const QImage before = screenPicture();
    const int width = PlotWidth;
    const int height = PlotHeight;
    Canvas* canvas = DrawCanvas;
    choice = SaveChoice{dir.filePath(QStringLiteral("fehlt/bild.wmf")), MetafileKind::Wmf};
    click("SpeedButton17");
    ASSERT_EQ(errors.size(), 1u);
    expectScreenUnchanged(before, width, height, canvas);
}

} // namespace
} // namespace kurvex

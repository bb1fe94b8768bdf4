// Tests of the fitting window's report through its widgets: the report panel and its refusals, the
// printed report and its pages, and the report document read back from the written file.
#include "tests/fitting/FittingWindowFixture.h"

#include "core/FitReport.h"
#include "fitting/ReportPanel.h"
#include "lesson/PrintExportHooks.h"
#include "support/TestTempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QToolButton>
#include <QXmlStreamReader>

namespace kurvex::test {
namespace {

// What a test learns of the report document: the file, its entries and its paragraphs.
struct WrittenDocument {
    QStringList entries;
    // Every paragraph's text with counted spaces written out; an image paragraph holds "[image w]".
    QStringList paragraphs;
    // The styles of the report's text runs: font family and size.
    QStringList fonts;
};

QByteArray unzip(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("unzip"), arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0) {
        ADD_FAILURE() << "unzip " << arguments.join(QLatin1Char(' ')).toStdString() << " failed";
        return {};
    }
    return process.readAllStandardOutput();
}

WrittenDocument readDocument(const QString& path)
{
    WrittenDocument doc;
    doc.entries =
        QString::fromUtf8(unzip({QStringLiteral("-Z1"), path})).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QXmlStreamReader xml(unzip({QStringLiteral("-p"), path, QStringLiteral("content.xml")}));
    QString paragraph;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("p")) {
            paragraph.clear();
            ++depth;
        } else if (xml.isEndElement() && xml.name() == QLatin1String("p")) {
            doc.paragraphs.append(paragraph);
            --depth;
        } else if (depth > 0 && xml.isCharacters()) {
            // As a word processor reads text: white space is one blank, none at the start of a
            // paragraph or after another blank; counted spaces stand as they are.
            for (const QChar c : xml.text()) {
                const bool blank = c == QLatin1Char(' ') || c == QLatin1Char('\t') ||
                                   c == QLatin1Char('\n') || c == QLatin1Char('\r');
                if (!blank) {
                    paragraph += c;
                } else if (!paragraph.isEmpty() && !paragraph.endsWith(QLatin1Char(' '))) {
                    paragraph += QLatin1Char(' ');
                }
            }
        } else if (depth > 0 && xml.isStartElement() && xml.name() == QLatin1String("s")) {
            const QStringView count = xml.attributes().value(QStringLiteral("text:c"));
            paragraph += QString(count.isEmpty() ? 1 : count.toInt(), QLatin1Char(' '));
        } else if (depth > 0 && xml.isStartElement() && xml.name() == QLatin1String("frame")) {
            paragraph +=
                QStringLiteral("[image %1]").arg(xml.attributes().value(QStringLiteral("svg:width")));
        } else if (xml.isStartElement() && xml.name() == QLatin1String("text-properties")) {
            doc.fonts.append(xml.attributes().value(QStringLiteral("fo:font-family")).toString() +
                             QLatin1Char(' ') +
                             xml.attributes().value(QStringLiteral("fo:font-size")).toString());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    // The no-break blank that holds a single leading blank reads as the blank it stands for.
    for (QString& p : doc.paragraphs) {
        p.replace(QChar(QChar::Nbsp), QLatin1Char(' '));
    }
    return doc;
}

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString pdf = QString::fromLatin1(file.readAll());
    return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

class FittingReportTest : public FittingWindowTest {
protected:
    void SetUp() override
    {
        FittingWindowTest::SetUp();
        PrintExportHooks hooks;
        hooks.showError = [this](QWidget*, const QString& m) { errors.append(m); };
        hooks.setupPrinter = [this](QWidget*, QPrinter& printer) {
            ++printerSetups;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf());
            return true;
        };
        hooks.documentFolder = [this] { return folder; };
        hooks.openDocument = [this](const QString& path, const std::function<void(bool)>& done) {
            opened.append(path);
            done(opens);
        };
        printHooks = std::make_unique<ScopedPrintExportHooks>(hooks);
        folder = dir.filePath(QStringLiteral("tmp"));
        QDir().mkpath(folder);
    }
    void TearDown() override
    {
        printHooks.reset();
        FittingWindowTest::TearDown();
    }

    QString pdf() const { return dir.filePath(QStringLiteral("report.pdf")); }
    QStringList filesInFolder() const { return QDir(folder).entryList(QDir::Files); }
    QPlainTextEdit* memo() const { return window->reportPanel().memo(); }
    void addLine(int n)
    {
        for (int i = 0; i < n; ++i) {
            editor().addPoint(i * 0.05, 0.1 * i + 0.01 * (i % 3));
        }
    }

    std::unique_ptr<ScopedPrintExportHooks> printHooks;
    QStringList errors;
    int printerSetups = 0;
    QString folder;
    QStringList opened;
    bool opens = true;
};

TEST_F(FittingReportTest, ReportButtonShowsTheFitsReportEditableOverThePlot)
{
    clickAt(0, 0);
    clickAt(1, 2);
    control<QToolButton>("SpeedButton4")->click();
    ReportPanel& panel = window->reportPanel();
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.x(), (window->plotBox()->width() - panel.width()) / 2) << "centred on the plot";
    EXPECT_EQ(panel.y(), (window->plotBox()->height() - panel.height()) / 2);
    EXPECT_FALSE(memo()->isReadOnly());
    // The report of the fit, r² and all (its lines are tested with the report itself).
    const QStringList lines = panel.lines();
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[5], QStringLiteral("   m =     2,000        "));
    EXPECT_EQ(lines[8], QStringLiteral("                        r² =   1,000     "));
    EXPECT_EQ(control<QLabel>("Label18")->text(), QStringLiteral("Auswertungsprotokoll"));
    EXPECT_EQ(control<QToolButton>("SpeedButton27")->toolTip(), QStringLiteral("Worddokument erstellen"));
    EXPECT_EQ(control<QToolButton>("SpeedButton27")->text(), QStringLiteral("MS Word"));

    control<QToolButton>("SpeedButton6")->click();
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(FittingReportTest, RefusedFitKeepsThePreviousReportOrSaysWhyThereIsNone)
{
    const QString why = QStringLiteral("Kein Auswertungsprotokoll: Die Kurvenanpassung ist nicht möglich!");
    // Three points of equal y and no report before: the panel and "MS Word" say why it is empty.
    editor().setPoints({{0, 2}, {1, 2}, {2, 2}}, 0);
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_TRUE(window->reportPanel().isVisible());
    EXPECT_TRUE(memo()->toPlainText().isEmpty());
    EXPECT_EQ(memo()->placeholderText(), why);
    control<QToolButton>("SpeedButton24")->click();
    EXPECT_EQ(printerSetups, 0) << "an empty report prints nothing";
    control<QToolButton>("SpeedButton27")->click();
    EXPECT_EQ(errors, QStringList{why});
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(filesInFolder().isEmpty());

    // After a fit the refused one leaves its report in the panel and in the document.
    errors.clear();
    editor().setPoints({{0, 1}, {1, 3}}, 0);
    control<QToolButton>("SpeedButton4")->click();
    const QStringList report = window->reportPanel().lines();
    ASSERT_FALSE(report.isEmpty());
    EXPECT_TRUE(memo()->placeholderText().isEmpty());
    editor().setPoints({{0, 2}, {1, 2}, {2, 2}}, 0);
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(window->reportPanel().lines(), report);
    control<QToolButton>("SpeedButton27")->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char(' ')).toStdString();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(readDocument(opened.front()).paragraphs.mid(0, report.size()), report);

    // The power model with a point at x = 0 fails its check: the panel stays as it was.
    memo()->setPlainText(QStringLiteral("edited"));
    control<QToolButton>("SpeedButton6")->click();
    control<QToolButton>("SpeedButtonPotfkt")->click();
    control<QToolButton>("SpeedButton4")->click();
    EXPECT_FALSE(window->reportPanel().isVisible());
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("edited"));
}

TEST_F(FittingReportTest, PrintedReportTakesTheEditedLinesAndAsManyPagesAsItNeeds)
{
    addLine(10);
    control<QToolButton>("SpeedButton4")->click();
    ASSERT_EQ(window->reportPanel().lines().size(), 27);
    control<QToolButton>("SpeedButton24")->click();
    EXPECT_EQ(printerSetups, 1);
    EXPECT_EQ(pdfPages(pdf()), 1);
    EXPECT_TRUE(errors.isEmpty());

    editor().deleteAll();
    addLine(101);
    control<QToolButton>("SpeedButton4")->click();
    ASSERT_EQ(window->reportPanel().lines().size(), 118);
    control<QToolButton>("SpeedButton24")->click();
    EXPECT_EQ(pdfPages(pdf()), 2) << "116 lines do not fit on one A4 page";

    // The printed lines are those the panel shows now, up to the end mark.
    QStringList edited;
    for (int i = 0; i < 200; ++i) {
        edited.append(QStringLiteral("Zeile %1").arg(i));
    }
    edited.insert(20, QString::fromUtf8(kReportEndMark));
    memo()->setPlainText(edited.join(QLatin1Char('\n')));
    control<QToolButton>("SpeedButton24")->click();
    EXPECT_EQ(pdfPages(pdf()), 1);
}

TEST_F(FittingReportTest, DocumentHoldsEveryReportLineInOrderAndOneImageOfTheGraph)
{
    addLine(3);
    editor().addPoint(-1.5, -0.25); // a row that starts with a single blank
    control<QToolButton>("SpeedButton4")->click();
    const QStringList report = window->reportPanel().lines();
    control<QToolButton>("SpeedButton27")->click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char(' ')).toStdString();
    ASSERT_EQ(opened.size(), 1);
    ASSERT_EQ(filesInFolder().size(), 1);
    const QString path = opened.front();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(folder).absoluteFilePath());
    EXPECT_TRUE(path.endsWith(QStringLiteral(".odt")));

    const WrittenDocument doc = readDocument(path);
    EXPECT_EQ(doc.entries.front(), QStringLiteral("mimetype"));
    EXPECT_TRUE(doc.entries.contains(QStringLiteral("content.xml")));
    EXPECT_EQ(doc.entries.filter(QStringLiteral("Pictures/")).size(), 1);
    ASSERT_EQ(doc.paragraphs.size(), report.size() + 2);
    for (qsizetype i = 0; i < report.size(); ++i) {
        EXPECT_EQ(doc.paragraphs[i], report[i]) << "line " << i + 1;
    }
    EXPECT_TRUE(report[14].startsWith(QStringLiteral(" -1,500")));
    EXPECT_EQ(doc.paragraphs[report.size()], QString()) << "an empty paragraph before the graph";
    EXPECT_EQ(doc.paragraphs.back().trimmed(), QStringLiteral("[image 300pt]"));
    EXPECT_TRUE(doc.fonts.contains(QStringLiteral("Courier New 8pt")))
        << doc.fonts.join(QLatin1Char('|')).toStdString();
}

TEST_F(FittingReportTest, DocumentThatCannotBeWrittenOrOpenedSaysSoAndLeavesNoFile)
{
    addLine(4);
    opens = false;
    control<QToolButton>("SpeedButton27")->click();
    EXPECT_EQ(errors, QStringList{QStringLiteral("Das Dokument konnte nicht geöffnet werden.")});
    EXPECT_EQ(opened.size(), 1);
    EXPECT_TRUE(filesInFolder().isEmpty());

    errors.clear();
    opened.clear();
    folder = dir.filePath(QStringLiteral("missing/folder"));
    control<QToolButton>("SpeedButton27")->click();
    EXPECT_EQ(errors,
              QStringList{QStringLiteral("Das Dokument konnte nicht erstellt werden.\nDer Ordner \"%1\" "
                                         "wurde nicht gefunden.")
                              .arg(folder)});
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_FALSE(QDir(folder).exists());

    // No temporary folder at all: said so, and nothing is written into the current folder.
    errors.clear();
    folder.clear();
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    control<QToolButton>("SpeedButton27")->click();
    QDir::setCurrent(before);
    EXPECT_EQ(errors,
              QStringList{QStringLiteral("Das Dokument konnte nicht erstellt werden.\nEs gibt keinen Ordner "
                                         "für temporäre Dateien (TMPDIR, /tmp, /var/tmp).")});
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.odt")}, QDir::Files).isEmpty());
}

TEST_F(FittingReportTest, DocumentFailingOnAFullDiskSaysWhyAndLeavesNoFile)
{
    addLine(4);
    {
        const test::FileSizeLimit limit(1024);
        control<QToolButton>("SpeedButton27")->click();
    }
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(
        QStringLiteral("Das Dokument konnte nicht erstellt werden.\nDie Datei \"%1/").arg(folder)))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].endsWith(QStringLiteral("konnte nicht gespeichert werden (Datei zu groß).")))
        << errors[0].toStdString();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The desktop's own opener, replaced by a script that records its argument and exits with a code.
TEST_F(FittingReportTest, DocumentOpenerThatFailsIsToldEvenThoughItStarted)
{
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const test::ScopedEnvironment path("PATH",
                                       QFile::encodeName(bin).toStdString() + ":" + std::getenv("PATH"));
    PrintExportHooks hooks;
    hooks.showError = [this](QWidget*, const QString& m) { errors.append(m); };
    hooks.documentFolder = [this] { return folder; };
    const ScopedPrintExportHooks desktopOpener(hooks);
    addLine(4);

    // A working opener first: had it been taken for a failure, its message would be there too.
    for (const int exitCode : {0, 3}) {
        SCOPED_TRACE(exitCode);
        const QString log = dir.filePath(QStringLiteral("opened-%1").arg(exitCode));
        QFile script(QDir(bin).filePath(QStringLiteral("xdg-open")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(
            QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\nexit %2\n").arg(log).arg(exitCode).toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        control<QToolButton>("SpeedButton27")->click();
        ASSERT_TRUE(QTest::qWaitFor([&log] { return QFile::exists(log); }, 20000));
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return !errors.isEmpty(); }, 20000));
    EXPECT_EQ(errors, QStringList{QStringLiteral("Das Dokument konnte nicht geöffnet werden.")});
    EXPECT_EQ(filesInFolder().size(), 1) << "the opened document stays for its application, the other goes";
}

} // namespace
} // namespace kurvex::test

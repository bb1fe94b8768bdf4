// The report document of the fitting window.
#include "fitting/ReportDocument.h"

#include "lesson/PrintExportHooks.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextFrame>
#include <QUrl>
#include <QWidget>

namespace kurvex {

namespace {

const QString kNotWritten = QStringLiteral("Das Dokument konnte nicht erstellt werden.");
const QString kNotOpened = QStringLiteral("Das Dokument konnte nicht geöffnet werden.");
const QString kGraphName = QStringLiteral("kurvex-graph.png");
const QString kFileTemplate = QStringLiteral("Auswertungsprotokoll-XXXXXX.odt");

// Sizes in points; the writer counts 96 pixels to the inch, so a point is 4/3 of its pixels.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
constexpr double kPageWidth = 596.0;
constexpr double kPageHeight = 842.0;
constexpr double kPageMargin = 56.0;
constexpr double kReportPointSize = 8.0;
constexpr double kTextPointSize = 12.0;
constexpr double kGraphWidth = 300.0;

QTextCharFormat fontFormat(const QString& family, double points)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    // Qt 6.4's document writer reads the family from the property it had before font lists.
    format.setProperty(QTextFormat::OldFontFamily, family);
    format.setFontPointSize(points);
    return format;
}

// A word processor drops a single blank at the start of a paragraph (a longer run is kept as a
// counted space); a no-break blank holds the column.
QString withLeadingBlankKept(const QString& line)
{
    if (line.startsWith(QLatin1Char(' ')) && !line.startsWith(QStringLiteral("  "))) {
        return QChar(QChar::Nbsp) + line.mid(1);
    }
    return line;
}

} // namespace

std::unique_ptr<QTextDocument> BuildReportDocument(const QStringList& lines, const QImage& graph)
{
    auto document = std::make_unique<QTextDocument>();
    // Page size and margins as the document holds them; the OpenDocument writer keeps only the text.
    document->setPageSize(QSizeF(kPageWidth, kPageHeight) * kPixelsPerPoint);
    QTextFrameFormat page = document->rootFrame()->frameFormat();
    page.setMargin(kPageMargin * kPixelsPerPoint);
    document->rootFrame()->setFrameFormat(page);

    QTextCursor cursor(document.get());
    const QTextCharFormat report = fontFormat(QStringLiteral("Courier New"), kReportPointSize);
    const QTextCharFormat text = fontFormat(QStringLiteral("Times New Roman"), kTextPointSize);
    cursor.setBlockCharFormat(report);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            cursor.insertBlock(QTextBlockFormat(), report);
        }
        cursor.insertText(withLeadingBlankKept(lines[i]), report);
    }
    cursor.insertBlock(QTextBlockFormat(), text);
    cursor.insertBlock(QTextBlockFormat(), text);
    if (!graph.isNull() && graph.width() > 0) {
        document->addResource(QTextDocument::ImageResource, QUrl(kGraphName), graph);
        QTextImageFormat image;
        image.setName(kGraphName);
        image.setWidth(kGraphWidth * kPixelsPerPoint);
        image.setHeight(kGraphWidth * kPixelsPerPoint * graph.height() / graph.width());
        cursor.insertImage(image);
    }
    return document;
}

QString WriteReportDocument(const QTextDocument& document, const QString& folder)
{
    QTemporaryFile file(QDir(folder).filePath(kFileTemplate));
    // The word processor reads the file after this returns; the user saves it from there.
    file.setAutoRemove(false);
    if (!file.open()) {
        return {};
    }
    const QString path = file.fileName();
    QTextDocumentWriter writer(&file, QByteArrayLiteral("odf"));
    const bool written = writer.write(&document) && file.error() == QFileDevice::NoError && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        QFile::remove(path);
        return {};
    }
    return path;
}

void ExportReportDocument(const QStringList& lines, const QImage& graph, QWidget* parent)
{
    const PrintExportHooks& hooks = CurrentPrintExportHooks();
    const std::unique_ptr<QTextDocument> document = BuildReportDocument(lines, graph);
    const QString path = WriteReportDocument(*document, hooks.documentFolder());
    if (path.isEmpty()) {
        hooks.showError(parent, kNotWritten);
        return;
    }
    // The opener may answer after the window has closed.
    hooks.openDocument(path, [path, window = QPointer<QWidget>(parent)](bool opened) {
        if (!opened) {
            QFile::remove(path);
            CurrentPrintExportHooks().showError(window, kNotOpened);
        }
    });
}

} // namespace kurvex

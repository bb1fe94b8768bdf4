// The report document of the fitting window.
#include "fitting/ReportDocument.h"

#include "lesson/PrintExportHooks.h"
#include "platform/TextFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextFrame>
#include <QUrl>
#include <QWidget>

#include <string>
#include <string_view>

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

QString WriteReportDocument(const QTextDocument& document, const QString& folder, QString& failure)
{
    failure.clear();
    const QFileInfo place(folder);
    if (folder.isEmpty()) {
        failure = QStringLiteral("Es gibt keinen Ordner für temporäre Dateien (TMPDIR, /tmp, /var/tmp).");
        return {};
    }
    if (!place.isAbsolute() || !place.isDir()) {
        failure = QStringLiteral("Der Ordner \"%1\" wurde nicht gefunden.").arg(folder);
        return {};
    }
    // The new file's name is taken first, so that no other document is written over.
    QTemporaryFile file(QDir(folder).filePath(kFileTemplate));
    file.setAutoRemove(false);
    if (!file.open()) {
        failure = QStringLiteral("Im Ordner \"%1\" kann keine Datei angelegt werden (%2).")
                      .arg(folder, place.isWritable() ? QStringLiteral("Fehler beim Anlegen")
                                                      : QStringLiteral("keine Schreibberechtigung"));
        return {};
    }
    const QString path = file.fileName();
    file.close();
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&bytes, QByteArrayLiteral("odf"));
    const bool built = writer.write(&document);
    const QByteArray& odf = bytes.data();
    // The word processor reads the file after this returns; the user saves it from there.
    const std::string error =
        built ? WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                    std::string_view(odf.constData(), static_cast<std::size_t>(odf.size())))
              : std::string("Das Dokument konnte nicht aufgebaut werden.");
    if (!error.empty()) {
        QFile::remove(path);
        failure = QString::fromStdString(error);
        return {};
    }
    return path;
}

void ExportReportDocument(const QStringList& lines, const QImage& graph, QWidget* parent)
{
    const PrintExportHooks& hooks = CurrentPrintExportHooks();
    const std::unique_ptr<QTextDocument> document = BuildReportDocument(lines, graph);
    QString failure;
    const QString path = WriteReportDocument(*document, hooks.documentFolder(), failure);
    if (path.isEmpty()) {
        hooks.showError(parent, kNotWritten + QStringLiteral("\n") + failure);
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

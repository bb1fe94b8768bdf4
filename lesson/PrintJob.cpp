// A print job that may write a file (print to PDF): the file is replaced only by a complete document.
#include "lesson/PrintJob.h"

#include "lesson/PrintExportHooks.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryFile>

#include <memory>
#include <string_view>
#include <sys/statvfs.h>

namespace kurvex {

namespace {

// A temporary file for the printer to write: in the temporary folder, where a full disk beside the
// target does not hinder it, else beside the target.
std::unique_ptr<QTemporaryFile> openSpool(const QString& target)
{
    for (const QString& folder : {TemporaryFolder(), QFileInfo(target).absolutePath()}) {
        if (folder.isEmpty()) {
            continue;
        }
        // No ".pdf" at the end, so that handing the name to the printer keeps its output format.
        auto spool =
            std::make_unique<QTemporaryFile>(QDir(folder).filePath(QStringLiteral(".kurvex-druck-XXXXXX")));
        if (spool->open()) {
            spool->close();
            return spool;
        }
    }
    return nullptr;
}

// The print engine does not report failed writes: a complete PDF ends with its cross-reference
// offset, which points at the table only when no byte before it was lost.
bool completePdf(std::string_view pdf)
{
    if (!pdf.starts_with("%PDF-")) {
        return false;
    }
    while (!pdf.empty() && (pdf.back() == '\n' || pdf.back() == '\r')) {
        pdf.remove_suffix(1);
    }
    if (!pdf.ends_with("%%EOF")) {
        return false;
    }
    const std::size_t at = pdf.rfind("startxref");
    if (at == std::string_view::npos) {
        return false;
    }
    std::size_t offset = 0;
    bool digits = false;
    for (std::size_t i = at + 9; i < pdf.size(); ++i) {
        const char c = pdf[i];
        if (c >= '0' && c <= '9') {
            offset = offset * 10 + static_cast<std::size_t>(c - '0');
            digits = true;
        } else if (digits || (c != ' ' && c != '\r' && c != '\n')) {
            break;
        }
        if (offset > pdf.size()) {
            return false;
        }
    }
    return digits && pdf.substr(offset).starts_with("xref");
}

// Why the printer could not write the whole document into the folder.
QString spoolFailureCause(const QString& spoolPath)
{
    struct statvfs fs {};
    constexpr unsigned long long kLittleRoom = 1u << 20;
    const QByteArray folder = QFile::encodeName(QFileInfo(spoolPath).absolutePath());
    if (::statvfs(folder.constData(), &fs) == 0 &&
        static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize < kLittleRoom) {
        return QStringLiteral("kein Speicherplatz frei");
    }
    return QStringLiteral("die Druckausgabe wurde nicht vollständig geschrieben");
}

QString saveFailure(const QString& target, const QString& cause)
{
    return QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden (%2).").arg(target, cause);
}

// What the print dialog set on the printer that shapes the document.
void takeSettings(QPrinter& to, const QPrinter& from)
{
    to.setOutputFormat(QPrinter::PdfFormat);
    to.setResolution(from.resolution());
    to.setPageLayout(from.pageLayout());
    to.setFullPage(from.fullPage());
    to.setColorMode(from.colorMode());
    to.setPageOrder(from.pageOrder());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDocName(from.docName());
    to.setCreator(from.creator());
    to.setPdfVersion(from.pdfVersion());
    to.setFontEmbeddingEnabled(from.fontEmbeddingEnabled());
}

} // namespace

std::optional<QString> RunPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& print)
{
    const QString target = printer.outputFileName();
    if (target.isEmpty()) {
        return print(printer) ? std::nullopt : std::optional<QString>(QString());
    }
    const std::unique_ptr<QTemporaryFile> spool = openSpool(target);
    if (!spool) {
        return saveFailure(target, QStringLiteral("kein Ordner für temporäre Dateien beschreibbar"));
    }
    // A printer of its own for each file: the PDF engine keeps a failed write as its state and
    // would write nothing into every later file.
    QPrinter file(QPrinter::HighResolution);
    takeSettings(file, printer);
    file.setOutputFileName(spool->fileName());
    if (!print(file)) {
        return QString();
    }
    QFile written(spool->fileName());
    const QByteArray pdf = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    const std::string_view bytes(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    if (!completePdf(bytes)) {
        return saveFailure(target, spoolFailureCause(spool->fileName()));
    }
    const std::string error = WriteFileAtomically(QFile::encodeName(target).toStdString(), bytes);
    if (!error.empty()) {
        return QString::fromStdString(error);
    }
    return std::nullopt;
}

} // namespace kurvex

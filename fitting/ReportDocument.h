// The report document of the fitting window's "MS Word" button: the report and the graph as an
// OpenDocument text in the temporary folder, opened with the desktop's default application.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTextDocument;
class QUrl;

namespace kurvex {

// How the document is opened and where it is written; an empty function means the desktop's
// opener and the user's temporary folder. Tests replace them.
struct ReportDocumentHooks {
    std::function<bool(const QUrl& file)> open;
    std::function<QString()> folder;
};

const ReportDocumentHooks& CurrentReportDocumentHooks();

// Installs hooks for its lifetime and puts the previous ones back.
class ScopedReportDocumentHooks {
public:
    explicit ScopedReportDocumentHooks(ReportDocumentHooks hooks);
    ~ScopedReportDocumentHooks();
    ScopedReportDocumentHooks(const ScopedReportDocumentHooks&) = delete;
    ScopedReportDocumentHooks& operator=(const ScopedReportDocumentHooks&) = delete;

private:
    ReportDocumentHooks previous_;
};

// The document: A4 with 56 pt margins, every line a paragraph in Courier New 8 pt with its blanks,
// an empty paragraph, then the graph 300 pt wide in its own proportions.
std::unique_ptr<QTextDocument> BuildReportDocument(const QStringList& lines, const QImage& graph);

// Writes the document to a new file in the folder; the file's path, or empty (and no file left)
// when it could not be written.
QString WriteReportDocument(const QTextDocument& document, const QString& folder);

// Builds, writes and opens the document. Returns the German message of a failure, or nothing; a
// document no application opened is removed again.
QString ExportReportDocument(const QStringList& lines, const QImage& graph);

} // namespace kurvex

// The report document of the fitting window's "MS Word" button: the report and the graph as an
// OpenDocument text in the temporary folder, opened with the desktop's default application.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

class QTextDocument;
class QWidget;

namespace kurvex {

// The document: A4 with 56 pt margins, every line a paragraph in Courier New 8 pt with its blanks,
// an empty paragraph, then the graph 300 pt wide in its own proportions.
std::unique_ptr<QTextDocument> BuildReportDocument(const QStringList& lines, const QImage& graph);

// Writes the document to a new file in the folder; the file's path, or empty (and no file left)
// when it could not be written, with failure saying in German where and why.
QString WriteReportDocument(const QTextDocument& document, const QString& folder, QString& failure);

// Builds the document, writes it to the export hooks' folder (the temporary folder, never the
// current one) and opens it there. A failure is told in German over parent, also one the opener
// reports later; a document no application opened is removed again.
void ExportReportDocument(const QStringList& lines, const QImage& graph, QWidget* parent);

} // namespace kurvex

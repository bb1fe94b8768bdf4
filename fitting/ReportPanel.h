// The report panel "Auswertungsprotokoll" of the fitting window: the report over the plot, editable
// before it is printed, with "zurück", "drucken" and "MS Word"; and the report printed on paper.
#pragma once

#include "fitting/PlotOverlayPanel.h"

#include <QStringList>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPrinter;

namespace kurvex {

class ReportPanel : public PlotOverlayPanel {
    Q_OBJECT
public:
    // plot: the plot box the panel is shown over.
    explicit ReportPanel(QWidget* plot);

    QPlainTextEdit* memo() const { return memo_; }
    // The report's lines (UTF-8) into the memo; no lines empty it.
    void setReport(const std::vector<std::string>& lines);
    // What the empty memo shows in grey: why there is no report; empty for nothing.
    void setMissingReason(const QString& reason);
    // The memo's lines as they stand now, edits included.
    QStringList lines() const;
    // Shown in the middle of the plot.
    void showCentred();
    // "drucken": the printer setup, then the memo's lines on the application's printer.
    void print();

signals:
    // "MS Word": the window writes the report document.
    void documentRequested();

private:
    QPlainTextEdit* memo_ = nullptr;
};

// Prints the lines up to the end mark: Courier New 3.5 mm high, 20 mm from the left and top edge
// of the printable area, 3.8 mm apart, on as many pages as they need. False when the printer could
// not be started.
bool PrintReportLines(QPrinter& printer, const QStringList& lines);

} // namespace kurvex

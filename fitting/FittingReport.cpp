// Fitting window (TForm30): the report of the fit, and the report document with the graph.
#include "fitting/FittingWindow.h"

#include "core/FitReport.h"
#include "fitting/ReportDocument.h"
#include "fitting/ReportPanel.h"
#include "lesson/PrintExport.h"
#include "lesson/PrintExportHooks.h"

namespace kurvex {

bool FittingWindow::writeReport()
{
    fitPoints();
    if (!checkPassed_) {
        return false;
    }
    // A refused fit leaves no report of an earlier fit to be taken for this one.
    report_->setReport(fit_.shown ? WriteFitReport(fit_.report) : std::vector<std::string>());
    return true;
}

void FittingWindow::showReport()
{
    if (writeReport()) {
        report_->showCentred();
    }
}

void FittingWindow::exportReportDocument()
{
    if (!writeReport() || !fit_.shown) {
        return;
    }
    const QImage graph = PictureImage(*this);
    refresh();
    const QString error = ExportReportDocument(report_->lines(), graph);
    if (!error.isEmpty()) {
        CurrentPrintExportHooks().showError(this, error);
    }
}

} // namespace kurvex

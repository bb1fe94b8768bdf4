// Fitting window (TForm30): the report of the fit, and the report document with the graph.
#include "fitting/FittingWindow.h"

#include "core/FitReport.h"
#include "fitting/ReportDocument.h"
#include "fitting/ReportPanel.h"
#include "lesson/PrintExport.h"
#include "lesson/PrintExportHooks.h"

namespace kurvex {

namespace {

QString noReportText(const FitOutcome& fit)
{
    return QStringLiteral("Kein Auswertungsprotokoll: ") + QString::fromStdString(fit.message);
}

} // namespace

bool FittingWindow::writeReport()
{
    fitPoints();
    if (!checkPassed_) {
        return false;
    }
    // A refused fit keeps the report of the last fit; without one the empty memo says why.
    if (fit_.shown) {
        report_->setReport(WriteFitReport(fit_.report));
    }
    report_->setMissingReason(fit_.shown ? QString() : noReportText(fit_));
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
    if (!writeReport()) {
        return;
    }
    if (report_->lines().isEmpty()) {
        CurrentPrintExportHooks().showError(this, noReportText(fit_));
        return;
    }
    const QImage graph = PictureImage(*this);
    refresh();
    ExportReportDocument(report_->lines(), graph, this);
}

} // namespace kurvex

// The report panel "Auswertungsprotokoll" of the fitting window and the printed report.
#include "fitting/ReportPanel.h"

#include "core/FitReport.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/ControlFactory.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/PrintJob.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace kurvex {

namespace {

const QString kPrintFailed = QStringLiteral("Das Auswertungsprotokoll konnte nicht gedruckt werden.");
// The memo's cream background.
const QColor kCream(0xFF, 0xFB, 0xF0);
// Tenths of a millimetre per inch.
constexpr double kUnitsPerInch = 254.0;

QToolButton* panelButton(const char* caption, const char* name, const char* hint, QWidget* parent)
{
    return MakeGlyphButton(QString::fromUtf8(caption), QString::fromLatin1(name), QString::fromUtf8(hint),
                           parent, QSize(80, 24));
}

} // namespace

ReportPanel::ReportPanel(QWidget* plot)
    : PlotOverlayPanel(QStringLiteral("Panel5"), QStringLiteral("Label18"),
                       QStringLiteral("Auswertungsprotokoll"), plot)
{
    QVBoxLayout* column = this->column();

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setFont(TermFont());
    // The report's columns are made of blanks: no wrapping, no proportional glyphs.
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette cream = memo_->palette();
    cream.setColor(QPalette::Base, kCream);
    memo_->setPalette(cream);
    column->addWidget(memo_, 1);

    auto* buttons = new QHBoxLayout;
    QToolButton* back = panelButton("zurück", "SpeedButton6", "", this);
    QToolButton* print = panelButton("drucken", "SpeedButton24", "", this);
    QToolButton* document = panelButton("MS Word", "SpeedButton27", "Worddokument erstellen", this);
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(print);
    buttons->addWidget(document);
    column->addLayout(buttons);
    connect(back, &QToolButton::clicked, this, &QWidget::hide);
    connect(print, &QToolButton::clicked, this, &ReportPanel::print);
    connect(document, &QToolButton::clicked, this, &ReportPanel::documentRequested);
    resize(580, 440);
}

void ReportPanel::setReport(const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines) {
        text.append(QString::fromStdString(line));
    }
    memo_->setPlainText(text.join(QLatin1Char('\n')));
}

void ReportPanel::setMissingReason(const QString& reason)
{
    memo_->setPlaceholderText(reason);
}

QStringList ReportPanel::lines() const
{
    const QString text = memo_->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void ReportPanel::showCentred()
{
    showCentredOnPlot();
}

void ReportPanel::print()
{
    const QStringList report = lines();
    if (report.isEmpty() || report.constFirst() == QString::fromUtf8(kReportEndMark)) {
        return;
    }
    const PrintExportHooks& hooks = CurrentPrintExportHooks();
    QPrinter& printer = ApplicationPrinter();
    if (printer.printerState() == QPrinter::Active || !hooks.setupPrinter(window(), printer)) {
        return;
    }
    if (printer.printerState() == QPrinter::Active) {
        return;
    }
    const std::optional<QString> failure =
        RunPrintJob(printer, [&report](QPrinter& job) { return PrintReportLines(job, report); });
    if (failure) {
        hooks.showError(window(),
                        failure->isEmpty() ? kPrintFailed : kPrintFailed + QStringLiteral("\n") + *failure);
    }
}

bool PrintReportLines(QPrinter& printer, const QStringList& lines)
{
    std::vector<std::string> all;
    for (const QString& line : lines) {
        all.push_back(line.toStdString());
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // One logical unit is a tenth of a millimetre, y downwards from the printable area's corner.
    const double scaleX = printer.logicalDpiX() / kUnitsPerInch;
    const double scaleY = printer.logicalDpiY() / kUnitsPerInch;
    const int printableHeight = static_cast<int>(printer.height() / scaleY);
    const int printableWidth = static_cast<int>(printer.width() / scaleX);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(kReportFontHeight);
    const auto pages = PaginateReport(PrintedReportLines(all), ReportLinesPerPage(printableHeight));
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            return false;
        }
        painter.resetTransform();
        painter.scale(scaleX, scaleY);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.setBackgroundMode(Qt::TransparentMode);
        int y = kReportTop;
        for (const std::string& line : pages[p]) {
            const QRectF cell(kReportLeft, y, std::max(1, printableWidth - kReportLeft), kReportLinePitch);
            painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                             QString::fromStdString(line));
            y += kReportLinePitch;
        }
    }
    return painter.end();
}

} // namespace kurvex

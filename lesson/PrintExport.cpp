// The three picture handlers every lesson window offers: print, metafile file, metafile clipboard.
#include "lesson/PrintExport.h"

#include "core/NumberText.h"
#include "core/PrintGeometry.h"
#include "core/Settings.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/DeviceStateGuard.h"
#include "lesson/PictureSource.h"
#include "lesson/PrintExportHooks.h"
#include "lesson/PrintJob.h"
#include "platform/EmfWriter.h"
#include "platform/FillsFirstCanvas.h"
#include "platform/MetafileCanvas.h"
#include "platform/QtCanvas.h"
#include "platform/QtTextMeasurer.h"
#include "platform/TextFile.h"
#include "platform/WmfWriter.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>

namespace kurvex {

namespace {

const QString kSaveFailed = QStringLiteral("Die Grafik konnte nicht gespeichert werden.");
const QString kPrintFailed = QStringLiteral("Die Grafik konnte nicht gedruckt werden.");
constexpr double kMetafileDpi = 96.0;

// The flavours under which programs on Linux look for a WMF on the clipboard: the office
// suite's own, the registered type and its older name.
const QStringList kWmfMimeTypes = {
    QStringLiteral("application/x-openoffice-wmf;windows_formatname=\"Image WMF\""),
    QStringLiteral("image/wmf"), QStringLiteral("image/x-wmf")};

// The plot font's size in whole points, as the font dialog and the settings know it
// (13 pixels at 96 dpi are 10 points).
double pointSize(const QFont& font)
{
    if (font.pointSizeF() > 0) {
        return std::round(font.pointSizeF());
    }
    return font.pixelSize() > 0 ? std::round(font.pixelSize() * 72.0 / kMetafileDpi) : 10.0;
}

Font canvasFont(const QFont& qf, int pixelHeight)
{
    Font f;
    f.family = qf.family().toStdString();
    f.pixelHeight = pixelHeight;
    f.bold = qf.bold();
    f.italic = qf.italic();
    f.underline = qf.underline();
    f.strikeOut = qf.strikeOut();
    return f;
}

// The screen plot size the picture starts from (the shared variables, or the paint box).
QSize screenPlot(const PictureSource& source)
{
    if (PlotWidth > 0 && PlotHeight > 0) {
        return {PlotWidth, PlotHeight};
    }
    return source.plotSize();
}

DeviceCaps capsOf(QPrinter& printer)
{
    DeviceCaps caps;
    caps.horzRes = printer.width();
    caps.vertRes = printer.height();
    caps.horzSize = printer.widthMM();
    caps.vertSize = printer.heightMM();
    caps.logPixelsX = printer.logicalDpiX();
    const int res = printer.resolution();
    const QPoint offset = printer.pageLayout().paintRectPixels(res).topLeft() -
                          printer.pageLayout().fullRectPixels(res).topLeft();
    caps.physicalOffsetX = offset.x();
    caps.physicalOffsetY = offset.y();
    return caps;
}

// Runs the window's passes onto the canvas with the fills under the lines, as the screen shows
// them (see FillsFirstCanvas).
void paintFillsFirst(PictureSource& source, Canvas& canvas)
{
    FillsFirstCanvas picture(canvas, source.exportVariant().layered ? FillsFirstCanvas::Fills::All
                                                                    : FillsFirstCanvas::Fills::Hatched);
    DrawCanvas = &picture;
    source.paintPicture();
    picture.finish();
    DrawCanvas = &canvas;
}

// Runs the picture on the canvas at the metafile scale and size; the device state is back as it
// was when this returns or throws.
void paintAtExportScale(PictureSource& source, Canvas& canvas, ExportSize size)
{
    const ExportVariant variant = source.exportVariant();
    const QFont font = source.plotFont();
    DeviceStateGuard guard;
    Printing = true;
    DrawScale = variant.metafileScale;
    PlotWidth = size.width;
    PlotHeight = size.height;
    const int points = ExportFontPoints(pointSize(font), variant.metafileScale, variant.fontFactor);
    canvas.setFont(canvasFont(font, PointsToPixels(points, kMetafileDpi)));
    canvas.setTextAlign(TaLeft | TaTop);
    paintFillsFirst(source, canvas);
}

// The plot at the export scale, and the whole picture: taller than the plot for two panes or for
// a plot that leaves the bottom fifth of its box to bars.
struct ExportGeometry {
    ExportSize plot;
    ExportSize picture;
};

ExportGeometry exportGeometry(const PictureSource& source)
{
    const QSize screen = screenPlot(source);
    const ExportVariant variant = source.exportVariant();
    ExportGeometry g;
    g.plot = ExportPlotSize(screen.width(), screen.height(), variant.metafileScale);
    g.picture = g.plot;
    const double factor = std::clamp(variant.pictureHeightFactor, 1.0, 4.0);
    g.picture.height = static_cast<int>(std::lround(g.plot.height * factor));
    return g;
}

MetafileRecording recordPicture(PictureSource& source, const QtTextMeasurer& measurer)
{
    const ExportGeometry g = exportGeometry(source);
    MetafileCanvas canvas(g.picture.width, g.picture.height, measurer);
    paintAtExportScale(source, canvas, g.plot);
    return canvas.recording();
}

// The same picture through the QPainter backend, white behind it: the clipboard's raster copy.
QImage rasterPicture(PictureSource& source)
{
    const ExportGeometry g = exportGeometry(source);
    QImage image(g.picture.width, g.picture.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QtCanvas canvas(image);
    canvas.setPictureScale(source.exportVariant().metafileScale);
    paintAtExportScale(source, canvas, g.plot);
    canvas.end();
    return image;
}

// Written as every other save writes: a temporary file beside the target, renamed over it when
// complete, so a full disk leaves the old picture. The German cause of a failure, else empty.
QString writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    return QString::fromStdString(
        WriteFileAtomically(QFile::encodeName(path).toStdString(),
                            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

// The picture's place and scale on the printer's page; nothing when the device or the picture
// gives nothing to scale by.
std::optional<PrintLayout> printLayout(const PictureSource& source, const DeviceCaps& caps)
{
    const ExportVariant variant = source.exportVariant();
    const QSize plot = screenPlot(source);
    PrintRequest request;
    request.xSpan = std::abs(XMax - XMin);
    request.ySpan = std::abs(YMax - YMin);
    request.autoXTickStep = AutoXTickStep;
    request.autoYTickStep = AutoYTickStep;
    request.plotWidth = plot.width();
    request.plotHeight = plot.height();
    request.plotLeft = PlotLeft;
    request.plotTop = PlotTop;
    request.sizePercent = PrintSizePercent;
    request.marginLeftCm = PrintMarginLeft;
    request.marginTopCm = PrintMarginTop;
    request.clip = variant.clipToPage ? PrintClip::Page : PrintClip::Plot;
    request.screenFontPoints = pointSize(source.plotFont());
    auto layout = ComputePrintLayout(caps, request);
    if (!layout) {
        return std::nullopt;
    }
    // The clip around the plot grows with a picture taller than its plot (panes, bars below).
    const double factor = std::clamp(variant.pictureHeightFactor, 1.0, 4.0);
    if (!variant.clipToPage && factor > 1.0) {
        const int height = layout->clip.bottom - layout->clip.top;
        layout->clip.bottom = layout->clip.top + static_cast<int>(std::lround(height * factor));
    }
    source.adjustPrintLayout(*layout);
    return layout;
}

// What the user is told before a picture too large for the page is printed smaller.
QString fitToPageQuestion(const PrintLayout& layout, const DeviceCaps& caps, double heightFactor, double fit)
{
    const double extra = std::round(layout.drawScale);
    const auto cm = [](double pixels, double perCm) {
        return QString::fromStdString(FormatTwoDecimals(perCm > 0.0 ? pixels / perCm : 0.0));
    };
    return QStringLiteral("Die Grafik ist bei der Druckgröße %1 % mit %2 × %3 cm größer als die Seite "
                          "(%4 × %5 cm).\nSie wird auf %6 % verkleinert gedruckt und ist dann nicht "
                          "maßstabsgetreu.")
        .arg(PrintSizePercent)
        .arg(cm(layout.plotWidth + extra, layout.pxPerCmX),
             cm(std::round(layout.plotHeight * heightFactor) + extra, layout.pxPerCmY),
             cm(caps.horzRes - layout.originX, layout.pxPerCmX),
             cm(caps.vertRes - layout.originY, layout.pxPerCmY))
        .arg(static_cast<int>(std::floor(fit * 100.0)));
}

// Paints the picture with the layout onto the open printer painter.
void printOnto(PictureSource& source, const PrintLayout& layout, QPainter& painter)
{
    DeviceStateGuard guard;
    PlotWidth = layout.plotWidth;
    PlotHeight = layout.plotHeight;
    DrawScale = layout.drawScale;
    PrintOriginX = layout.originX;
    PrintOriginY = layout.originY;
    QtCanvas canvas(painter);
    canvas.setPictureScale(layout.drawScale);
    canvas.setWindowOrigin(layout.originX, layout.originY);
    // The canvas clips in picture coordinates, which start at the origin.
    canvas.setClipRect(Rect{layout.clip.left - layout.originX, layout.clip.top - layout.originY,
                            layout.clip.right - layout.originX, layout.clip.bottom - layout.originY});
    canvas.setFont(canvasFont(source.plotFont(), layout.fontPixelHeight));
    canvas.setTextAlign(TaLeft | TaTop);
    Printing = true;
    paintFillsFirst(source, canvas);
}

} // namespace

void PrintPicture(PictureSource& source)
{
    const PrintExportHooks& hooks = CurrentPrintExportHooks();
    QWidget* parent = source.dialogParent();
    QPrinter& printer = ApplicationPrinter();
    if (printer.printerState() == QPrinter::Active || !hooks.setupPrinter(parent, printer)) {
        return;
    }
    if (printer.printerState() == QPrinter::Active) {
        return;
    }
    const DeviceCaps caps = capsOf(printer);
    std::optional<PrintLayout> layout = printLayout(source, caps);
    if (layout) {
        // A picture larger than the page is never cut silently: the user hears it and gets it
        // whole, smaller, or not at all.
        const ExportVariant variant = source.exportVariant();
        const double heightFactor = std::clamp(variant.pictureHeightFactor, 1.0, 4.0);
        const double fit = PrintFitFactor(*layout, caps, heightFactor);
        if (fit < 1.0) {
            if (!hooks.confirmFitToPage(parent, fitToPageQuestion(*layout, caps, heightFactor, fit))) {
                return;
            }
            ShrinkPrintLayout(*layout, fit, variant.clipToPage ? PrintClip::Page : PrintClip::Plot);
        }
    }
    std::optional<QString> failure;
    try {
        failure = RunPrintJob(printer, [&source, &layout](QPrinter& job) {
            QPainter painter;
            if (!painter.begin(&job)) {
                return false;
            }
            if (!layout) {
                job.abort();
                painter.end();
                return false;
            }
            printOnto(source, *layout, painter);
            return painter.end();
        });
    } catch (const std::exception&) {
        failure = QString();
    }
    source.refresh();
    if (failure) {
        hooks.showError(parent,
                        failure->isEmpty() ? kPrintFailed : kPrintFailed + QStringLiteral("\n") + *failure);
    }
}

void ExportMetafileFile(PictureSource& source)
{
    const PrintExportHooks& hooks = CurrentPrintExportHooks();
    QWidget* parent = source.dialogParent();
    const auto choice = hooks.chooseFile(parent);
    if (!choice || choice->path.isEmpty()) {
        return;
    }
    const QString target =
        QString::fromStdString(MetafileTargetPath(choice->path.toStdString(), choice->kind));
    // The dialog asked about the file it showed; a different existing file needs its own answer.
    if (QFileInfo(target).absoluteFilePath() != QFileInfo(choice->path).absoluteFilePath() &&
        QFileInfo::exists(target) &&
        !hooks.confirmReplace(
            parent, QStringLiteral("Die Datei \"%1\" ist bereits vorhanden.\nSoll sie ersetzt werden?")
                        .arg(QFileInfo(target).fileName()))) {
        return;
    }

    TraceMode = false;
    QString failure;
    try {
        const QtTextMeasurer measurer;
        const MetafileRecording recording = recordPicture(source, measurer);
        failure =
            writeFile(target, choice->kind == MetafileKind::Emf ? WriteEmf(recording) : WriteWmf(recording));
    } catch (const std::exception&) {
        failure = QStringLiteral("Die Grafik für \"%1\" konnte nicht erzeugt werden.").arg(target);
    }
    source.refresh();
    if (!failure.isEmpty()) {
        hooks.showError(parent, kSaveFailed + QStringLiteral("\n") + failure);
    }
}

QImage PictureImage(PictureSource& source)
{
    return rasterPicture(source);
}

std::vector<std::uint8_t> PictureMetafile(PictureSource& source, MetafileKind kind)
{
    const QtTextMeasurer measurer;
    const MetafileRecording recording = recordPicture(source, measurer);
    return kind == MetafileKind::Emf ? WriteEmf(recording) : WriteWmf(recording);
}

void ExportMetafileClipboard(PictureSource& source)
{
    std::vector<std::uint8_t> wmf;
    QImage raster;
    try {
        const QtTextMeasurer measurer;
        const MetafileRecording recording = recordPicture(source, measurer);
        wmf = WriteWmf(recording);
        raster = rasterPicture(source);
    } catch (const std::exception&) {
        wmf.clear();
    }
    source.refresh();
    if (wmf.empty()) {
        CurrentPrintExportHooks().showError(source.dialogParent(), kSaveFailed);
        return;
    }
    auto mime = std::make_unique<QMimeData>();
    const QByteArray bytes(reinterpret_cast<const char*>(wmf.data()), static_cast<qsizetype>(wmf.size()));
    for (const QString& type : kWmfMimeTypes) {
        mime->setData(type, bytes);
    }
    if (!raster.isNull()) {
        mime->setImageData(raster);
    }
    QApplication::clipboard()->setMimeData(mime.release());
}

} // namespace kurvex

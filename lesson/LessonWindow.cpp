// Base of every lesson window: layers and panes, the drawing passes, world window, mouse, keys,
// buttons and the close rules.
#include "lesson/LessonWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/Cursors.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/FrameDialogs.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExport.h"
#include "platform/QtCanvas.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// The cursor slot of the zoom rectangle.
constexpr int kZoomCursorSlot = 1;

// Height of one pane of a plot box of the given height.
int paneHeight(const PicturePlan& plan, int boxHeight)
{
    if (plan.panes >= 2) {
        return (boxHeight + 1) / 2;
    }
    return plan.share == PlotShare::TopFourFifths ? boxHeight / 5 * 4 : boxHeight;
}

} // namespace

LessonWindow::LessonWindow(const LessonVariant& variant, QWidget* owner)
    : QDialog(owner), variant_(variant), animation_(variant.delay)
{
    variant_.picture.panes = std::clamp(variant_.picture.panes, 1, 2);
    DrawScale = 1.0;
    Printing = false;
    if (variant_.setsModuleOpen) {
        ModuleOpen = true;
    }
    buildFrame();
}

LessonWindow::~LessonWindow()
{
    if (variant_.setsModuleOpen) {
        ModuleOpen = false;
    }
    // The shared target must not keep pointing at a canvas of a window that is gone.
    if (DrawCanvas == foregroundCanvas_.get() || DrawCanvas == backgroundCanvas_.get()) {
        DrawCanvas = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Layers, panes and passes

QSize LessonWindow::plotSize() const
{
    const QSize box = layerSize();
    return {box.width(), paneHeight(variant_.picture, box.height())};
}

QFont LessonWindow::plotFont() const
{
    QFont f(QString::fromStdString(plotFont_.family));
    f.setPixelSize(std::max(1, plotFont_.pixelHeight));
    f.setBold(plotFont_.bold);
    f.setItalic(plotFont_.italic);
    return f;
}

ExportVariant LessonWindow::exportVariant() const
{
    ExportVariant e{variant_.metafileScale, variant_.fontFactor, variant_.printClipToPage, 1.0,
                    variant_.picture.backgroundLayer};
    if (variant_.picture.panes >= 2) {
        e.pictureHeightFactor = 2.0;
    } else if (variant_.picture.share == PlotShare::TopFourFifths) {
        e.pictureHeightFactor = 1.25;
    }
    return e;
}

void LessonWindow::setPlotFontSpec(const Font& font)
{
    plotFont_ = font;
    for (QtCanvas* c : {foregroundCanvas_.get(), backgroundCanvas_.get()}) {
        if (c != nullptr) {
            c->setFont(font);
        }
    }
}

QSize LessonWindow::layerSize() const
{
    return fixedLayerSize_ ? *fixedLayerSize_ : plotBox_->size();
}

void LessonWindow::setPlotGeometry(QSize box)
{
    PlotLeft = 0;
    PlotTop = 0;
    PlotWidth = box.width();
    PlotHeight = paneHeight(variant_.picture, box.height());
}

void LessonWindow::prepareLayers()
{
    const QSize size = layerSize().expandedTo(QSize(1, 1));
    setPlotGeometry(size);
    // Drawn at the screen's resolution, so that thin lines and text are as crisp as the controls.
    const qreal ratio = std::max<qreal>(1.0, plotBox_->devicePixelRatioF());
    if (foregroundCanvas_ && foreground_.deviceIndependentSize().toSize() == size &&
        foreground_.devicePixelRatio() == ratio) {
        return;
    }
    if (DrawCanvas == foregroundCanvas_.get() || DrawCanvas == backgroundCanvas_.get()) {
        DrawCanvas = nullptr;
    }
    foregroundCanvas_.reset();
    backgroundCanvas_.reset();
    const auto makeLayer = [&](QImage& image, std::unique_ptr<QtCanvas>& canvas) {
        image = QImage((QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        canvas = std::make_unique<QtCanvas>(image);
        canvas->setFont(plotFont_);
    };
    makeLayer(foreground_, foregroundCanvas_);
    if (variant_.picture.backgroundLayer) {
        makeLayer(background_, backgroundCanvas_);
    } else {
        background_ = QImage();
    }
    plotBox_->setPicture(&foreground_);
    DrawCanvas = foregroundCanvas_.get();
}

void LessonWindow::refresh()
{
    // A picture going to printer or metafile owns the shared drawing state until it is done.
    if (Printing) {
        return;
    }
    prepareLayers();
    refreshControls();
    fullRedraw();
}

void LessonWindow::clearLayer(Canvas& canvas, QImage& image)
{
    // The brush is left as a filled rectangle would leave it; the pixels are written directly,
    // as one run over the whole buffer, which is cheaper than QImage::fill's row by row fill.
    canvas.setBrush({BackgroundColor, BrushStyle::Solid});
    const QRgb colour =
        qRgb(colorRed(BackgroundColor), colorGreen(BackgroundColor), colorBlue(BackgroundColor));
    if (image.depth() != 32) {
        image.fill(colour);
        return;
    }
    auto* pixels = reinterpret_cast<quint32*>(image.bits());
    std::fill_n(pixels, image.sizeInBytes() / 4, colour);
}

void LessonWindow::andImages(QImage& dst, const QImage& src)
{
    if (dst.depth() != 32 || src.depth() != 32) {
        return;
    }
    const auto andRun = [](quint32* __restrict d, const quint32* __restrict s, qsizetype n) {
        for (qsizetype i = 0; i < n; ++i) {
            d[i] &= s[i];
        }
    };
    // Layers of one size share one layout: a single run over the buffers.
    if (dst.size() == src.size() && dst.bytesPerLine() == src.bytesPerLine()) {
        andRun(reinterpret_cast<quint32*>(dst.bits()), reinterpret_cast<const quint32*>(src.constBits()),
               dst.sizeInBytes() / 4);
        return;
    }
    const int w = std::min(dst.width(), src.width());
    const int h = std::min(dst.height(), src.height());
    for (int y = 0; y < h; ++y) {
        andRun(reinterpret_cast<quint32*>(dst.scanLine(y)),
               reinterpret_cast<const quint32*>(src.constScanLine(y)), w);
    }
}

void LessonWindow::beginPane(int pane, Layer layer)
{
    currentPane_ = std::clamp(pane, 0, variant_.picture.panes - 1);
    const int top = currentPane_ * PlotHeight;
    if (Printing) {
        // Printer and metafile: the lower pane lands below the upper one, and each pane's drawing
        // stays in its pane, as on screen.
        if (DrawCanvas != nullptr) {
            DrawCanvas->setWindowOrigin(printOrigin_.x, printOrigin_.y + top);
            if (variant_.picture.panes >= 2) {
                DrawCanvas->setClipRect(printPaneClip(top));
            }
        }
        return;
    }
    QtCanvas* canvas = layer == Layer::Background ? backgroundCanvas_.get() : foregroundCanvas_.get();
    DrawCanvas = canvas;
    if (canvas == nullptr || variant_.picture.panes < 2) {
        return;
    }
    canvas->setWindowOrigin(0, top);
    canvas->setClipRect(Rect{0, 0, PlotWidth, PlotHeight});
}

Rect LessonWindow::printPaneClip(int top) const
{
    // The pane's rows, and across it what the printer's clip leaves (the whole plot otherwise).
    Rect clip{0, 0, PlotWidth, PlotHeight};
    if (printClip_) {
        clip.left = printClip_->left;
        clip.right = printClip_->right;
        clip.top = std::max(0, printClip_->top - top);
        clip.bottom = std::min(PlotHeight, printClip_->bottom - top);
    }
    return clip;
}

void LessonWindow::endPanes()
{
    currentPane_ = 0;
    if (Printing) {
        if (DrawCanvas != nullptr) {
            DrawCanvas->setWindowOrigin(printOrigin_.x, printOrigin_.y);
            if (variant_.picture.panes >= 2 && printClip_) {
                DrawCanvas->setClipRect(*printClip_);
            } else if (variant_.picture.panes >= 2) {
                DrawCanvas->clearClip();
            }
        }
        return;
    }
    for (QtCanvas* c : {foregroundCanvas_.get(), backgroundCanvas_.get()}) {
        if (c != nullptr && variant_.picture.panes >= 2) {
            c->setWindowOrigin(0, 0);
            c->clearClip();
        }
    }
    DrawCanvas = foregroundCanvas_.get();
}

void LessonWindow::paintCoordinateSystem(int pane)
{
    setAxisCaptions(pane);
    DrawCoordinateSystem();
}

void LessonWindow::paintFixedParts(int pane)
{
    paintCoordinateSystem(pane);
    paintBackground(pane);
}

void LessonWindow::drawBackground()
{
    if (!variant_.picture.backgroundLayer) {
        return;
    }
    if (!Printing) {
        if (!backgroundCanvas_) {
            prepareLayers();
        }
        clearLayer(*backgroundCanvas_, background_);
    }
    for (int pane = 0; pane < variant_.picture.panes; ++pane) {
        beginPane(pane, Layer::Background);
        paintFixedParts(pane);
    }
    endPanes();
}

void LessonWindow::drawPicture()
{
    if (!Printing) {
        if (!foregroundCanvas_) {
            prepareLayers();
        }
        clearLayer(*foregroundCanvas_, foreground_);
    }
    for (int pane = 0; pane < variant_.picture.panes; ++pane) {
        beginPane(pane, Layer::Foreground);
        if (!variant_.picture.backgroundLayer) {
            paintFixedParts(pane);
        }
        paintForeground(pane);
    }
    endPanes();
    if (Printing) {
        return;
    }
    if (backgroundCanvas_) {
        andImages(foreground_, background_);
    }
    plotBox_->showPicture();
}

void LessonWindow::fullRedraw()
{
    drawBackground();
    drawPicture();
}

void LessonWindow::paintPicture()
{
    printOrigin_ = DrawCanvas != nullptr ? DrawCanvas->windowOrigin() : Point{};
    printClip_.reset();
    if (DrawCanvas != nullptr && DrawCanvas->hasClip()) {
        printClip_ = DrawCanvas->clipRect();
    }
    fullRedraw();
}

void LessonWindow::setAxisCaptions(int)
{
    XAxisLabel = "x";
    YAxisLabel = "y";
}

std::optional<double> LessonWindow::curveValue(double)
{
    return std::nullopt;
}

void LessonWindow::drawCurve(const CurveFunction& f, double xFrom, double xTo)
{
    DrawCurve(XMin, XMax, xFrom, xTo, f, variant_.curve);
}

void LessonWindow::drawCurve(const CurveFunction& f, double xFrom, double xTo, TColor color, int lineWidth)
{
    DrawCurve(XMin, XMax, xFrom, xTo, f, variant_.curve, color, lineWidth);
}

void LessonWindow::drawCurve()
{
    drawCurve(XMin, XMax);
}

void LessonWindow::drawCurve(double xFrom, double xTo)
{
    drawCurve([this](double x) { return curveValue(x); }, xFrom, xTo);
}

// ---------------------------------------------------------------------------------------------
// World window

void LessonWindow::initWorld()
{
    ResetWorld();
}

void LessonWindow::checkWorld()
{
    CheckWorld(variant_.worldLimits);
}

void LessonWindow::worldButtonDone(WorldChange how)
{
    checkWorld();
    worldChanged(how);
    fullRedraw();
}

void LessonWindow::zoomOut()
{
    setWorld(zoomedOut(currentWorld()));
    worldButtonDone(WorldChange::Zoom);
}

void LessonWindow::zoomIn()
{
    setWorld(zoomedIn(currentWorld()));
    worldButtonDone(WorldChange::Zoom);
}

void LessonWindow::pan(int dirX, int dirY)
{
    setWorld(panned(currentWorld(), dirX, dirY));
    worldButtonDone(WorldChange::Pan);
}

void LessonWindow::resetWorld()
{
    initWorld();
    worldChanged(WorldChange::Reset);
    fullRedraw();
}

WorldPoint LessonWindow::worldAt(QPointF pixel) const
{
    const QSize plot = plotSize();
    const double w = std::max(1, plot.width());
    const double h = std::max(1, plot.height());
    WorldPoint p;
    p.pane = std::clamp(static_cast<int>(std::floor(pixel.y() / h)), 0, variant_.picture.panes - 1);
    p.x = XMin + (XMax - XMin) * pixel.x() / w;
    p.y = YMax - (YMax - YMin) * (pixel.y() - p.pane * h) / h;
    return p;
}

// ---------------------------------------------------------------------------------------------
// Mouse on the plot

bool LessonWindow::rubberBandEnabled() const
{
    switch (variant_.rubberBand) {
    case RubberBandMode::Always:
        return true;
    case RubberBandMode::WithZoomBox:
        return zoomBox_ != nullptr && zoomBox_->Checked();
    case RubberBandMode::None:
        break;
    }
    return false;
}

void LessonWindow::updatePlotCursor()
{
    if (rubberBandEnabled()) {
        plotBox_->setCursor(ProgramCursor(kZoomCursorSlot));
    } else if (variant_.dragCursorSlot > 0 && plotDragAvailable()) {
        plotBox_->setCursor(ProgramCursor(variant_.dragCursorSlot));
    } else {
        plotBox_->unsetCursor();
    }
}

void LessonWindow::onPlotPressed(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        plotRightClick(event);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (rubberBandEnabled()) {
        plotBox_->setCursor(ProgramCursor(kZoomCursorSlot));
        bandAnchor_ = event->position().toPoint();
        plotBox_->setBand(QRect(bandAnchor_, bandAnchor_));
        rubberBandActive_ = true;
        return;
    }
    mouseDragActive_ = true;
    plotPress(event);
}

void LessonWindow::onPlotMoved(QMouseEvent* event)
{
    if (!rubberBandEnabled()) {
        plotMove(event);
        return;
    }
    if (rubberBandActive_) {
        plotBox_->setBand(QRect(bandAnchor_, event->position().toPoint()));
    }
}

void LessonWindow::onPlotReleased(QMouseEvent* event)
{
    mouseDragActive_ = false;
    if (!rubberBandEnabled()) {
        plotRelease(event);
        return;
    }
    // A release without a band of its own (the press came before "Zoom" was checked) zooms nowhere.
    if (event->button() != Qt::LeftButton || !rubberBandActive_) {
        return;
    }
    rubberBandActive_ = false;
    plotBox_->setBand(std::nullopt);
    const QPoint p = event->position().toPoint();
    if (!bandZooms(bandAnchor_.x(), bandAnchor_.y(), p.x(), p.y())) {
        return;
    }
    setWorld(bandToWorld(bandAnchor_.x(), bandAnchor_.y(), p.x(), p.y()));
    worldButtonDone(WorldChange::Band);
}

void LessonWindow::plotRightClick(QMouseEvent*)
{
    openSettings();
}

bool LessonWindow::panelRightClick(QMouseEvent*)
{
    return false;
}

bool LessonWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Presses that the panel's controls leave unhandled reach the panel too, so this sees them.
    if (watched == rightPanel_ && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton && panelRightClick(press)) {
            press->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Buttons

void LessonWindow::openSettings()
{
    beforeSettings();
    showSettingsDialog();
    // The dialog edits the world window directly; whatever it left, the plotter gets a sound one.
    checkWorld();
    refresh();
}

void LessonWindow::showSettingsDialog()
{
    if (const auto& open = InstalledFrameDialogs().settings) {
        open(this, [this] { fullRedraw(); });
    }
}

void LessonWindow::openHelp()
{
    if (const auto& open = InstalledFrameDialogs().help) {
        open(this);
    }
}

void LessonWindow::printPicture()
{
    PrintPicture(*this);
}

void LessonWindow::exportMetafileFile()
{
    ExportMetafileFile(*this);
}

void LessonWindow::exportMetafileClipboard()
{
    ExportMetafileClipboard(*this);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool LessonWindow::windowKey(QKeyEvent*)
{
    return false;
}

void LessonWindow::keyPressEvent(QKeyEvent* event)
{
    if (windowKey(event)) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        reject();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter goes on to the next field; it never presses a button.
        event->accept();
        focusNextChild();
        return;
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (variant_.arrowKeys == ArrowKeys::MoveFocus && event->modifiers() == Qt::NoModifier) {
            event->accept();
            focusNextPrevChild(event->key() == Qt::Key_Down);
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Animation, show and close

void LessonWindow::runAnimation(AnimationTrack track, double step)
{
    // A window about to close starts nothing new.
    if (closePending_) {
        if (track.toggle != nullptr) {
            track.toggle->setChecked(false);
        }
        return;
    }
    animation_.run(std::move(track), step);
    if (!animation_.active() && closePending_) {
        closePending_ = false;
        done(pendingResult_);
    }
}

double LessonWindow::pixelColumn()
{
    return (XMax - XMin) / std::max(1, PlotWidth);
}

void LessonWindow::runPixelSweep(ToggleSwitch* toggle, double& x, double& step, std::function<void()> show,
                                 std::function<void()> finished)
{
    step = pixelColumn();
    AnimationTrack track;
    track.toggle = toggle;
    track.frame = [&x, &step, show = std::move(show)] {
        x += step;
        show();
        step = turnAround(x, step, XMin, XMax);
    };
    track.finished = std::move(finished);
    runAnimation(std::move(track), step);
}

void LessonWindow::showEvent(QShowEvent* event)
{
    closed_ = false;
    QDialog::showEvent(event);
    if (firstShow_) {
        firstShow_ = false;
        openAtPlannedSize();
    }
    refresh();
    updatePlotCursor();
}

void LessonWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // After the window manager has finished this change, not inside it.
    if (isVisible() && !widthFitPending_) {
        widthFitPending_ = true;
        QTimer::singleShot(0, this, [this] {
            widthFitPending_ = false;
            if (isVisible()) {
                fitWidthToPlot();
            }
        });
    }
}

void LessonWindow::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    // Framing a new window moves it; its title bar's height is known from then on. A few moves
    // at most: later ones are the user's, also under a manager that draws no frame.
    if (fullHeightChecks_ > 0) {
        --fullHeightChecks_;
        QTimer::singleShot(0, this, [this] { takeFullHeight(); });
    }
}

void LessonWindow::done(int result)
{
    if (animation_.active()) {
        closePending_ = true;
        pendingResult_ = result;
        animation_.stopAll();
        return;
    }
    if (!closed_) {
        closed_ = true;
        animation_.stopAll();
        rubberBandActive_ = false;
        mouseDragActive_ = false;
        plotBox_->setBand(std::nullopt);
        closing();
        DrawScale = 1.0;
        if (variant_.setsModuleOpen) {
            ModuleOpen = false;
        }
    }
    QDialog::done(result);
}

void LessonWindow::closeEvent(QCloseEvent* event)
{
    if (animation_.active()) {
        event->ignore();
        done(QDialog::Rejected);
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace kurvex

// Base of every lesson window: plot, off-screen layers, zoom and pan, rubber band, standard buttons,
// keys, Delay, the animation loop and the close rules.
#include "lesson/LessonWindow.h"

#include "lesson/FrameDialogs.h"

#include "controls/BitCheckBox.h"
#include "controls/Cursors.h"
#include "controls/ToggleSwitch.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"
#include "lesson/PrintExport.h"
#include "platform/QtCanvas.h"
#include "platform/Ticks.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace kurvex {

namespace {

// The cursor slot of the zoom rectangle.
constexpr int kZoomCursorSlot = 1;
// Zoom and pan buttons.
constexpr QSize kPadButtonSize(25, 24);

QPushButton* frameButton(const QString& text, const QString& objectName, const QString& hint, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
    }
    // Speed buttons take no focus, so Enter and the arrow keys never reach them.
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

LessonWindow::LessonWindow(const LessonVariant& variant, QWidget* owner) : QDialog(owner), variant_(variant)
{
    DrawScale = 1.0;
    Printing = false;
    buildFrame();
}

LessonWindow::~LessonWindow()
{
    // The shared target must not keep pointing at a canvas of a window that is gone.
    if (DrawCanvas == foregroundCanvas_.get() || DrawCanvas == backgroundCanvas_.get()) {
        DrawCanvas = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// Frame

QToolButton* LessonWindow::glyphButton(const QString& glyph, const QString& objectName, const QString& hint,
                                       QSize size, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setText(glyph);
    b->setObjectName(objectName);
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
    }
    b->setFixedSize(size);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void LessonWindow::buildFrame()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    topPanel_ = new QWidget(this);
    topLayout_ = new QVBoxLayout(topPanel_);
    topLayout_->setContentsMargins(4, 2, 4, 2);
    topPanel_->hide();
    root->addWidget(topPanel_);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(9, 0, 0, 9);
    row->setSpacing(6);
    root->addLayout(row, 1);

    plotBox_ = new PlotBox(this);
    plotBox_->setObjectName(QStringLiteral("PaintBox1"));
    plotBox_->setPicture(&foreground_);
    row->addWidget(plotBox_, 1);
    connect(plotBox_, &PlotBox::mousePressed, this, &LessonWindow::onPlotPressed);
    connect(plotBox_, &PlotBox::mouseMoved, this, &LessonWindow::onPlotMoved);
    connect(plotBox_, &PlotBox::mouseReleased, this, &LessonWindow::onPlotReleased);
    connect(plotBox_, &PlotBox::resized, this, [this] {
        if (isVisible()) {
            refresh();
        }
    });

    rightPanel_ = new QWidget(this);
    rightPanel_->setObjectName(QStringLiteral("Panel1"));
    rightPanel_->setMinimumWidth(240);
    rightPanel_->installEventFilter(this);
    auto* panel = new QVBoxLayout(rightPanel_);
    panel->setContentsMargins(6, 6, 6, 6);
    lessonLayout_ = new QVBoxLayout;
    panel->addLayout(lessonLayout_);
    panel->addStretch(1);
    if (variant_.zoomPad || variant_.rubberBand == RubberBandMode::WithZoomBox) {
        panel->addWidget(buildCoordinateGroup());
    }
    panel->addWidget(buildButtons());
    row->addWidget(rightPanel_);
}

QWidget* LessonWindow::buildCoordinateGroup()
{
    auto* group = new QWidget(rightPanel_);
    auto* layout = new QGridLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* caption = new QLabel(QStringLiteral("Koordinatensys."), group);
    caption->setObjectName(QStringLiteral("Label10"));
    layout->addWidget(caption, 0, 0, 1, 5);

    if (variant_.zoomPad) {
        auto* out = glyphButton(QStringLiteral("\u2212"), QStringLiteral("SpeedButton3"),
                                QStringLiteral("Zoom out"), kPadButtonSize, group);
        auto* in = glyphButton(QStringLiteral("+"), QStringLiteral("SpeedButton7"), QStringLiteral("Zoom in"),
                               kPadButtonSize, group);
        connect(out, &QToolButton::clicked, this, &LessonWindow::zoomOut);
        connect(in, &QToolButton::clicked, this, &LessonWindow::zoomIn);
        layout->addWidget(out, 2, 0);
        layout->addWidget(in, 2, 1);

        // The 3 x 3 pad: the arrow moves the window that way; the centre restores the start window.
        struct PadKey {
            const char* glyph;
            const char* name;
            int dirX;
            int dirY;
        };
        static constexpr PadKey kPad[3][3] = {
            {{"\u2196", "SpeedButton21", -1, 1},
             {"\u2191", "SpeedButton11", 0, 1},
             {"\u2197", "SpeedButton20", 1, 1}},
            {{"\u2190", "SpeedButton8", -1, 0},
             {"\u25CB", "SpeedButton22", 0, 0},
             {"\u2192", "SpeedButton9", 1, 0}},
            {{"\u2199", "SpeedButton18", -1, -1},
             {"\u2193", "SpeedButton10", 0, -1},
             {"\u2198", "SpeedButton19", 1, -1}},
        };
        auto* pad = new QGridLayout;
        pad->setSpacing(0);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const PadKey& key = kPad[row][col];
                const bool centre = key.dirX == 0 && key.dirY == 0;
                auto* b = glyphButton(QString::fromUtf8(key.glyph), QString::fromLatin1(key.name),
                                      centre ? QStringLiteral("Anfangswerte setzen") : QString(),
                                      kPadButtonSize, group);
                if (centre) {
                    connect(b, &QToolButton::clicked, this, &LessonWindow::resetWorld);
                } else {
                    connect(b, &QToolButton::clicked, this, [this, key] { pan(key.dirX, key.dirY); });
                }
                pad->addWidget(b, row, col);
            }
        }
        layout->addLayout(pad, 1, 2, 3, 3);
    }
    if (variant_.rubberBand == RubberBandMode::WithZoomBox) {
        zoomBox_ = new BitCheckBox(QStringLiteral("Zoom"), group);
        zoomBox_->setObjectName(QStringLiteral("ZoomCheckBox"));
        connect(zoomBox_, &BitCheckBox::clicked, this, &LessonWindow::updatePlotCursor);
        layout->addWidget(zoomBox_, 3, 0, 1, 2);
    }
    return group;
}

QWidget* LessonWindow::buildButtons()
{
    auto* box = new QWidget(rightPanel_);
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(2);
    auto* settings = frameButton(QStringLiteral("Einstellungen"), QStringLiteral("SpeedButton14"), {}, box);
    auto* print = frameButton(QStringLiteral("Drucken"), QStringLiteral("SpeedButton15"),
                              QStringLiteral("Grafik drucken"), box);
    auto* file = frameButton(QStringLiteral("WMF - Datei"), QStringLiteral("SpeedButton17"),
                             QStringLiteral("Grafik als WMF speichern"), box);
    auto* clip = frameButton(QStringLiteral("WMF - Clipb."), QStringLiteral("SpeedButton23"),
                             QStringLiteral("Grafik im WMF- Format in die Zwischenablage"), box);
    auto* close = frameButton(QStringLiteral("&Beenden"), QStringLiteral("SpeedButton35"), {}, box);
    connect(settings, &QPushButton::clicked, this, &LessonWindow::openSettings);
    connect(print, &QPushButton::clicked, this, &LessonWindow::printPicture);
    connect(file, &QPushButton::clicked, this, &LessonWindow::exportMetafileFile);
    connect(clip, &QPushButton::clicked, this, &LessonWindow::exportMetafileClipboard);
    connect(close, &QPushButton::clicked, this, &LessonWindow::reject);
    layout->addWidget(settings, 0, 0);
    layout->addWidget(print, 0, 1);
    layout->addWidget(file, 1, 0);
    layout->addWidget(clip, 1, 1);
    if (variant_.helpButton) {
        helpButton_ = frameButton(QStringLiteral("?"), QStringLiteral("SpeedButton28"), {}, box);
        connect(helpButton_, &QPushButton::clicked, this, &LessonWindow::openHelp);
        layout->addWidget(helpButton_, 2, 0);
    }
    layout->addWidget(close, 2, 1);
    return box;
}

// ---------------------------------------------------------------------------------------------
// Picture

QSize LessonWindow::plotSize() const
{
    return plotBox_->size();
}

QFont LessonWindow::plotFont() const
{
    QFont f(QString::fromStdString(plotFont_.family));
    f.setPixelSize(std::max(1, plotFont_.pixelHeight));
    f.setBold(plotFont_.bold);
    f.setItalic(plotFont_.italic);
    return f;
}

void LessonWindow::setPlotFontSpec(const Font& font)
{
    plotFont_ = font;
    if (foregroundCanvas_) {
        foregroundCanvas_->setFont(font);
    }
    if (backgroundCanvas_) {
        backgroundCanvas_->setFont(font);
    }
}

QSize LessonWindow::layerSize() const
{
    return plotBox_->size();
}

void LessonWindow::prepareLayers()
{
    const QSize size = layerSize().expandedTo(QSize(1, 1));
    PlotLeft = 0;
    PlotTop = 0;
    PlotWidth = size.width();
    PlotHeight = size.height();
    if (foregroundCanvas_ && foreground_.size() == size) {
        return;
    }
    if (DrawCanvas == foregroundCanvas_.get() || DrawCanvas == backgroundCanvas_.get()) {
        DrawCanvas = nullptr;
    }
    foregroundCanvas_.reset();
    backgroundCanvas_.reset();
    foreground_ = QImage(size, QImage::Format_RGB32);
    foregroundCanvas_ = std::make_unique<QtCanvas>(foreground_);
    foregroundCanvas_->setFont(plotFont_);
    if (variant_.layers >= 2) {
        background_ = QImage(size, QImage::Format_RGB32);
        backgroundCanvas_ = std::make_unique<QtCanvas>(background_);
        backgroundCanvas_->setFont(plotFont_);
    }
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

void LessonWindow::showPicture(const QImage* picture)
{
    plotBox_->setPicture(picture);
}

void LessonWindow::paintFixedParts()
{
    setAxisCaptions();
    DrawCoordinateSystem();
    paintBackground();
}

void LessonWindow::drawBackground()
{
    if (variant_.layers < 2) {
        return;
    }
    if (!Printing) {
        if (!backgroundCanvas_) {
            prepareLayers();
        }
        DrawCanvas = backgroundCanvas_.get();
        clearLayer(*DrawCanvas, background_);
    }
    paintFixedParts();
}

void LessonWindow::drawPicture()
{
    if (!Printing) {
        if (!foregroundCanvas_) {
            prepareLayers();
        }
        DrawCanvas = foregroundCanvas_.get();
        clearLayer(*DrawCanvas, foreground_);
    }
    if (variant_.layers < 2) {
        paintFixedParts();
    }
    paintForeground();
    if (Printing) {
        return;
    }
    if (variant_.layers >= 2 && backgroundCanvas_) {
        andImages(foreground_, background_);
    }
    DrawCanvas = foregroundCanvas_.get();
    plotBox_->showPicture();
}

void LessonWindow::fullRedraw()
{
    drawBackground();
    drawPicture();
}

void LessonWindow::paintPicture()
{
    fullRedraw();
}

void LessonWindow::setAxisCaptions()
{
    XAxisLabel = "x";
    YAxisLabel = "y";
}

std::optional<double> LessonWindow::curveValue(double)
{
    return std::nullopt;
}

void LessonWindow::DrawCurve(double xLeft, double xRight, double xFrom, double xTo)
{
    kurvex::DrawCurve(
        xLeft, xRight, xFrom, xTo, [this](double x) { return curveValue(x); }, variant_.curve);
}

// ---------------------------------------------------------------------------------------------
// World window

void LessonWindow::initWorld()
{
    kurvex::ResetWorld();
}

void LessonWindow::checkWorld()
{
    kurvex::CheckWorld(variant_.worldLimits);
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
        const QPoint p = event->position().toPoint();
        ZoomAnchorX = ZoomCurrentX = p.x();
        ZoomAnchorY = ZoomCurrentY = p.y();
        plotBox_->setBand(QRect(p, p));
        RubberBandActive = true;
        return;
    }
    MouseDragActive = true;
    plotPress(event);
}

void LessonWindow::onPlotMoved(QMouseEvent* event)
{
    if (!rubberBandEnabled()) {
        plotMove(event);
        return;
    }
    if (!RubberBandActive) {
        return;
    }
    const QPoint p = event->position().toPoint();
    ZoomCurrentX = p.x();
    ZoomCurrentY = p.y();
    plotBox_->setBand(QRect(QPoint(ZoomAnchorX, ZoomAnchorY), p));
}

void LessonWindow::onPlotReleased(QMouseEvent* event)
{
    MouseDragActive = false;
    if (!rubberBandEnabled()) {
        plotRelease(event);
        return;
    }
    // A release without a band of its own (the press came before "Zoom" was checked) zooms nowhere.
    if (event->button() != Qt::LeftButton || !RubberBandActive) {
        return;
    }
    RubberBandActive = false;
    plotBox_->setBand(std::nullopt);
    const QPoint p = event->position().toPoint();
    if (!bandZooms(ZoomAnchorX, ZoomAnchorY, p.x(), p.y())) {
        return;
    }
    setWorld(bandToWorld(ZoomAnchorX, ZoomAnchorY, p.x(), p.y()));
    worldButtonDone(WorldChange::Band);
}

void LessonWindow::plotPress(QMouseEvent*) {}

void LessonWindow::plotMove(QMouseEvent*) {}

void LessonWindow::plotRelease(QMouseEvent*) {}

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
// Delay and animation

void LessonWindow::waitMoreThan(int ms)
{
    const std::int64_t start = GetTickCount();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    bool pumped = false;
    for (;;) {
        const std::int64_t left = ms + 1 - (GetTickCount() - start);
        if (left <= 0) {
            break;
        }
        timer.start(static_cast<int>(left));
        loop.exec();
        pumped = true;
    }
    if (!pumped) {
        QCoreApplication::processEvents();
    }
}

void LessonWindow::Delay(int ms)
{
    switch (variant_.delay) {
    case DelayKind::A:
        waitMoreThan(ms + 15);
        return;
    case DelayKind::B:
        if (ms <= 0) {
            QCoreApplication::processEvents();
            return;
        }
        waitMoreThan(ms);
        return;
    case DelayKind::None:
        return;
    }
}

void LessonWindow::registerAnimationSwitch(ToggleSwitch* s)
{
    if (s != nullptr && std::find(switches_.begin(), switches_.end(), s) == switches_.end()) {
        switches_.push_back(s);
    }
}

void LessonWindow::stopAnimations()
{
    for (ToggleSwitch* s : switches_) {
        s->setChecked(false);
    }
    AnimationRunning = false;
}

void LessonWindow::advanceAnimation(double& value, double min, double max)
{
    const int steps = std::max(1, AnimationSteps);
    value += AnimationStep / steps;
    AnimationStep = turnAround(value, AnimationStep, min, max);
}

void LessonWindow::runAnimation(AnimationTrack track, double step)
{
    // A window about to close starts nothing new.
    if (closePending_) {
        if (track.toggle != nullptr) {
            track.toggle->setChecked(false);
        }
        return;
    }
    registerAnimationSwitch(track.toggle);
    AnimationRunning = true;
    for (ToggleSwitch* s : switches_) {
        if (s != track.toggle) {
            s->setChecked(false);
        }
    }
    AnimationStep = step;
    if (loopActive_) {
        // The running loop carries on with this quantity; the one it leaves gets its after-loop
        // step now, as when a nested loop had taken over.
        if (activeTrack_.toggle != track.toggle) {
            AnimationTrack left = std::exchange(activeTrack_, std::move(track));
            if (left.finished) {
                left.finished();
            }
        }
        return;
    }
    loopActive_ = true;
    activeTrack_ = std::move(track);
    while (AnimationRunning) {
        if (activeTrack_.frame) {
            activeTrack_.frame();
        }
        if (activeTrack_.toggle == nullptr || !activeTrack_.toggle->Checked()) {
            AnimationRunning = false;
        }
        Delay(AnimationDelay);
        // A window without a delay of its own must still let the switch be turned off.
        if (variant_.delay == DelayKind::None) {
            QCoreApplication::processEvents();
        }
    }
    loopActive_ = false;
    AnimationTrack ended = std::exchange(activeTrack_, {});
    if (ended.finished) {
        ended.finished();
    }
    if (closePending_) {
        closePending_ = false;
        done(pendingResult_);
    }
}

// ---------------------------------------------------------------------------------------------
// Show and close

void LessonWindow::showEvent(QShowEvent* event)
{
    closed_ = false;
    QDialog::showEvent(event);
    refresh();
}

void LessonWindow::done(int result)
{
    if (loopActive_) {
        closePending_ = true;
        pendingResult_ = result;
        stopAnimations();
        return;
    }
    if (!closed_) {
        closed_ = true;
        stopAnimations();
        RubberBandActive = false;
        MouseDragActive = false;
        plotBox_->setBand(std::nullopt);
        closing();
    }
    QDialog::done(result);
}

void LessonWindow::closeEvent(QCloseEvent* event)
{
    if (loopActive_) {
        event->ignore();
        done(QDialog::Rejected);
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace kurvex

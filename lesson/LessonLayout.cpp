// The lesson frame's widgets: plot box, the areas around it, the coordinate-system group with zoom
// and pan pad, the standard buttons, and the window size that keeps the plot in its shape.
#include "lesson/LessonWindow.h"

#include "controls/BitCheckBox.h"
#include "lesson/ControlFactory.h"
#include "lesson/PlotBox.h"
#include "lesson/PlotColumnLayout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kurvex {

namespace {

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

// An empty panel with a column layout, hidden until a window fills it.
QWidget* hiddenPanel(QWidget* parent, QVBoxLayout*& layout)
{
    auto* panel = new QWidget(parent);
    layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 2);
    panel->hide();
    return panel;
}

} // namespace

QVBoxLayout* LessonWindow::topArea()
{
    topPanel_->show();
    return topLayout_;
}

QVBoxLayout* LessonWindow::bottomArea()
{
    bottomPanel_->show();
    return bottomLayout_;
}

QVBoxLayout* LessonWindow::leftArea()
{
    leftPanel_->show();
    return leftLayout_;
}

void LessonWindow::buildFrame()
{
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    topPanel_ = hiddenPanel(this, topLayout_);
    root->addWidget(topPanel_);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(9, 0, 0, 9);
    row->setSpacing(6);
    root->addLayout(row, 1);
    leftPanel_ = hiddenPanel(this, leftLayout_);
    row->addWidget(leftPanel_);

    plotBox_ = new PlotBox(this);
    plotBox_->setObjectName(QStringLiteral("PaintBox1"));
    plotBox_->setPicture(&foreground_);
    bottomPanel_ = hiddenPanel(this, bottomLayout_);
    plotColumn_ = new PlotColumnLayout(variant_.picture, plotBox_, bottomPanel_);
    row->addLayout(plotColumn_, 1);
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
    caption->setObjectName(QString::fromLatin1(variant_.names.coordinateCaption));
    layout->addWidget(caption, 0, 0, 1, 5);

    if (variant_.zoomPad) {
        auto* out = MakeGlyphButton(QStringLiteral("\u2212"), QString::fromLatin1(variant_.names.zoomOut),
                                    QStringLiteral("Zoom out"), group, kPadButtonSize);
        auto* in = MakeGlyphButton(QStringLiteral("+"), QString::fromLatin1(variant_.names.zoomIn),
                                   QStringLiteral("Zoom in"), group, kPadButtonSize);
        connect(out, &QToolButton::clicked, this, &LessonWindow::zoomOut);
        connect(in, &QToolButton::clicked, this, &LessonWindow::zoomIn);
        layout->addWidget(out, 2, 0);
        layout->addWidget(in, 2, 1);

        // The 3 x 3 pad: the arrow moves the window that way; the centre restores the start window.
        struct PadKey {
            const char* glyph;
            int dirX;
            int dirY;
        };
        static constexpr PadKey kPad[3][3] = {
            {{"\u2196", -1, 1}, {"\u2191", 0, 1}, {"\u2197", 1, 1}},
            {{"\u2190", -1, 0}, {"\u25CB", 0, 0}, {"\u2192", 1, 0}},
            {{"\u2199", -1, -1}, {"\u2193", 0, -1}, {"\u2198", 1, -1}},
        };
        auto* pad = new QGridLayout;
        pad->setSpacing(0);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                const PadKey& key = kPad[row][col];
                const bool centre = key.dirX == 0 && key.dirY == 0;
                const char* name = variant_.names.pad[static_cast<std::size_t>(row * 3 + col)];
                auto* b = MakeGlyphButton(QString::fromUtf8(key.glyph), QString::fromLatin1(name),
                                          centre ? QStringLiteral("Anfangswerte setzen") : QString(), group,
                                          kPadButtonSize);
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
        zoomBox_->setObjectName(QString::fromLatin1(variant_.names.zoomBox));
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
    auto* close = frameButton(QStringLiteral("&Beenden"), QString::fromLatin1(variant_.names.close), {}, box);
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

void LessonWindow::openAtPlannedSize()
{
    if (variant_.opening == WindowOpening::FullHeight) {
        fullHeightChecks_ = kFullHeightChecks;
        takeFullHeight();
    }
    fitWidthToPlot(true);
}

void LessonWindow::takeFullHeight()
{
    const QScreen* s = screen();
    if (s == nullptr) {
        return;
    }
    // The title bar is known once the window manager has framed the window; until then the owner's,
    // framed by the same manager, stands in for it.
    int titleAndBorders = frameGeometry().height() - height();
    if (titleAndBorders > 0) {
        fullHeightChecks_ = 0;
    } else if (const QWidget* owner = parentWidget(); owner != nullptr) {
        titleAndBorders = owner->window()->frameGeometry().height() - owner->window()->height();
    }
    const QRect area = s->availableGeometry();
    if (frameGeometry().top() != area.top() || height() + titleAndBorders != area.height()) {
        resize(width(), area.height() - titleAndBorders);
        move(x(), area.y());
    }
}

void LessonWindow::fitWidthToPlot(bool opening)
{
    // A maximised window keeps the width the window manager gave it; the plot keeps its shape in
    // the middle of the room.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return;
    }
    const QRect room = plotColumn_->geometry();
    int wanted = width() - room.width() + plotColumn_->roomWidthFor(room.height());
    const QScreen* s = screen();
    const QRect area = s != nullptr ? s->availableGeometry() : QRect();
    if (const int screenWidth = area.width() - (frameGeometry().width() - width());
        !opening && s != nullptr && wanted > screenWidth) {
        // A taller window is never widened beyond the screen, so that the buttons stay in reach;
        // the plot then gets less room. The opening size is the window's own.
        wanted = std::max(screenWidth, std::min(wanted, width()));
    }
    wanted = std::max(wanted, minimumSizeHint().width());
    // Not asked again from the size the last request left the window at: the window manager kept
    // its own width, and insisting would make the two answer each other for ever.
    const QSize request(wanted, height());
    if (wanted != width() && (request != widthRequest_ || size() != sizeAtRequest_)) {
        widthRequest_ = request;
        sizeAtRequest_ = size();
        resize(request);
    }
    if (s != nullptr) {
        const int left = area.x() + (area.width() - frameGeometry().width()) / 2;
        if (left != x()) {
            move(left, y());
        }
    }
}

} // namespace kurvex

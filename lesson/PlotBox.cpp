// Plot paint box of the lesson windows: shows the finished picture and the rubber-band overlay.
#include "lesson/PlotBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace kurvex {

PlotBox::PlotBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlotBox::setPicture(const QImage* picture)
{
    picture_ = picture;
    update();
}

void PlotBox::setBand(std::optional<QRect> band)
{
    if (band_ == band) {
        return;
    }
    band_ = band;
    update();
}

void PlotBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    if (picture_ != nullptr && !picture_->isNull()) {
        // The picture may be drawn at the screen's pixel ratio: its source rectangle is in device pixels.
        const qreal ratio = picture_->devicePixelRatio();
        painter.drawImage(QRectF(area), *picture_,
                          QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
        // Parts of the box the picture does not cover (between a resize and the next redraw).
        const QRect covered = QRectF(QPointF(), picture_->deviceIndependentSize()).toRect();
        if (!covered.contains(area)) {
            const QRegion rest = QRegion(area).subtracted(QRegion(covered));
            for (const QRect& r : rest) {
                painter.fillRect(r, Qt::white);
            }
        }
    } else {
        painter.fillRect(area, Qt::white);
    }
    if (band_) {
        // Inverted dots stay visible on every background colour, as the not-xor pen did.
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(band_->normalized());
    }
}

void PlotBox::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(event);
}

void PlotBox::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(event);
}

void PlotBox::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(event);
}

void PlotBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit resized(event->size());
}

void PlotBox::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit moved();
}

} // namespace kurvex

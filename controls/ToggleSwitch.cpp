// Painted 3-D on/off rocker switch that starts and stops the lesson animations.
#include "controls/ToggleSwitch.h"

#include "platform/QtCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace kurvex {

QPolygon SwitchGeometry::topFace() const
{
    return QPolygon({QPoint(m, 2), QPoint(m + half - s, 2 + slope), QPoint(m + half, 2)});
}

QPolygon SwitchGeometry::sideFace() const
{
    return QPolygon({QPoint(m + half - s, 2 + slope), QPoint(m + half, 2), QPoint(m + half, 2 + h),
                     QPoint(m + half - s, 2 + slope + h)});
}

QPolygon SwitchGeometry::flatHalf() const
{
    return QPolygon({QPoint(m - half, 2), QPoint(m, 2), QPoint(m, 2 + h), QPoint(m - half, 2 + h)});
}

QPolygon SwitchGeometry::tiltedHalf() const
{
    return QPolygon({QPoint(m, 2), QPoint(m + half - s, 2 + slope), QPoint(m + half - s, 2 + slope + h),
                     QPoint(m, 2 + h)});
}

SwitchGeometry ComputeSwitchGeometry(int width, int height, int slope, int sideLength, bool checked,
                                     bool checkedLeft)
{
    SwitchGeometry g;
    g.slope = slope;
    g.h = height - slope - 4;
    g.w = width - 4;
    g.half = g.w / 2;
    g.m = g.half + 2;
    g.s = sideLength;
    if (checked != checkedLeft) {
        g.half = -g.half;
        g.s = -g.s;
    }
    return g;
}

bool SwitchPressToggles(int x, const SwitchGeometry& g, bool checked, bool checkedLeft)
{
    if (checked == checkedLeft) {
        return x > g.half;
    }
    return x < std::abs(g.half);
}

ToggleSwitch::ToggleSwitch(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    QFont f(QStringLiteral("Small Fonts"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(7);
    setFont(f);
    resize(83, slope_ + 18);
}

void ToggleSwitch::setChecked(bool on)
{
    if (on == checked_) {
        return;
    }
    checked_ = on;
    emit changed();
    if (on) {
        emit switchedOn();
    } else {
        emit switchedOff();
    }
    update();
}

void ToggleSwitch::setSlope(int v)
{
    slope_ = std::clamp(v, 0, 255);
    update();
}

bool ToggleSwitch::setSideLength(int v)
{
    if (v < 0 || v > 255 || v >= width() - 4) {
        return false;
    }
    sideLength_ = v;
    update();
    return true;
}

SwitchGeometry ToggleSwitch::geometry() const
{
    return ComputeSwitchGeometry(width(), height(), slope_, sideLength_, checked_, checkedLeft_);
}

QPoint ToggleSwitch::captionPosition() const
{
    const SwitchGeometry g = geometry();
    const QFontMetrics fm(font());
    const int tw = fm.horizontalAdvance(currentCaption());
    const int x = g.half > 0 ? (std::abs(g.half) - tw) / 2 + 2 : (std::abs(g.half) - tw) / 2 + g.m;
    const int y = (g.h - fm.height()) / 2 + 2;
    return {x, y};
}

void ToggleSwitch::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const SwitchGeometry g = geometry();
    if (hasFocus()) {
        p.setPen(palette().color(QPalette::Highlight));
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, width() - 1, g.h + 4);
    }
    p.setPen(Qt::white);
    p.drawLine(1, g.h + 3, g.w + 2, g.h + 3);
    p.drawLine(g.w + 2, g.h + 3, g.w + 2, 0);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(g.w + 2, 1, 1, 1);
    p.drawLine(1, 1, 1, g.h + 3);

    p.setPen(Qt::black);
    auto face = [&p](const QPolygon& poly, TColor c) {
        p.setBrush(toQColor(c));
        p.drawPolygon(poly);
    };
    face(g.topFace(), topColor_);
    face(g.sideFace(), sideColor_);
    face(g.flatHalf(), checked_ ? onColor_ : offColor_);
    face(g.tiltedHalf(), offColor_);

    p.setPen(Qt::white);
    const QFontMetrics fm(font());
    const QPoint at = captionPosition();
    p.drawText(at.x(), at.y() + fm.ascent(), currentCaption());
}

void ToggleSwitch::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        return;
    }
    pressed_ = true;
    setFocus(Qt::MouseFocusReason);
    const int x = e->position().toPoint().x();
    if (SwitchPressToggles(x, geometry(), checked_, checkedLeft_)) {
        setChecked(!checked_);
    }
}

void ToggleSwitch::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    pressed_ = false;
    if (rect().contains(e->position().toPoint())) {
        emit clicked();
    }
}

void ToggleSwitch::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        setChecked(!checked_);
        emit clicked();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void ToggleSwitch::focusInEvent(QFocusEvent* e)
{
    QWidget::focusInEvent(e);
    update();
}

void ToggleSwitch::focusOutEvent(QFocusEvent* e)
{
    QWidget::focusOutEvent(e);
    update();
}

} // namespace kurvex

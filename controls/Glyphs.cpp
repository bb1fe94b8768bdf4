// Button glyphs of the launcher and the info window, and glyphs drawn at the screen's pixel ratio.
#include "controls/Glyphs.h"

#include <QGuiApplication>
#include <QPainter>

namespace kurvex {

namespace {

constexpr QSize kGlyphSize(20, 20);

// The launcher's and info window's glyphs are smooth shapes.
QIcon smoothGlyph(const std::function<void(QPainter&)>& draw)
{
    return DrawnIcon(kGlyphSize, [&draw](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        draw(p);
    });
}

} // namespace

qreal ScreenPixelRatio()
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app ? app->devicePixelRatio() : 1.0;
}

QPixmap DrawnPixmap(QSize logicalSize, const std::function<void(QPainter&)>& draw, qreal ratio)
{
    QPixmap pm(logicalSize * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw(p);
    p.end();
    return pm;
}

QIcon DrawnIcon(QSize logicalSize, const std::function<void(QPainter&)>& draw, qreal ratio)
{
    return QIcon(DrawnPixmap(logicalSize, draw, ratio));
}

QIcon InfoGlyph()
{
    return smoothGlyph([](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 128), 1));
        p.setBrush(QColor(40, 90, 200));
        p.drawEllipse(1, 1, 17, 17);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(8, 4, 3, 3);
        p.drawRect(8, 8, 3, 7);
    });
}

QIcon ExitGlyph()
{
    return smoothGlyph([](QPainter& p) {
        p.setPen(QPen(QColor(90, 60, 20), 1));
        p.setBrush(QColor(190, 140, 70));
        p.drawRect(2, 2, 9, 16);
        p.setPen(QPen(QColor(170, 0, 0), 2));
        p.drawLine(8, 10, 18, 10);
        p.drawLine(14, 6, 18, 10);
        p.drawLine(14, 14, 18, 10);
    });
}

QIcon OkGlyph()
{
    return smoothGlyph([](QPainter& p) {
        p.setPen(QPen(QColor(0, 140, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygon({QPoint(3, 10), QPoint(8, 15), QPoint(17, 4)}));
    });
}

} // namespace kurvex

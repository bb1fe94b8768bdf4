// Button glyphs of the launcher and the info window, drawn by the program.
#include "controls/Glyphs.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace kurvex {

namespace {

constexpr int kGlyphSize = 20;

QIcon drawGlyph(const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(kGlyphSize, kGlyphSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    draw(p);
    p.end();
    return QIcon(pm);
}

} // namespace

QIcon InfoGlyph()
{
    return drawGlyph([](QPainter& p) {
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
    return drawGlyph([](QPainter& p) {
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
    return drawGlyph([](QPainter& p) {
        p.setPen(QPen(QColor(0, 140, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygon({QPoint(3, 10), QPoint(8, 15), QPoint(17, 4)}));
    });
}

} // namespace kurvex

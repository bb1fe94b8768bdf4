// Button glyphs of the launcher, the info window, the grid and scale buttons and the condition
// kinds, and glyphs drawn at the screen's pixel ratio.
#include "controls/Glyphs.h"

#include "core/PolynomialConditions.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace kurvex {

namespace {

constexpr QSize kGlyphSize(20, 20);

// The launcher's and info window's glyphs and the condition kinds are smooth shapes.
QIcon smoothGlyph(const std::function<void(QPainter&)>& draw, QSize size = kGlyphSize)
{
    return DrawnIcon(size, [&draw](QPainter& p) {
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

// Lines half a pixel in, so they cover whole device pixels at any ratio.
QIcon GridGlyph(int mode, int size)
{
    return DrawnIcon(QSize(size, size), [mode, size](QPainter& p) {
        p.fillRect(QRect(0, 0, size, size), Qt::white);
        if (mode > 1) {
            p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, mode == 2 ? Qt::DotLine : Qt::SolidLine));
            for (int i = 2; i < size; i += 4) {
                p.drawLine(QPointF(i + 0.5, 0), QPointF(i + 0.5, size));
                p.drawLine(QPointF(0, i + 0.5), QPointF(size, i + 0.5));
            }
        }
        const double middle = size / 2 + 0.5;
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(0, middle), QPointF(size, middle));
        p.drawLine(QPointF(middle, 0), QPointF(middle, size));
    });
}

QIcon ScaleGlyph(bool labelled)
{
    return DrawnIcon(QSize(16, 16), [labelled](QPainter& p) {
        p.fillRect(QRect(0, 0, 16, 16), Qt::white);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(0, 4.5), QPointF(16, 4.5));
        p.drawLine(QPointF(4.5, 0), QPointF(4.5, 16));
        p.drawLine(QPointF(10.5, 3), QPointF(10.5, 6));
        if (labelled) {
            QFont f = p.font();
            f.setPixelSize(9);
            p.setFont(f);
            p.drawText(QRect(7, 6, 8, 10), Qt::AlignCenter, QStringLiteral("1"));
        }
    });
}

QIcon ConditionGlyph(ConditionKind kind)
{
    constexpr int size = kConditionGlyphSize;
    return smoothGlyph(
        [kind](QPainter& p) {
            const QPointF centre(size / 2.0, size / 2.0);
            QPainterPath curve;
            const auto plot = [&](double (*f)(double)) {
                for (int i = 0; i <= 16; ++i) {
                    const double u = -1.0 + i / 8.0;
                    const QPointF at(centre.x() + 8 * u, centre.y() - 8 * f(u));
                    i == 0 ? curve.moveTo(at) : curve.lineTo(at);
                }
            };
            double tangentSlope = std::nan("");
            switch (kind) {
            case ConditionKind::Point:
                break;
            case ConditionKind::PointSlope:
                tangentSlope = 0.8;
                break;
            case ConditionKind::Extremum:
                plot([](double u) { return 0.2 - 0.8 * u * u; });
                tangentSlope = 0.0;
                break;
            case ConditionKind::Inflection:
            case ConditionKind::InflectionSlope:
                plot([](double u) { return 0.4 * u - 0.6 * u * u * u; });
                if (kind == ConditionKind::InflectionSlope) {
                    tangentSlope = 0.4;
                }
                break;
            case ConditionKind::Terrace:
                plot([](double u) { return 0.9 * u * u * u; });
                tangentSlope = 0.0;
                break;
            }
            p.setPen(QPen(Qt::darkGray, 1.2));
            p.drawPath(curve);
            if (!std::isnan(tangentSlope)) {
                p.setPen(QPen(Qt::darkGreen, 1.2));
                p.drawLine(centre + QPointF(-9, 9 * tangentSlope), centre + QPointF(9, -9 * tangentSlope));
            }
            const double dotY = kind == ConditionKind::Extremum ? centre.y() - 1.6 : centre.y();
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(centre.x(), dotY), 2.6, 2.6);
        },
        QSize(size, size));
}

} // namespace kurvex

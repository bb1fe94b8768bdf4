// The program's seven mouse cursors, drawn at start and kept in slots 1 to 7.
#include "controls/Cursors.h"

#include <QPainter>
#include <QPixmap>

#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace kurvex {

namespace {

constexpr int kSize = 32;
constexpr int kCentre = 15;

std::array<std::optional<QCursor>, 8>& cursorSlots()
{
    static std::array<std::optional<QCursor>, 8> s;
    return s;
}

// Black strokes with a white rim, so the cursor shows on dark and light pictures.
void strokeTwice(QPainter& p, const std::function<void(QPainter&)>& draw)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    draw(p);
    p.setPen(QPen(Qt::black, 1));
    draw(p);
}

void crossHair(QPainter& p, int gap)
{
    p.drawLine(kCentre, 2, kCentre, kCentre - gap);
    p.drawLine(kCentre, kCentre + gap, kCentre, kSize - 3);
    p.drawLine(2, kCentre, kCentre - gap, kCentre);
    p.drawLine(kCentre + gap, kCentre, kSize - 3, kCentre);
}

QCursor drawShape(int shape)
{
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (shape) {
    case 1: // cross-hair with a square: a point to be set
        strokeTwice(p, [](QPainter& q) {
            crossHair(q, 4);
            q.drawRect(kCentre - 4, kCentre - 4, 8, 8);
        });
        break;
    case 2: // thin cross-hair: a point on the curve
        strokeTwice(p, [](QPainter& q) { crossHair(q, 2); });
        break;
    case 3: // pointing arrow with a small plus
        strokeTwice(p, [](QPainter& q) {
            q.drawPolygon(QPolygon({QPoint(1, 1), QPoint(1, 17), QPoint(5, 13), QPoint(9, 21), QPoint(12, 19),
                                    QPoint(8, 12), QPoint(13, 12)}));
            q.drawLine(20, 22, 28, 22);
            q.drawLine(24, 18, 24, 26);
        });
        return QCursor(pm, 1, 1);
    case 4: // magnifier: zoom to a rectangle
        strokeTwice(p, [](QPainter& q) {
            q.drawEllipse(3, 3, 16, 16);
            q.drawLine(17, 17, 28, 28);
            q.drawLine(7, 11, 15, 11);
            q.drawLine(11, 7, 11, 15);
        });
        return QCursor(pm, 11, 11);
    case 5: // cross-hair with a circle: a point of the secant or tangent
        strokeTwice(p, [](QPainter& q) {
            crossHair(q, 6);
            q.drawEllipse(kCentre - 5, kCentre - 5, 10, 10);
        });
        break;
    case 6: // four arrows: the point under the mouse can be dragged
        strokeTwice(p, [](QPainter& q) {
            q.drawLine(kCentre, 3, kCentre, kSize - 4);
            q.drawLine(3, kCentre, kSize - 4, kCentre);
            q.drawPolyline(QPolygon({QPoint(kCentre - 4, 7), QPoint(kCentre, 3), QPoint(kCentre + 4, 7)}));
            q.drawPolyline(QPolygon({QPoint(kCentre - 4, 24), QPoint(kCentre, 28), QPoint(kCentre + 4, 24)}));
            q.drawPolyline(QPolygon({QPoint(7, kCentre - 4), QPoint(3, kCentre), QPoint(7, kCentre + 4)}));
            q.drawPolyline(QPolygon({QPoint(24, kCentre - 4), QPoint(28, kCentre), QPoint(24, kCentre + 4)}));
        });
        break;
    default: // 7: cross-hair with a dot: a new point
        strokeTwice(p, [](QPainter& q) { crossHair(q, 3); });
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(kCentre - 1, kCentre - 1, 3, 3);
        break;
    }
    return QCursor(pm, kCentre, kCentre);
}

// slot -> drawn shape, in the order the launcher loads them.
constexpr std::array<std::pair<int, int>, 7> kSlotShapes{
    {{3, 3}, {1, 4}, {2, 1}, {4, 2}, {5, 5}, {6, 6}, {7, 7}}};

} // namespace

void LoadCursors()
{
    for (const auto& [slot, shape] : kSlotShapes)
        cursorSlots()[static_cast<std::size_t>(slot)] = drawShape(shape);
}

QCursor ProgramCursor(int slot)
{
    if (slot < 1 || slot > 7 || !cursorSlots()[static_cast<std::size_t>(slot)])
        return QCursor(Qt::ArrowCursor);
    return *cursorSlots()[static_cast<std::size_t>(slot)];
}

int CursorShapeOfSlot(int slot)
{
    for (const auto& [s, shape] : kSlotShapes)
        if (s == slot)
            return shape;
    return 0;
}

} // namespace kurvex

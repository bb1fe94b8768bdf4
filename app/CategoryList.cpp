// A list of gradient buttons under one category header, as the launcher shows its lessons.
#include "app/CategoryList.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace kurvex {

CategoryList::CategoryList(const QString& category, const Style& style, QWidget* parent)
    : QWidget(parent), category_(category), style_(style)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    QFont f;
    // Where Tahoma is missing a font of its width keeps the long captions inside their buttons.
    f.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setPixelSize(12);
    f.setBold(true);
    setFont(f);
}

void CategoryList::addItem(const QString& caption, int imageIndex)
{
    items_.push_back({caption, imageIndex});
    update();
}

QRect CategoryList::itemRect(int row) const
{
    const int perRow = std::max(1, (width() - 2) / style_.buttonWidth);
    const int col = row % perRow;
    const int line = row / perRow;
    return {1 + col * style_.buttonWidth, kHeaderHeight + 1 + line * kButtonHeight, style_.buttonWidth,
            kButtonHeight};
}

int CategoryList::itemAt(const QPoint& pos) const
{
    for (int i = 0; i < count(); ++i)
        if (itemRect(i).contains(pos))
            return i;
    return -1;
}

void CategoryList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());

    const QRect header(0, 0, width(), kHeaderHeight);
    QLinearGradient hg(header.topLeft(), header.topRight());
    hg.setColorAt(0.0, style_.categoryColor);
    hg.setColorAt(1.0, style_.categoryGradient);
    p.fillRect(header, hg);
    p.setPen(Qt::black);
    p.drawText(header.adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, category_);

    for (int i = 0; i < count(); ++i) {
        const QRect r = itemRect(i).adjusted(1, 1, -1, -1);
        const QColor base = (i == hot_ || i == pressed_) ? style_.selectedButtonColor : style_.buttonColor;
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0.0, base.lighter(112));
        g.setColorAt(1.0, base.darker(108));
        p.fillRect(r, g);
        const QString& text = items_[static_cast<std::size_t>(i)].caption;
        // The border goes around the caption only, not around the whole button.
        QRect textRect = p.fontMetrics().boundingRect(text);
        textRect.moveCenter(r.center());
        textRect = textRect.adjusted(-3, -1, 3, 1).intersected(r.adjusted(0, 0, -1, -1));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(textRect);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter | Qt::TextDontClip, text);
    }
}

void CategoryList::mouseMoveEvent(QMouseEvent* event)
{
    const int row = itemAt(event->position().toPoint());
    if (row != hot_) {
        hot_ = row;
        update();
    }
}

void CategoryList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = itemAt(event->position().toPoint());
    update();
}

void CategoryList::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = itemAt(event->position().toPoint());
    const int pressed = std::exchange(pressed_, -1);
    update();
    if (row >= 0 && row == pressed)
        emit buttonClicked(items_[static_cast<std::size_t>(row)].imageIndex);
}

void CategoryList::leaveEvent(QEvent*)
{
    hot_ = -1;
    update();
}

} // namespace kurvex

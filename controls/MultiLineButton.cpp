// Push button whose caption wraps over several lines.
#include "controls/MultiLineButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace kurvex {

MultiLineButton::MultiLineButton(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(false);
}

MultiLineButton::MultiLineButton(const QString& text, QWidget* parent) : MultiLineButton(parent)
{
    setText(text);
}

void MultiLineButton::setWordWrap(bool on)
{
    wordWrap_ = on;
    updateGeometry();
    update();
}

int MultiLineButton::textFlags() const
{
    return Qt::AlignCenter | Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : Qt::TextSingleLine);
}

QRect MultiLineButton::captionRect() const
{
    return rect().adjusted(6, 3, -6, -3);
}

int MultiLineButton::captionLineCount() const
{
    const QFontMetrics fm(font());
    const QRect needed = fm.boundingRect(captionRect(), textFlags(), text());
    return std::max(1, (needed.height() + fm.leading()) / fm.lineSpacing());
}

QSize MultiLineButton::sizeHint() const
{
    if (!wordWrap_) {
        return QPushButton::sizeHint();
    }
    const QFontMetrics fm(font());
    const QRect needed = fm.boundingRect(QRect(0, 0, std::max(width() - 12, 40), 1000), textFlags(), text());
    return {std::max(width(), needed.width() + 12), needed.height() + 10};
}

void MultiLineButton::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    opt.text.clear();
    p.drawControl(QStyle::CE_PushButton, opt);
    p.setPen(palette().color(isEnabled() ? QPalette::ButtonText : QPalette::Mid));
    QRect r = captionRect();
    if (isDown()) {
        r.translate(1, 1);
    }
    p.drawText(r, textFlags(), caption);
}

} // namespace kurvex

// Check box painted from glyph bitmaps, with an optional grayed state.
#include "controls/BitCheckBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace kurvex {

QPixmap DefaultCheckGlyph(TCheckBoxState state, qreal ratio)
{
    return DrawnPixmap(
        QSize(13, 13),
        [state](QPainter& p) {
            // The frame as two fills: a one-pixel outline stays whole and even at any pixel ratio.
            p.fillRect(QRect(0, 0, 13, 13), QColor(0x80, 0x80, 0x80));
            p.fillRect(QRect(1, 1, 11, 11), state == cbGrayed ? QColor(0xE0, 0xE0, 0xE0) : QColor(Qt::white));
            if (state == cbUnchecked) {
                return;
            }
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(state == cbGrayed ? QColor(0x80, 0x80, 0x80) : QColor(Qt::black), 2.0));
            const QPointF mark[] = {{3.0, 6.5}, {5.5, 9.0}, {10.0, 3.5}};
            p.drawPolyline(mark, 3);
        },
        ratio);
}

BitCheckBox::BitCheckBox(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(97, 17);
    for (int s = cbUnchecked; s <= cbGrayed; ++s) {
        setGlyph(static_cast<TCheckBoxState>(s), QPixmap());
    }
}

BitCheckBox::BitCheckBox(const QString& text, QWidget* parent) : BitCheckBox(parent)
{
    setText(text);
}

void BitCheckBox::setState(TCheckBoxState s)
{
    if (s == state_) {
        return;
    }
    state_ = s;
    update();
    emit stateChanged();
}

void BitCheckBox::setAlignment(TLeftRight a)
{
    alignment_ = a;
    update();
}

void BitCheckBox::setText(const QString& text)
{
    text_ = text;
    if (shortcutId_ != 0) {
        releaseShortcut(shortcutId_);
        shortcutId_ = 0;
    }
    const QKeySequence mnemonic = QKeySequence::mnemonic(text);
    if (!mnemonic.isEmpty()) {
        shortcutId_ = grabShortcut(mnemonic);
    }
    update();
}

void BitCheckBox::setGlyph(TCheckBoxState state, const QPixmap& glyph)
{
    if (glyph.isNull()) {
        glyphs_[state] = DefaultCheckGlyph(state);
        numGlyphs_[state] = 1;
    } else {
        glyphs_[state] = glyph;
        if (glyph.height() > 0 && glyph.width() % glyph.height() == 0) {
            numGlyphs_[state] = glyph.width() / glyph.height();
        }
    }
    update();
}

void BitCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked:
        setState(allowGrayed_ ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        setState(cbUnchecked);
        break;
    case cbGrayed:
        setState(cbChecked);
        break;
    }
}

void BitCheckBox::click()
{
    Toggle();
    emit clicked();
    if (focusPolicy() != Qt::NoFocus && isEnabled() && isVisible()) {
        setFocus(Qt::MouseFocusReason);
    }
}

int BitCheckBox::glyphCount() const
{
    return numGlyphs_[state_] > 0 ? numGlyphs_[state_] : 1;
}

int BitCheckBox::glyphWidth() const
{
    return static_cast<int>(glyphs_[state_].deviceIndependentSize().width()) / glyphCount();
}

QSize BitCheckBox::minimumSizeHint() const
{
    QString shown = text_;
    shown.remove(QLatin1Char('&'));
    const int glyphHeight = static_cast<int>(glyphs_[state_].deviceIndependentSize().height());
    const int caption = shown.isEmpty() ? 0 : fontMetrics().horizontalAdvance(shown) + 4;
    return {glyphWidth() + caption, std::max(glyphHeight, fontMetrics().height())};
}

QRect BitCheckBox::captionRect() const
{
    const QFontMetrics fm(font());
    QString shown = text_;
    shown.remove(QLatin1Char('&'));
    const int left = alignment_ == taRightJustify ? glyphWidth() + 4 : 1;
    const int top = (height() - fm.height()) / 2 - 2;
    return QRect(left, top, fm.horizontalAdvance(shown) + 2, fm.height() + 3).intersected(rect());
}

void BitCheckBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));

    const QRect caption = captionRect();
    if (isEnabled()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(caption, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine | Qt::TextShowMnemonic,
                   text_);
    } else {
        p.setPen(palette().color(QPalette::Light));
        p.drawText(caption.translated(1, 1), Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                   text_);
        p.setPen(palette().color(QPalette::Mid));
        p.drawText(caption, Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text_);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect opt;
        opt.initFrom(this);
        opt.rect = caption;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
    }

    // Placed in logical pixels, cut out in the strip's own pixels (more of them on a HiDPI strip).
    const QPixmap& strip = glyphs_[state_];
    const int gw = glyphWidth();
    const int gh = static_cast<int>(strip.deviceIndependentSize().height());
    const int gx = alignment_ == taRightJustify ? 0 : width() - gw;
    const int gy = (height() - gh) / 2;
    const bool secondGlyph = !isEnabled() && numGlyphs_[state_] >= 2;
    if (!isEnabled() && !secondGlyph) {
        p.setOpacity(0.5);
    }
    const int stripGlyphWidth = strip.width() / glyphCount();
    p.drawPixmap(QPointF(gx, gy), strip,
                 QRectF(secondGlyph ? stripGlyphWidth : 0, 0, stripGlyphWidth, strip.height()));
}

void BitCheckBox::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
    }
}

void BitCheckBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !pressed_) {
        return;
    }
    pressed_ = false;
    if (rect().contains(e->position().toPoint())) {
        click();
    }
}

void BitCheckBox::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        click();
        return;
    }
    QWidget::keyPressEvent(e);
}

bool BitCheckBox::event(QEvent* e)
{
    if (e->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(e);
        if (se->shortcutId() == shortcutId_) {
            if (isEnabled() && focusPolicy() != Qt::NoFocus) {
                setFocus(Qt::ShortcutFocusReason);
                Toggle();
                emit clicked();
            }
            return true;
        }
    }
    return QWidget::event(e);
}

void BitCheckBox::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    update();
}

} // namespace kurvex

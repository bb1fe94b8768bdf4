// Colour button with its drop-down palette of 80 fixed colours.
#include "controls/ColorButton.h"

#include "platform/QtCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <qdrawutil.h>

namespace kurvex {

namespace {

constexpr std::array<TColor, kPaletteSize> kPalette = {
    0x804000, 0x880000, 0xA00000, 0xBB0000, 0xFF0000, 0xFF6666, 0xFF8000, 0xFF8080, //
    0xFF0080, 0xC08080, 0xFF8888, 0xFFAAAA, 0xFFBBBB, 0xFFE0E0, 0xFFE5E5, 0xFFF0F0, //
    0x808000, 0x808040, 0x808000, 0x808040, 0x008000, 0x008800, 0x008080, 0x008080, //
    0x00BB00, 0x00FF00, 0x66FF66, 0x00FF00, 0x88FF88, 0xAAFFAA, 0xBBFFBB, 0xE0FFE0, //
    0x404080, 0x000080, 0x000088, 0x0000BB, 0x0000FF, 0x0000FF, 0x0000FF, 0x8000FF, //
    0x6666FF, 0x0080FF, 0x4080FF, 0x8080FF, 0x8888FF, 0xAAAAFF, 0xBBBBFF, 0xE0E0FF, //
    0x800080, 0xBB00BB, 0xFF00FF, 0xFF00FF, 0xFF88FF, 0xFFAAFF, 0xFFBBFF, 0xFFE0FF, //
    0x888800, 0xBBBB00, 0xFFFF00, 0xFFFF66, 0xFFFF88, 0xFFFFAA, 0xFFFFBB, 0xFFFFE0, //
    0x008888, 0x00BBBB, 0x00FFFF, 0x66FFFF, 0x88FFFF, 0xAAFFFF, 0xBBFFFF, 0xE0FFFF, //
    0x000000, 0x555555, 0x888888, 0xC0C0C0, 0xCCCCCC, 0xDDDDDD, 0xF0F0F0, 0xFFFFFF,
};

} // namespace

const std::array<TColor, kPaletteSize>& ColorPalette()
{
    return kPalette;
}

int PaletteIndexOf(TColor c)
{
    const auto it = std::find(kPalette.begin(), kPalette.end(), c & 0xFFFFFF);
    return it == kPalette.end() ? kPaletteNone : static_cast<int>(it - kPalette.begin());
}

QPoint PopupPosition(const QRect& button, const QSize& size, const QRect& screen)
{
    int x = button.left() - 1;
    int y = button.top() + button.height();
    const int screenBottom = screen.top() + screen.height();
    const int screenRight = screen.left() + screen.width();
    if (y + size.height() > screenBottom) {
        y = screenBottom - size.height();
        if (y < button.top()) {
            y = button.top() - size.height();
        }
    }
    if (x + size.width() > screenRight) {
        x = screenRight - size.width();
    }
    return {std::max(x, screen.left()), y};
}

// ---------------------------------------------------------------------------------------------
// ColorPopup

ColorPopup::ColorPopup(QWidget* parent) : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    relayout();
}

void ColorPopup::setDefaultText(const QString& text)
{
    defaultText_ = text;
    relayout();
}

void ColorPopup::setSpacing(int spacing)
{
    spacing_ = std::max(0, spacing);
    relayout();
}

void ColorPopup::setSelectedIndex(int index)
{
    selected_ = (index >= 0 && index < kPaletteSize) || index == kPaletteDefaultButton ? index : kPaletteNone;
    update();
}

int ColorPopup::cellTop() const
{
    return defaultRect_.isNull() ? 0 : defaultRect_.height();
}

void ColorPopup::relayout()
{
    int width = kPaletteColumns * kPaletteBoxSize + 2 * edge_ + 2 * spacing_;
    int height = kPaletteRows * kPaletteBoxSize + 4 * edge_;
    defaultRect_ = QRect();
    if (!defaultText_.isEmpty()) {
        const QFontMetrics fm(font());
        QString shown = defaultText_;
        shown.remove(QLatin1Char('&'));
        width = std::max(width, fm.horizontalAdvance(shown) + 2 * edge_ + 2 * spacing_);
        const int buttonHeight = fm.height() + 4 * edge_ + 2;
        defaultRect_ =
            QRect(spacing_ + edge_, 2 * edge_, width - 2 * (spacing_ + edge_), buttonHeight - 2 * edge_);
        height += buttonHeight;
    }
    setFixedSize(width, height);
    update();
}

QRect ColorPopup::cellRect(int index) const
{
    const int left = (index % kPaletteColumns) * kPaletteBoxSize + edge_ + spacing_;
    const int top = (index / kPaletteColumns) * kPaletteBoxSize + 2 * edge_ + cellTop();
    return {left, top, kPaletteBoxSize, kPaletteBoxSize};
}

int ColorPopup::hitTest(const QPoint& p) const
{
    if (!defaultRect_.isNull() && defaultRect_.contains(p)) {
        return kPaletteDefaultButton;
    }
    if (p.x() < spacing_ + edge_) {
        return kPaletteNone;
    }
    const int gx = p.x() - edge_ - spacing_;
    const int gy = p.y() - 2 * edge_ - cellTop();
    if (gy < 0) {
        return kPaletteNone;
    }
    const int col = gx / kPaletteBoxSize;
    const int row = gy / kPaletteBoxSize;
    if (col >= kPaletteColumns || row >= kPaletteRows) {
        return kPaletteNone;
    }
    return row * kPaletteColumns + col;
}

void ColorPopup::setHover(int index)
{
    if (index == hover_) {
        return;
    }
    hover_ = index;
    update();
}

void ColorPopup::choose(int index)
{
    if (index == kPaletteDefaultButton) {
        emit defaultChosen();
    } else if (index >= 0) {
        emit cellChosen(index);
    }
    hide();
}

void ColorPopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    qDrawWinPanel(&p, rect(), pal, false);
    auto paintCell = [&](const QRect& r, int index) {
        const bool hovered = index == hover_;
        const bool selected = index == selected_;
        p.fillRect(r, selected && !hovered ? pal.color(QPalette::Light) : pal.color(QPalette::Button));
        if (selected || (hovered && pressed_)) {
            qDrawWinPanel(&p, r, pal, true);
        } else if (hovered) {
            qDrawWinPanel(&p, r, pal, false);
        }
    };
    if (!defaultRect_.isNull()) {
        paintCell(defaultRect_, kPaletteDefaultButton);
        p.setPen(pal.color(QPalette::ButtonText));
        p.drawText(defaultRect_, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, defaultText_);
    }
    for (int i = 0; i < kPaletteSize; ++i) {
        const QRect r = cellRect(i);
        paintCell(r, i);
        const QRect swatch = r.adjusted(edge_ + 1, edge_ + 1, -(edge_ + 1), -(edge_ + 1));
        p.fillRect(swatch, toQColor(kPalette[static_cast<std::size_t>(i)]));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
}

void ColorPopup::mouseMoveEvent(QMouseEvent* e)
{
    setHover(hitTest(e->position().toPoint()));
}

void ColorPopup::mousePressEvent(QMouseEvent* e)
{
    if (!rect().contains(e->position().toPoint())) {
        hide();
        return;
    }
    if (e->button() == Qt::LeftButton) {
        pressed_ = true;
        setHover(hitTest(e->position().toPoint()));
        update();
    }
}

void ColorPopup::mouseReleaseEvent(QMouseEvent* e)
{
    pressed_ = false;
    if (e->button() != Qt::LeftButton) {
        return;
    }
    const int index =
        rect().contains(e->position().toPoint()) ? hitTest(e->position().toPoint()) : kPaletteNone;
    if (index == kPaletteNone) {
        update();
        return;
    }
    choose(index);
}

void ColorPopup::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (hover_ == kPaletteNone) {
            hide();
        } else {
            choose(hover_);
        }
        return;
    case Qt::Key_Escape:
        hide();
        return;
    default:
        break;
    }
    const QKeySequence mnemonic = QKeySequence::mnemonic(defaultText_);
    if (!mnemonic.isEmpty() && QKeySequence(e->keyCombination()) == mnemonic) {
        choose(kPaletteDefaultButton);
    }
}

void ColorPopup::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    pressed_ = false;
    emit closed();
}

// ---------------------------------------------------------------------------------------------
// ColorButton

ColorButton::ColorButton(QWidget* parent) : QWidget(parent)
{
    resize(45, 22);
    setAttribute(Qt::WA_Hover);
    popup_ = new ColorPopup(this);
    connect(popup_, &ColorPopup::cellChosen, this, &ColorButton::onCellChosen);
    connect(popup_, &ColorPopup::defaultChosen, this, &ColorButton::DoDefaultSelect);
    connect(popup_, &ColorPopup::closed, this, &ColorButton::onPopupClosed);
}

ColorButton::~ColorButton() = default;

void ColorButton::setSelectionColor(TColor c)
{
    c &= 0xFFFFFF;
    if (c == color_) {
        return;
    }
    color_ = c;
    update();
    if (dropped_) {
        popup_->setSelectedIndex(PaletteIndexOf(c));
    }
    emit changed();
}

void ColorButton::setFlat(bool on)
{
    flat_ = on;
    update();
}

void ColorButton::setTransparent(bool on)
{
    transparent_ = on;
    setAttribute(Qt::WA_NoSystemBackground, on);
    update();
}

void ColorButton::setIndicatorBorder(TIndicatorBorder b)
{
    border_ = b;
    update();
}

void ColorButton::setPopupSpacing(int s)
{
    spacing_ = s;
    popup_->setSpacing(s);
}

void ColorButton::setDefaultText(const QString& text)
{
    defaultText_ = text;
    popup_->setDefaultText(text);
}

void ColorButton::setDown(bool on)
{
    if (groupIndex_ == 0) {
        on = false;
    }
    if (on == down_) {
        return;
    }
    if (!on && !allowAllUp_) {
        return;
    }
    down_ = on;
    if (on) {
        releaseSiblings();
    }
    update();
}

void ColorButton::releaseSiblings()
{
    if (groupIndex_ == 0 || parentWidget() == nullptr) {
        return;
    }
    const auto siblings = parentWidget()->findChildren<ColorButton*>(Qt::FindDirectChildrenOnly);
    for (ColorButton* other : siblings) {
        if (other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->update();
        }
    }
}

void ColorButton::setDroppedDown(bool on)
{
    if (on == dropped_) {
        return;
    }
    if (!on) {
        popup_->hide(); // onPopupClosed finishes the close
        return;
    }
    bool allowed = true;
    emit dropChanging(&allowed);
    if (!allowed) {
        return;
    }
    dropped_ = true;
    popup_->setSelectedIndex(PaletteIndexOf(color_));
    const QRect onScreen(mapToGlobal(QPoint(0, 0)), size());
    QScreen* scr = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QRect area = scr != nullptr ? scr->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
    popup_->move(PopupPosition(onScreen, popup_->size(), area));
    popup_->show();
    popup_->raise();
    popup_->setFocus(Qt::PopupFocusReason);
    emit dropChanged();
    update();
}

void ColorButton::onCellChosen(int index)
{
    setSelectionColor(kPalette[static_cast<std::size_t>(index)]);
}

void ColorButton::onPopupClosed()
{
    if (!dropped_) {
        return;
    }
    dropped_ = false;
    emit dropChanged();
    update();
}

void ColorButton::DoDefaultSelect()
{
    emit defaultSelected();
}

void ColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const bool pushed = down_ || dropped_ || dragging_;
    QRect r = rect();
    if (flat_) {
        if (!transparent_) {
            p.fillRect(r, pal.color(QPalette::Button));
        }
        if (isEnabled() && (mouseInControl_ || pushed)) {
            qDrawWinPanel(&p, r, pal, pushed);
        }
    } else {
        p.fillRect(r, pal.color(QPalette::Button));
        qDrawWinPanel(&p, r, pal, pushed);
    }
    r.adjust(4, 4, -4, -4);
    if (pushed) {
        r.translate(1, 1);
    }
    const QColor swatch = isEnabled() ? toQColor(color_) : pal.color(QPalette::Mid);
    switch (border_) {
    case ibNone:
        p.fillRect(r, swatch);
        break;
    case ibFlat:
        p.fillRect(r, swatch);
        p.setPen(pal.color(QPalette::Dark));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        break;
    case ibSunken:
    case ibRaised:
        qDrawWinPanel(&p, r, pal, border_ == ibSunken);
        p.fillRect(r.adjusted(2, 2, -2, -2), swatch);
        break;
    }
}

void ColorButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled()) {
        return;
    }
    setDroppedDown(true);
    if (dropped_) {
        return;
    }
    // The drop was refused: behave as a plain speed button.
    dragging_ = true;
    pressedInside_ = true;
    update();
}

void ColorButton::mouseMoveEvent(QMouseEvent* e)
{
    if (!pressedInside_) {
        return;
    }
    const bool inside = rect().contains(e->position().toPoint());
    if (inside != dragging_) {
        dragging_ = inside;
        update();
    }
}

void ColorButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (!pressedInside_ || e->button() != Qt::LeftButton) {
        return;
    }
    pressedInside_ = false;
    dragging_ = false;
    if (rect().contains(e->position().toPoint())) {
        if (groupIndex_ != 0) {
            setDown(!down_);
        }
        update();
        emit clicked();
        return;
    }
    update();
}

void ColorButton::enterEvent(QEnterEvent*)
{
    mouseInControl_ = true;
    update();
}

void ColorButton::leaveEvent(QEvent*)
{
    mouseInControl_ = false;
    update();
}

void ColorButton::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        update();
    }
}

} // namespace kurvex

// Combo boxes that show drawn samples: fill styles, point markers and line widths.
#include "controls/StyleComboBoxes.h"

#include "platform/QtCanvas.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>

namespace kurvex {

namespace {

constexpr std::array<Qt::BrushStyle, 8> kQtBrushStyles = {
    Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
    Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern,
};

// Paints the items through the box's own drawing.
class SampleDelegate : public QStyledItemDelegate {
public:
    explicit SampleDelegate(StyleComboBoxBase* box) : QStyledItemDelegate(box), box_(box) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor bg = option.palette.color(selected ? QPalette::Highlight : QPalette::Base);
        p->save();
        box_->drawItem(*p, option.rect, index.row(), bg);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), box_->itemHeight()};
    }

private:
    StyleComboBoxBase* box_;
};

} // namespace

// Index 4, the forward diagonal, runs down from left to right as Qt's FDiagPattern does.
Qt::BrushStyle QtBrushStyle(int index)
{
    return index >= 0 && index < 8 ? kQtBrushStyles[static_cast<std::size_t>(index)] : Qt::SolidPattern;
}

BrushStyle FillStyleOf(int index)
{
    return index >= 0 && index < 8 ? static_cast<BrushStyle>(index) : BrushStyle::Solid;
}

int FillStyleIndex(BrushStyle style)
{
    return static_cast<int>(style);
}

StyleComboBoxBase::StyleComboBoxBase(QWidget* parent) : QComboBox(parent)
{
    setFixedHeight(23);
    setItemDelegate(new SampleDelegate(this));
    connect(this, &QComboBox::activated, this, [this](int index) {
        storePicked(index);
        emit clicked();
        emit changed();
    });
}

void StyleComboBoxBase::setItemHeight(int h)
{
    itemHeight_ = h;
}

void StyleComboBoxBase::refill(const QString& prefix, int count)
{
    const QSignalBlocker block(this);
    clear();
    for (int i = 1; i <= count; ++i) {
        addItem(prefix + QString::number(i));
    }
}

void StyleComboBoxBase::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0) {
        p.save();
        drawItem(p, field, currentIndex(), palette().color(QPalette::Base));
        p.restore();
    }
}

// ---------------------------------------------------------------------------------------------

StyleIndexComboBox::StyleIndexComboBox(const QString& prefix, int value, int maximum, QWidget* parent)
    : StyleComboBoxBase(parent), prefix_(prefix), value_(value), max_(maximum)
{
    refill(prefix_, 8);
    setCurrentIndex(value_);
}

void StyleIndexComboBox::setValue(int v)
{
    if (v < 0 || v > max_) {
        return;
    }
    value_ = v;
    setCurrentIndex(v);
}

void StyleIndexComboBox::setMaximum(int m)
{
    max_ = std::clamp(m, 0, 7);
    refill(prefix_, 8);
    setCurrentIndex(value_);
}

// ---------------------------------------------------------------------------------------------

FillStyleComboBox::FillStyleComboBox(QWidget* parent)
    : StyleIndexComboBox(QStringLiteral("Ashurado "), 0, 7, parent)
{
    setItemHeight(16);
}

void FillStyleComboBox::setBrushColor(TColor c)
{
    brushColor_ = c;
    update();
}

void FillStyleComboBox::drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const
{
    p.fillRect(r, background);
    p.setPen(Qt::black);
    p.setBrush(QBrush(toQColor(brushColor_), QtBrushStyle(index)));
    p.drawRect(QRect(QPoint(r.left() + 4, r.top() + 2), QPoint(r.right() - 4, r.bottom() - 2)));
}

// ---------------------------------------------------------------------------------------------

LineStyleComboBox::LineStyleComboBox(QWidget* parent)
    : StyleIndexComboBox(QStringLiteral("Ancho "), 2, 4, parent)
{
    setItemHeight(17);
}

void LineStyleComboBox::drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const
{
    p.fillRect(r, background);
    const QColor grey(0x80, 0x80, 0x80);
    const int cx = (r.left() + r.right() + 1) / 2;
    const int cy = (r.top() + r.bottom() + 1) / 2;
    const QRect box(QPoint(cx - 4, cy - 4), QPoint(cx + 3, cy + 3));
    // Odd items are the hollow or thick variant of the marker before them.
    const bool odd = index % 2 == 1;
    p.setPen(QPen(grey, index >= 4 && odd ? 2 : 1));
    p.setBrush(index < 4 && odd ? QBrush(Qt::NoBrush) : QBrush(grey));
    if (index < 2) {
        p.drawEllipse(box);
    } else if (index < 4) {
        p.drawRect(box);
    } else if (index < 6) {
        p.drawLine(cx, cy - 4, cx, cy + 4);
        p.drawLine(cx - 4, cy, cx + 4, cy);
    } else {
        p.drawLine(cx - 4, cy - 4, cx + 4, cy + 4);
        p.drawLine(cx - 4, cy + 4, cx + 4, cy - 4);
    }
}

// ---------------------------------------------------------------------------------------------

LineWidthComboBox::LineWidthComboBox(QWidget* parent) : StyleComboBoxBase(parent)
{
    setItemHeight(17);
    refill(QStringLiteral("Ancho "), max_);
    setCurrentIndex(value_ - 1);
}

void LineWidthComboBox::setLineWidth(int v)
{
    value_ = std::clamp(v, 1, max_);
    setCurrentIndex(value_ - 1);
}

void LineWidthComboBox::setMaxLineWidth(int m)
{
    max_ = std::clamp(m, 1, 32);
    refill(QStringLiteral("Ancho "), max_);
    setLineWidth(value_);
}

void LineWidthComboBox::setLineColor(TColor c)
{
    lineColor_ = c;
    update();
}

void LineWidthComboBox::drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const
{
    p.fillRect(r, background);
    p.setPen(background);
    p.setBrush(palette().color(QPalette::Base));
    p.drawRect(QRect(QPoint(r.left() + 4, r.top() + 2), QPoint(r.right() - 4, r.bottom() - 2)));
    const int width = index + 1;
    const int cy = (r.top() + r.bottom() + 1) / 2;
    p.setPen(QPen(toQColor(lineColor_), width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(r.left() + 6 + width, cy, r.right() - 6 - width, cy);
}

} // namespace kurvex

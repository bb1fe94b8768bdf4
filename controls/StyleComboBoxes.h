// Combo boxes that show drawn samples: fill styles, point markers and line widths.
#pragma once

#include "platform/Canvas.h"

#include <QComboBox>

namespace kurvex {

// Brush style of item i of the fill-style box (0 solid ... 7 diagonal cross).
Qt::BrushStyle QtBrushStyle(int index);
BrushStyle FillStyleOf(int index);
int FillStyleIndex(BrushStyle style);

// Common base: fixed height, items refilled when the maximum changes, texts never shown.
// changed() and clicked() fire only for a pick by the user, after the value is stored.
class StyleComboBoxBase : public QComboBox {
    Q_OBJECT
public:
    explicit StyleComboBoxBase(QWidget* parent = nullptr);

    int itemHeight() const { return itemHeight_; }
    // Draws item index into r; the delegate and the closed box both use it.
    virtual void drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const = 0;

signals:
    void clicked();
    void changed();

protected:
    void setItemHeight(int h);
    void refill(const QString& prefix, int count);
    // Stores the value of a picked item.
    virtual void storePicked(int index) = 0;
    void paintEvent(QPaintEvent*) override;

private:
    int itemHeight_ = 16;
};

// A box whose value is the picked item's index; a value above the maximum is ignored.
class StyleIndexComboBox : public StyleComboBoxBase {
    Q_OBJECT
public:
    StyleIndexComboBox(const QString& prefix, int value, int maximum, QWidget* parent);

protected:
    int value() const { return value_; }
    void setValue(int v);
    int maximum() const { return max_; }
    void setMaximum(int m);
    void storePicked(int index) override { value_ = index; }

private:
    QString prefix_;
    int value_;
    int max_;
};

class FillStyleComboBox : public StyleIndexComboBox {
    Q_OBJECT
public:
    explicit FillStyleComboBox(QWidget* parent = nullptr);

    int FillStyle() const { return value(); }
    void setFillStyle(int v) { setValue(v); }
    int MaxFillStyle() const { return maximum(); }
    void setMaxFillStyle(int m) { setMaximum(m); }
    TColor BrushColor() const { return brushColor_; }
    void setBrushColor(TColor c);

    void drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const override;

private:
    TColor brushColor_ = clBlack;
};

class LineStyleComboBox : public StyleIndexComboBox {
    Q_OBJECT
public:
    explicit LineStyleComboBox(QWidget* parent = nullptr);

    int LineStyle() const { return value(); }
    void setLineStyle(int v) { setValue(v); }
    int MaxLineStyle() const { return maximum(); }
    void setMaxLineStyle(int m) { setMaximum(m); }

    void drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const override;
};

class LineWidthComboBox : public StyleComboBoxBase {
    Q_OBJECT
public:
    explicit LineWidthComboBox(QWidget* parent = nullptr);

    int LineWidth() const { return value_; }
    // Clamped to 1..MaxLineWidth, so an item is always selected.
    void setLineWidth(int v);
    int MaxLineWidth() const { return max_; }
    void setMaxLineWidth(int m);
    TColor LineColor() const { return lineColor_; }
    void setLineColor(TColor c);

    void drawItem(QPainter& p, const QRect& r, int index, const QColor& background) const override;

protected:
    void storePicked(int index) override { value_ = index + 1; }

private:
    int value_ = 1;
    int max_ = 5;
    TColor lineColor_ = clBlack;
};

} // namespace kurvex

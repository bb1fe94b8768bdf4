// Colour button with its drop-down palette of 80 fixed colours.
#pragma once

#include "platform/Canvas.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>

class QRect;

namespace kurvex {

constexpr int kPaletteColumns = 8;
constexpr int kPaletteRows = 10;
constexpr int kPaletteSize = kPaletteColumns * kPaletteRows;
constexpr int kPaletteBoxSize = 18;
// Hit-test results besides a cell index.
constexpr int kPaletteNone = -1;
constexpr int kPaletteDefaultButton = -3;

// The palette, row by row, in $00BBGGRR order.
const std::array<TColor, kPaletteSize>& ColorPalette();
// First cell holding c, or kPaletteNone; duplicated colours select their first cell.
int PaletteIndexOf(TColor c);

// Where the popup goes: below the button, one pixel left of it; above it when it would leave
// the screen at the bottom, shifted left at the right edge, never left of the screen.
QPoint PopupPosition(const QRect& buttonOnScreen, const QSize& popupSize, const QRect& screen);

enum TIndicatorBorder { ibNone, ibFlat, ibSunken, ibRaised };

// The palette window; it reports a choice or a close without one and never changes the button.
class ColorPopup : public QWidget {
    Q_OBJECT
public:
    explicit ColorPopup(QWidget* parent = nullptr);

    void setDefaultText(const QString& text);
    void setSpacing(int spacing);
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    int hoverIndex() const { return hover_; }
    QRect cellRect(int index) const;
    QRect defaultButtonRect() const { return defaultRect_; }
    // Cell under p (widget coordinates), kPaletteDefaultButton, or kPaletteNone.
    int hitTest(const QPoint& p) const;

signals:
    void cellChosen(int index);
    void defaultChosen();
    // Emitted whenever the popup hides, after a choice too.
    void closed();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void relayout();
    void setHover(int index);
    void choose(int index);
    int cellTop() const;

    QString defaultText_;
    int spacing_ = 8;
    int edge_ = 2;
    int selected_ = kPaletteNone;
    int hover_ = kPaletteNone;
    bool pressed_ = false;
    QRect defaultRect_;
};

// A swatch button; any left press drops the palette, a chosen cell sets SelectionColor.
class ColorButton : public QWidget {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);
    ~ColorButton() override;

    TColor SelectionColor() const { return color_; }
    void setSelectionColor(TColor c);
    bool Flat() const { return flat_; }
    void setFlat(bool on);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool on);
    TIndicatorBorder IndicatorBorder() const { return border_; }
    void setIndicatorBorder(TIndicatorBorder b);
    int PopupSpacing() const { return spacing_; }
    void setPopupSpacing(int s);
    QString DefaultText() const { return defaultText_; }
    void setDefaultText(const QString& text);
    bool Down() const { return down_; }
    void setDown(bool on);
    bool AllowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool on) { allowAllUp_ = on; }
    int GroupIndex() const { return groupIndex_; }
    void setGroupIndex(int g) { groupIndex_ = g; }

    bool DroppedDown() const { return dropped_; }
    void setDroppedDown(bool on);
    ColorPopup* popup() const { return popup_; }

    QSize sizeHint() const override { return {45, 22}; }

signals:
    void changed();
    void defaultSelected();
    void dropChanged();
    // A handler may clear *allowed to keep the palette closed.
    void dropChanging(bool* allowed);
    void clicked();

protected:
    virtual void DoDefaultSelect();
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void changeEvent(QEvent* e) override;

private:
    void onCellChosen(int index);
    void onPopupClosed();
    void releaseSiblings();

    TColor color_ = clBlack;
    bool flat_ = false;
    bool transparent_ = true;
    TIndicatorBorder border_ = ibFlat;
    int spacing_ = 8;
    QString defaultText_;
    bool down_ = false;
    bool allowAllUp_ = false;
    int groupIndex_ = 0;
    bool dropped_ = false;
    bool dragging_ = false;
    bool pressedInside_ = false;
    bool mouseInControl_ = false;
    QPointer<ColorPopup> popup_;
};

} // namespace kurvex

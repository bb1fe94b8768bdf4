// Painted 3-D on/off rocker switch that starts and stops the lesson animations.
#pragma once

#include "platform/Canvas.h"

#include <QPolygon>
#include <QString>
#include <QWidget>

namespace kurvex {

// The rocker's measures for one paint; half and side are negative when the rocker is mirrored.
struct SwitchGeometry {
    int h = 0;    // inner height
    int w = 0;    // inner width
    int half = 0; // signed half width
    int m = 0;    // x of the middle
    int s = 0;    // signed side length
    int slope = 0;
    QPolygon topFace() const;
    QPolygon sideFace() const;
    QPolygon flatHalf() const;
    QPolygon tiltedHalf() const;
};

SwitchGeometry ComputeSwitchGeometry(int width, int height, int slope, int sideLength, bool checked,
                                     bool checkedLeft);
// Whether a press at x lands on the tilted half, the only place where a press toggles.
bool SwitchPressToggles(int x, const SwitchGeometry& g, bool checked, bool checkedLeft);

class ToggleSwitch : public QWidget {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    bool Checked() const { return checked_; }
    // Fires changed() and switchedOn()/switchedOff() on a new value, never clicked().
    void setChecked(bool on);
    QString CaptionOn() const { return captionOn_; }
    void setCaptionOn(const QString& s) { setAndRepaint(captionOn_, s); }
    QString CaptionOff() const { return captionOff_; }
    void setCaptionOff(const QString& s) { setAndRepaint(captionOff_, s); }
    bool CheckedLeft() const { return checkedLeft_; }
    void setCheckedLeft(bool on) { setAndRepaint(checkedLeft_, on); }
    int Slope() const { return slope_; }
    void setSlope(int v);
    int SideLength() const { return sideLength_; }
    // Refused (returns false) when the side would not fit inside the width.
    bool setSideLength(int v);
    TColor OnColor() const { return onColor_; }
    void setOnColor(TColor c) { setAndRepaint(onColor_, c); }
    TColor OffColor() const { return offColor_; }
    void setOffColor(TColor c) { setAndRepaint(offColor_, c); }
    TColor TopColor() const { return topColor_; }
    void setTopColor(TColor c) { setAndRepaint(topColor_, c); }
    TColor SideColor() const { return sideColor_; }
    void setSideColor(TColor c) { setAndRepaint(sideColor_, c); }

    SwitchGeometry geometry() const;
    // The caption on show now and where its text is drawn (top-left of the text box).
    QString currentCaption() const { return checked_ ? captionOn_ : captionOff_; }
    QPoint captionPosition() const;

    QSize sizeHint() const override { return {83, slope_ + 18}; }

signals:
    void changed();
    void switchedOn();
    void switchedOff();
    void clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    template <typename T> void setAndRepaint(T& field, const T& value)
    {
        field = value;
        update();
    }

    bool checked_ = false;
    QString captionOn_ = QStringLiteral("EIN");
    QString captionOff_ = QStringLiteral("AUS");
    bool checkedLeft_ = true;
    int slope_ = 6;
    int sideLength_ = 6;
    TColor onColor_ = 0x0000FF;
    TColor offColor_ = 0x000080;
    TColor topColor_ = 0xC0C0C0;
    TColor sideColor_ = 0xC0C0C0;
    bool pressed_ = false;
};

} // namespace kurvex

// Check box painted from glyph bitmaps, with an optional grayed state.
#pragma once

#include "controls/Glyphs.h"

#include <QPixmap>
#include <QWidget>

namespace kurvex {

enum TLeftRight { taLeftJustify, taRightJustify };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// The program's own 13 x 13 glyph of a state, at the pixel ratio.
QPixmap DefaultCheckGlyph(TCheckBoxState state, qreal ratio = ScreenPixelRatio());

class BitCheckBox : public QWidget {
    Q_OBJECT
public:
    explicit BitCheckBox(QWidget* parent = nullptr);
    explicit BitCheckBox(const QString& text, QWidget* parent = nullptr);

    TCheckBoxState State() const { return state_; }
    void setState(TCheckBoxState s);
    bool Checked() const { return state_ == cbChecked; }
    void setChecked(bool on) { setState(on ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void setAllowGrayed(bool on) { allowGrayed_ = on; }
    TLeftRight Alignment() const { return alignment_; }
    void setAlignment(TLeftRight a);

    QString text() const { return text_; }
    void setText(const QString& text);

    // An empty pixmap brings the program's own glyph back; a strip whose width is a multiple of
    // its height holds that many glyphs (the second one is the disabled look).
    void setGlyph(TCheckBoxState state, const QPixmap& glyph);
    QPixmap glyph(TCheckBoxState state) const { return glyphs_[state]; }
    int numGlyphs(TCheckBoxState state) const { return numGlyphs_[state]; }

    virtual void Toggle();

    QSize sizeHint() const override { return {97, 17}; }
    // Glyph and whole caption: a crowded layout never squeezes the box below them.
    QSize minimumSizeHint() const override;

signals:
    void clicked();
    void stateChanged();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void click();
    QRect captionRect() const;
    int glyphCount() const;
    // Width of one glyph of the current strip, in logical pixels.
    int glyphWidth() const;

    QString text_;
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = taRightJustify;
    QPixmap glyphs_[3];
    int numGlyphs_[3] = {1, 1, 1};
    bool pressed_ = false;
    int shortcutId_ = 0;
};

} // namespace kurvex

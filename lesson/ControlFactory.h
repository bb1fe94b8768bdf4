// Small factories for the controls the lesson windows share, each named by its form component name.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

class QLabel;
class QLineEdit;
class QSlider;
class QToolButton;
class QWidget;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ToggleSwitch;

// Reset, direction and object buttons.
inline constexpr QSize kGlyphButtonSize(22, 22);
// The widest number a number edit shows: four decimals and a two-digit exponent, with signs.
inline constexpr const char* kWidestNumberText = "-8,8888 E+88";

// A focus-less tool button showing a glyph (zoom, pan, reset, direction and object buttons).
QToolButton* MakeGlyphButton(const QString& glyph, const QString& objectName, const QString& hint,
                             QWidget* parent, QSize size = kGlyphButtonSize);
QLabel* MakeLabel(const QString& objectName, const QString& text, QWidget* parent);
// The same in the bold face of the label's font (headings, results).
QLabel* MakeBoldLabel(const QString& objectName, const QString& text, QWidget* parent);
// A number edit as wide as kWidestNumberText needs in its font.
QLineEdit* MakeNumberEdit(const QString& objectName, QWidget* parent);
// The width an edit needs to show text whole in its font: the text, the edit's margins and frame.
int EditWidthFor(const QLineEdit& edit, const QString& text);
// An edit for a term: the term font and room beyond the length a term keeps.
QLineEdit* MakeTermEdit(const QString& objectName, QWidget* parent);
// The animation switch: hint "Animation", "EIN"/"AUS", green when on.
ToggleSwitch* MakeAnimationSwitch(const QString& objectName, QWidget* parent);
// A check box wide enough for its whole caption beside the glyph.
BitCheckBox* MakeCheckBox(const QString& objectName, const QString& text, QWidget* parent);
QSlider* MakeTrackBar(const QString& objectName, const QString& hint, int min, int max, QWidget* parent);
ColorButton* MakeColorButton(const QString& objectName, const QString& hint, QWidget* parent);
// The width at which the window's title bar shows its whole caption: the caption in a bold face
// beside the window manager's icon and three buttons.
int CaptionWidth(const QWidget& window);
// Courier New bold 13 px, the font of term edits and lists.
QFont TermFont();

} // namespace kurvex

// The rows that switch on and colour a window's marks of high, low and inflection points: a colour
// button and a check box for each kind.
#pragma once

#include "core/CurvePointSearch.h"

#include <QString>
#include <QWidget>

#include <array>

namespace kurvex {

class BitCheckBox;
class ColorButton;

// Form component names and captions of one kind's row.
struct CurvePointRowNames {
    const char* box = nullptr;
    QString caption;
    const char* colourButton = nullptr;
};

class CurvePointRows : public QWidget {
    Q_OBJECT
public:
    // Rows for high, low and inflection points, in that order, starting with the style's colours
    // and its marker factor; every kind starts switched off.
    CurvePointRows(const std::array<CurvePointRowNames, 3>& names, const SpecialPointStyle& start,
                   QWidget* parent);

    // The kinds whose boxes are checked.
    SpecialPointKinds shown() const;
    bool anyShown() const;
    // The colours of the buttons with the marker factor.
    SpecialPointStyle style() const { return style_; }

    BitCheckBox* box(SpecialPointKind kind) const;
    ColorButton* colourButton(SpecialPointKind kind) const;

signals:
    // A box was clicked.
    void shownChanged();
    // A colour was picked.
    void coloursChanged();

private:
    std::array<BitCheckBox*, 3> boxes_{};
    std::array<ColorButton*, 3> buttons_{};
    SpecialPointStyle style_;
};

} // namespace kurvex

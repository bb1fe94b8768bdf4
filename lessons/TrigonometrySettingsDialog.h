// Settings dialog (TForm6) "Einstellungen" of the trigonometry window: its colours, the animation's
// step divisor, the print size, the printer and the two save buttons.
#pragma once

#include "lesson/SettingsDialogBase.h"

#include <array>
#include <functional>

class QLineEdit;

namespace kurvex {

class ColorButton;

// Every change takes effect at once and redraws the trigonometry window (the print size excepted);
// only the save buttons write the settings file, with the other lessons' world window in it.
class TrigonometrySettingsDialog : public SettingsDialogBase {
    Q_OBJECT
public:
    TrigonometrySettingsDialog(QWidget* owner, std::function<void()> redrawOwner);

    // The variables into the controls (on show and after the defaults were set).
    void fillFromSettings();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void save();
    void setDefaultsAndSave();
    void redrawOwner() const;

    std::function<void()> redrawOwner_;
    // Sine, cosine, tangent, cotangent, arc, angle, background, grid.
    std::array<ColorButton*, 8> colourButtons_{};
    QLineEdit* stepsEdit_ = nullptr;
    QLineEdit* printSizeEdit_ = nullptr;
};

} // namespace kurvex

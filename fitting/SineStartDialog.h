// Start-value dialog of the sine fit (TForm50) "Startwerte und Einstellungen y = a sin(bx+c)+d":
// the start values and iteration limit of the next sine fit beside the values of the last one.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;

namespace kurvex {

class BitCheckBox;

class SineStartDialog : public QDialog {
    Q_OBJECT
public:
    explicit SineStartDialog(QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    // The automatic start values and the period of b into the edits; the iteration limit too.
    void showStartValues();
    void onDefaultsToggled();
    void onStartValueEntered(int index);
    void onIterationsEntered();
    void enableEdits();

    std::array<QLineEdit*, 4> startEdits_{};
    std::array<QLabel*, 4> fittedLabels_{};
    QLabel* startPeriod_ = nullptr;
    QLabel* fittedPeriod_ = nullptr;
    QLineEdit* iterationsEdit_ = nullptr;
    BitCheckBox* defaultsBox_ = nullptr;
};

} // namespace kurvex

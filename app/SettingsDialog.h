// Settings dialog (TForm2) "Einstellungen": colours, line and animation settings, axes, ticks and saving.
#pragma once

#include "lesson/SettingsDialogBase.h"

#include <functional>

class QLineEdit;
class QSlider;
class QToolButton;
class QPushButton;

namespace kurvex {

class ColorButton;
class FillStyleComboBox;
class LineWidthComboBox;
class BitCheckBox;
class MultiLineButton;

// Each control carries its form name as objectName ("Edit1", "ColorButton5", ...).
class SettingsDialog : public SettingsDialogBase {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* owner = nullptr);

    // Opens the dialog modally over owner and frees it when it closes; curveColourChanged runs when
    // its curve colour changes.
    static void openModal(QWidget* owner, const std::function<void()>& curveColourChanged = {});

    // Puts the variables into the controls (on show and after the defaults were set).
    void fillFromSettings();

signals:
    // The curve colour changed; the function-graph window redraws at once.
    void curveColourChanged();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildLeftColumn();
    void buildRightColumn();
    void connectControls();
    void onAutomaticTicksToggled();
    void readTickStepEdit(bool xAxis);
    void acceptTickStep(bool xAxis, double candidate);
    // end is lower or upper itself; the other one must stay on its side.
    void readAxisEdit(QLineEdit* edit, double& end, const double& lower, const double& upper);
    void save();
    void setDefaultsAndSave();

    ColorButton* curveColourButton_ = nullptr;
    ColorButton* backgroundColourButton_ = nullptr;
    ColorButton* gridColourButton_ = nullptr;
    ColorButton* slopeTriangleColourButton_ = nullptr;
    ColorButton* tangentColourButton_ = nullptr;
    ColorButton* firstDerivativeColourButton_ = nullptr;
    ColorButton* secondDerivativeColourButton_ = nullptr;
    ColorButton* areaColourButton_ = nullptr; // F and the area under f
    ColorButton* secantColourButton_ = nullptr;
    FillStyleComboBox* areaFillStyleBox_ = nullptr;
    LineWidthComboBox* lineWidthBox_ = nullptr;
    QSlider* tangentLengthSlider_ = nullptr;
    QLineEdit* xFromEdit_ = nullptr;
    QLineEdit* xToEdit_ = nullptr;
    QLineEdit* yFromEdit_ = nullptr;
    QLineEdit* yToEdit_ = nullptr;
    QLineEdit* xTickStepEdit_ = nullptr;
    QLineEdit* yTickStepEdit_ = nullptr;
    QLineEdit* animationStepsEdit_ = nullptr;
    QLineEdit* printSizeEdit_ = nullptr;
    QLineEdit* animationDelayEdit_ = nullptr;
    QLineEdit* decimalsEdit_ = nullptr;
    QLineEdit* epsDeltaRadiusEdit_ = nullptr;
    QLineEdit* resultDigitsEdit_ = nullptr;
    QToolButton* printerSetupButton_ = nullptr;
    QToolButton* axesOnlyButton_ = nullptr;
    QToolButton* dottedGridButton_ = nullptr;
    QToolButton* solidGridButton_ = nullptr;
    QToolButton* scaleLabelsOnButton_ = nullptr;
    QToolButton* scaleLabelsOffButton_ = nullptr;
    BitCheckBox* automaticTicksBox_ = nullptr;
    BitCheckBox* piAxisBox_ = nullptr; // x unit in multiples of pi
    QPushButton* okButton_ = nullptr;
    MultiLineButton* saveButton_ = nullptr;
    MultiLineButton* defaultsButton_ = nullptr;
};

// Makes the lesson windows open this dialog and the help window. Called once at start.
void InstallApplicationDialogs();

} // namespace kurvex

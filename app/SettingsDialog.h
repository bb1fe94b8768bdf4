// Settings dialog "Einstellungen": colours, line and animation settings, axes, ticks and saving.
#pragma once

#include <QDialog>
#include <functional>
#include <string_view>

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

// Every control writes its settings variable at once; only the two save buttons write the file.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* owner = nullptr);

    // Opens the dialog modally over owner and frees it when it closes; curveColourChanged runs when
    // its curve colour changes.
    static void Execute(QWidget* owner, const std::function<void()>& curveColourChanged = {});

    // Puts the variables into the controls (on show and after the defaults were set).
    void FormShow();

    // Every way of closing: a value still being typed is taken first, as leaving its edit would.
    void done(int result) override;

    ColorButton* ColorButton1 = nullptr; // f
    ColorButton* ColorButton2 = nullptr; // background
    ColorButton* ColorButton3 = nullptr; // grid
    ColorButton* ColorButton4 = nullptr; // slope triangle
    ColorButton* ColorButton5 = nullptr; // tangent
    ColorButton* ColorButton6 = nullptr; // f'
    ColorButton* ColorButton7 = nullptr; // f''
    ColorButton* ColorButton8 = nullptr; // F, area
    ColorButton* ColorButton9 = nullptr; // secant
    FillStyleComboBox* FillStyleComboBox1 = nullptr;
    LineWidthComboBox* LineWidthComboBox1 = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLineEdit* Edit1 = nullptr;           // x from
    QLineEdit* Edit2 = nullptr;           // x to
    QLineEdit* Edit3 = nullptr;           // y from
    QLineEdit* Edit4 = nullptr;           // y to
    QLineEdit* Edit5 = nullptr;           // x unit
    QLineEdit* Edit6 = nullptr;           // y unit
    QLineEdit* Edit7 = nullptr;           // animation steps
    QLineEdit* Edit8 = nullptr;           // print percentage
    QLineEdit* Edit9 = nullptr;           // delay
    QLineEdit* Edit10 = nullptr;          // input decimals
    QLineEdit* Edit11 = nullptr;          // eps-delta max radius
    QLineEdit* Edit12 = nullptr;          // fit result digits
    QToolButton* SpeedButton1 = nullptr;  // printer setup
    QToolButton* SpeedButton50 = nullptr; // grid modes 1, 2, 3
    QToolButton* SpeedButton52 = nullptr;
    QToolButton* SpeedButton53 = nullptr;
    QToolButton* SpeedButton60 = nullptr; // labels on
    QToolButton* SpeedButton61 = nullptr; // labels off
    BitCheckBox* BitCheckBox1 = nullptr;  // automatic ticks
    BitCheckBox* BitCheckBox2 = nullptr;  // x unit in multiples of pi
    QPushButton* Button1 = nullptr;
    MultiLineButton* Button2 = nullptr;
    MultiLineButton* Button3 = nullptr;

signals:
    // The curve colour changed; the function-graph window redraws at once.
    void graphColorChanged();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void buildLeftColumn();
    void buildRightColumn();
    void connectControls();
    void BitCheckBox1Click();
    void tickEditExit(bool xAxis);
    void acceptTickStep(bool xAxis, double candidate);
    // end is lower or upper itself; the other one must stay on its side.
    void axisEditExit(QLineEdit* edit, double& end, const double& lower, const double& upper);
    void integerEditExit(QLineEdit* edit, int& variable, const std::function<int(std::string_view)>& rule);
    void save();
    void setDefaultsAndSave();
};

// Makes the lesson windows open this dialog and the help window. Called once at start.
void InstallApplicationDialogs();

} // namespace kurvex

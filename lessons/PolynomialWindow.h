// Polynomial window (TForm17) "Ganzrationale Funktionen (Polynomfunktionen)": conditions placed with
// the mouse and the keys, and the polynomial of lowest degree that meets them, with its term,
// derivatives and special points.
#pragma once

#include "core/PolynomialConditions.h"
#include "lesson/LessonWindow.h"

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class LineWidthComboBox;

class PolynomialWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit PolynomialWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    const ConditionList& conditions() const { return conditions_; }
    const Polynomial& polynomial() const { return polynomial_; }
    int snapMode() const { return snapMode_; }
    double slopeValue() const { return slopeValue_; }

protected:
    void paintForeground(int pane) override;
    void refreshControls() override;
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void plotRelease(QMouseEvent* event) override;
    void plotRightClick(QMouseEvent* event) override;
    bool windowKey(QKeyEvent* event) override;

private:
    // PolynomialLayout.cpp
    void buildKindButtons();
    void buildConditionEdits();
    void buildSnapRow();
    void buildCurveRows();
    void buildPointRows();
    void buildGridAndListButtons();
    void buildTermPanel();
    void connectControls();
    void connectCurveControls();

    // Handlers
    ConditionKind pressedKind() const;
    // A new condition of the pressed kind at the world point, snapped; refused beyond 7 equations.
    void addCondition(double x, double y);
    void selectCondition(int index);
    // The selected condition's coordinates into the edits, and Edit1 enabled for a typed slope.
    void showSelected();
    void onEditLeft();
    void moveSelectedBy(double dx, double dy);
    void deleteSelected();
    void deleteAll();
    void onSnapModeChanged(int mode);
    // Solves again and shows the term (or why there is none), then the frame.
    void conditionsChanged();
    void updateTermLabel();

    // PolynomialDrawing.cpp
    void drawConditions();
    void drawPolynomialCurves();

    ConditionList conditions_;
    Polynomial polynomial_;
    double slopeValue_ = 1.0;
    int snapMode_ = 1;
    bool dragging_ = false;
    TColor pointColor_ = 0x000000;
    TColor selectedPointColor_ = 0x0000FF;
    bool showPolynomial_ = true;
    bool showFirstDerivative_ = false;
    bool showSecondDerivative_ = false;
    TColor firstDerivativeColor_ = 0x008000;
    TColor secondDerivativeColor_ = 0xFF0000;
    int firstDerivativeWidth_ = 1;
    int secondDerivativeWidth_ = 1;
    bool showSlopeLines_ = false;
    bool fractionMode_ = false;
    bool shiftAllPoints_ = false;
    bool showHigh_ = false;
    bool showLow_ = false;
    bool showInflection_ = false;
    TColor highColor_ = 0x008000;
    TColor lowColor_ = 0x008000;
    TColor inflectionColor_ = 0xFF0000;

    QButtonGroup* kindGroup_ = nullptr;
    QLineEdit* slopeEdit_ = nullptr;
    QLineEdit* xEdit_ = nullptr;
    QLineEdit* yEdit_ = nullptr;
    QSlider* snapBar_ = nullptr;
    QLabel* snapLabel_ = nullptr;
    QRadioButton* deformButton_ = nullptr;
    QRadioButton* shiftButton_ = nullptr;
    BitCheckBox* polynomialBox_ = nullptr;
    BitCheckBox* firstDerivativeBox_ = nullptr;
    BitCheckBox* secondDerivativeBox_ = nullptr;
    BitCheckBox* slopeLinesBox_ = nullptr;
    BitCheckBox* fractionBox_ = nullptr;
    BitCheckBox* highBox_ = nullptr;
    BitCheckBox* lowBox_ = nullptr;
    BitCheckBox* inflectionBox_ = nullptr;
    ColorButton* curveColourButton_ = nullptr;
    LineWidthComboBox* lineWidthBox_ = nullptr;
    ColorButton* firstDerivativeColourButton_ = nullptr;
    ColorButton* secondDerivativeColourButton_ = nullptr;
    LineWidthComboBox* firstDerivativeWidthBox_ = nullptr;
    LineWidthComboBox* secondDerivativeWidthBox_ = nullptr;
    ColorButton* highColourButton_ = nullptr;
    ColorButton* lowColourButton_ = nullptr;
    ColorButton* inflectionColourButton_ = nullptr;
    ColorButton* pointColourButton_ = nullptr;
    ColorButton* selectedColourButton_ = nullptr;
    std::array<QToolButton*, 3> gridButtons_{};
    QToolButton* deleteButton_ = nullptr;
    QToolButton* newButton_ = nullptr;
    QToolButton* termButton_ = nullptr;
    QLabel* termLabel_ = nullptr;
    QLabel* refusedLabel_ = nullptr;
};

} // namespace kurvex

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
class CurvePointRows;
class GridModeButtons;
class NextPressWatcher;
class TermLabel;

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
    // f, f' and f'' (the order of the derivative is the index): whether each is drawn, its pen
    // (f's is GraphColor and LineWidth) and its three controls.
    struct CurveRow {
        bool shown = false;
        TColor color = 0;
        int width = 1;
        BitCheckBox* box = nullptr;
        ColorButton* colourButton = nullptr;
        LineWidthComboBox* widthBox = nullptr;
    };
    std::array<CurveRow, 3> curves_{{{true, 0, 1}, {false, 0x008000, 1}, {false, 0xFF0000, 1}}};
    bool showSlopeLines_ = false;
    bool fractionMode_ = false;
    bool shiftAllPoints_ = false;

    QButtonGroup* kindGroup_ = nullptr;
    // The slope for new conditions, and x and y of the selected one.
    struct {
        QLineEdit* slope = nullptr;
        QLineEdit* x = nullptr;
        QLineEdit* y = nullptr;
    } edits_;
    // The snap track bar and its caption under the thumb.
    struct {
        QSlider* bar = nullptr;
        QLabel* caption = nullptr;
    } snap_;
    QRadioButton* shiftButton_ = nullptr;
    BitCheckBox* slopeLinesBox_ = nullptr;
    BitCheckBox* fractionBox_ = nullptr;
    CurvePointRows* pointRows_ = nullptr;
    ColorButton* pointColourButton_ = nullptr;
    ColorButton* selectedColourButton_ = nullptr;
    GridModeButtons* gridButtons_ = nullptr;
    QLabel* refusedLabel_ = nullptr;
    // Takes the refusal notice away at the user's next press (owned by the window).
    NextPressWatcher* refusalWatcher_ = nullptr;
    // The term under the plot, shown while its button is down.
    struct {
        QToolButton* button = nullptr;
        TermLabel* text = nullptr;
    } term_;
};

} // namespace kurvex

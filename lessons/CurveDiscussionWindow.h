// Curve-discussion window (TForm3): f with point, tangent and slope triangle above, f' and f'' with
// their values at x0 below, x0 moved by edit, drag and animation, the derivative grown by a sweep.
#pragma once

#include "core/CurveDiscussion.h"
#include "lesson/LessonWindow.h"

class QLabel;
class QLineEdit;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class TermField;
class TermRemarkExamples;
class ToggleSwitch;
class ValueRow;

class CurveDiscussionWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit CurveDiscussionWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    // Change of x0 per animation frame: one pixel column, signed.
    double xAnimationStep() const { return xAnimationStep_; }
    const SweepRange& sweep() const { return sweep_; }

protected:
    void setAxisCaptions(int pane) override;
    void paintBackground(int pane) override;
    void paintForeground(int pane) override;
    void refreshControls() override;
    void worldChanged(WorldChange how) override;
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void closing() override;

private:
    // CurveDiscussionLayout.cpp
    void buildTermAndExamples();
    void buildPointRow();
    void buildOptions();
    void connectControls();

    // Handlers
    void onGenerateToggled();
    void onAnimation();
    // x0 from the pixel column under the mouse.
    void takeMouseX(QMouseEvent* event);

    // CurveDiscussionDrawing.cpp
    // A curve of order 0, 1 or 2 from xFrom to xTo in the colour.
    void drawOrder(int order, TColor color, double xFrom, double xTo);
    void paintUpperParts();
    void paintLowerParts();
    // A vertical line at x between two pixel rows, in the colour and width factor.
    void verticalLine(double x, int fromRow, int toRow, TColor color, double widthFactor);
    void updateValueLabels(const std::optional<double>& m, const std::optional<double>& m2);

    TermParameters parameters() const { return LoadedTermParameters(); }

    bool showFirst_ = false;
    bool showSecond_ = false;
    bool generate_ = false;
    bool showTriangle_ = false;
    double xAnimationStep_ = 0.0;
    SweepRange sweep_;

    TermField* termField_ = nullptr;
    TermRemarkExamples* examples_ = nullptr;
    ValueRow* xRow_ = nullptr;
    ToggleSwitch* xSwitch_ = nullptr;
    QToolButton* directionButton_ = nullptr;
    BitCheckBox* firstBox_ = nullptr;
    BitCheckBox* secondBox_ = nullptr;
    BitCheckBox* generateBox_ = nullptr;
    BitCheckBox* triangleBox_ = nullptr;
    QLabel* firstLabel_ = nullptr;
    QLabel* secondLabel_ = nullptr;
};

} // namespace kurvex

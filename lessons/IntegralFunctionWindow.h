// Integral-function window (TForm7): f(t) with the area from x0 to x above, the integral function
// F(x) swept from x0 below, x and x0 by edits, bars and drag, the animation of x.
#pragma once

#include "core/IntegralFunction.h"
#include "lesson/LessonWindow.h"

class QLabel;
class QToolButton;

namespace kurvex {

class TermField;
class TermRemarkExamples;
class ToggleSwitch;
class ValueRow;

class IntegralFunctionWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit IntegralFunctionWindow(QWidget* owner = nullptr);
    ~IntegralFunctionWindow() override;

    static LessonVariant windowVariant();

    // x0, the lower limit of the integral.
    double lowerLimit() const { return lowerLimit_; }
    // Change of x per animation frame: one pixel column, signed.
    double xAnimationStep() const { return xAnimationStep_; }
    // The integral function as the last background pass computed it.
    const IntegralCurve& integralCurve() const { return curve_; }

protected:
    void setAxisCaptions(int pane) override;
    void paintBackground(int pane) override;
    void paintForeground(int pane) override;
    void refreshControls() override;
    void worldChanged(WorldChange how) override;
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void plotRelease(QMouseEvent* event) override;
    void closing() override;

private:
    // IntegralFunctionLayout.cpp
    void buildTermAndExamples();
    void buildLimitRows();
    void buildValueRow();
    void connectControls();

    // Handlers
    void onAnimation();
    void takeMouseX(QMouseEvent* event);
    // Both bars at their values, without changing them.
    void showBars();

    // IntegralFunctionDrawing.cpp
    void drawIntegralCurve();
    void drawArea();
    void drawUpperLimitLine();
    void drawValueBar();
    Integrand integrand() const;

    double lowerLimit_ = 0.0;
    double xAnimationStep_ = 0.0;
    IntegralCurve curve_;

    TermField* termField_ = nullptr;
    TermRemarkExamples* examples_ = nullptr;
    ValueRow* xRow_ = nullptr;
    ValueRow* lowerRow_ = nullptr;
    ToggleSwitch* xSwitch_ = nullptr;
    QToolButton* directionButton_ = nullptr;
    QLabel* valueLabel_ = nullptr;
};

} // namespace kurvex

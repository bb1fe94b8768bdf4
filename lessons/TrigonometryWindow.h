// Trigonometry window (TForm5) "Sinus, Tangens": sine, cosine, tangent and cotangent from the unit
// circle, with their graphs traced over the angle.
#pragma once

#include "lesson/LessonWindow.h"

class QRadioButton;
class QScrollBar;
class QSlider;

namespace kurvex {

class BitCheckBox;
class ToggleSwitch;

class TrigonometryWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit TrigonometryWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    double angle() const { return angle_; }
    int direction() const { return direction_; }

protected:
    void paintCoordinateSystem(int pane) override;
    void setAxisCaptions(int pane) override;
    void paintForeground(int pane) override;
    void refreshControls() override;
    void initWorld() override;
    void checkWorld() override;
    void showSettingsDialog() override;
    void plotMove(QMouseEvent* event) override;
    void closing() override;
    void adjustPrintLayout(PrintLayout& layout) const override;

private:
    void buildControls();
    void buildAngleBars();
    // The bars under the graph's -π..2π, as the plot's width changed.
    void placeAngleBars();
    void connectControls();

    void onDegreeBar(int position);
    void onStepBar(int position);
    void onOptionsChanged();
    void onReset();
    void onAnimation();
    // Both bars to positions without their handlers, so the angle keeps every digit.
    void setBarsQuietly(int degreePosition, int stepPosition);

    // TrigonometryDrawing.cpp
    void drawAxisMarks();
    void drawFullGraphs();
    void drawUnitCircle();
    void drawArc();
    void drawAngleOnAxis();
    void drawSineMode();
    void drawTangentMode();
    // The circle's radius to the angle's point and its sine and cosine segments.
    void drawCircleSegments();
    // A polyline of f from the samples' x values, in the pen given.
    void drawSampled(double (*f)(double), double from, double to, double step, TColor color, int width);
    // tan or cot by the curve plotter from xFrom to xTo in the pen given, a sample every stepPx columns.
    void drawTanCot(bool cotangent, double xFrom, double xTo, TColor color, int width, int stepPx);
    // The world step of the traces: one column of the plot on screen.
    double traceStep() const;

    // The angle in radians; the direction of the animation, +1 or -1.
    double angle_ = 0.0;
    int direction_ = 1;
    bool tangentMode_ = false;
    bool showCosine_ = false;
    bool showCotangent_ = false;
    bool radianMode_ = true;
    // The pen of the full tan and cot graphs: the user's pen colour and width when the window
    // opens, black and 1 after the first tangent traces. Kept here so that the shared pen stays the
    // user's and a settings save never writes this one.
    TColor graphPenColor_ = 0;
    int graphPenWidth_ = 1;

    // The angle's bars under the graphs.
    QWidget* barsPanel_ = nullptr;
    QScrollBar* degreeBar_ = nullptr;
    QSlider* stepBar_ = nullptr;
    // Which functions are shown, and in which unit the angle is written.
    struct OptionControls {
        QRadioButton* sine = nullptr;
        QRadioButton* tangent = nullptr;
        BitCheckBox* cosine = nullptr;
        BitCheckBox* cotangent = nullptr;
        BitCheckBox* radians = nullptr;
    };
    OptionControls options_;
    ToggleSwitch* animationSwitch_ = nullptr;
};

} // namespace kurvex

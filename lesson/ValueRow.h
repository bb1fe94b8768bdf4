// One value of a lesson window with its controls: caption, number edit, reset button, scroll bar,
// optional range edits and an optional animation switch with its direction button.
#pragma once

#include "core/ValueBar.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QScrollBar;
class QToolButton;

namespace kurvex {

class LessonWindow;
class ToggleSwitch;

// The form component names of a row's controls; a control without a name is left out.
struct ValueRowNames {
    const char* caption = nullptr;
    const char* value = nullptr;
    const char* reset = nullptr;
    const char* bar = nullptr;
    const char* min = nullptr;
    const char* max = nullptr;
    const char* toggle = nullptr;
    const char* direction = nullptr;
};

// The shared variables a row shows and edits.
struct ValueRowBinding {
    double* value = nullptr;
    double* min = nullptr;
    double* max = nullptr;
    // What the reset button and a range without room return to.
    std::function<double()> startValue;
    std::function<ParamRange()> startRange;
    // The bar's grid for a range; by default positions 1..AnimationSteps.
    std::function<ValueBar(double min, double max)> barGrid;
    // A typed value moves the bar as the user would, so it snaps to the grid whenever the bar's
    // position changes; by default it keeps every digit.
    bool snapTypedValue = false;
    // The animation's step per frame, its sign the starting direction; the value moves by it whole
    // (a count of strips). 0: the value crosses its range in AnimationSteps frames.
    double wholeStep = 0.0;
    // The reset's start value stands as it is and the bar follows it, instead of the value
    // snapping to the bar's grid.
    bool resetKeepsValue = false;
    // A typed value beyond the range, and the value when a typed bound leaves it outside, is
    // pulled to the nearer end and shown; by default a typed value may lie beyond the range.
    bool keepValueInRange = false;
    // A typed bound that leaves no room (the maximum not above the minimum) is refused and the old
    // bound shown again; by default it is taken and checkRange() settles the range.
    bool refuseEmptyRange = false;
};

class ValueRow : public QWidget {
    Q_OBJECT
public:
    ValueRow(LessonWindow& window, const QString& caption, const ValueRowNames& names,
             ValueRowBinding binding, QWidget* parent);

    double value() const { return *binding_.value; }
    double min() const { return binding_.min != nullptr ? *binding_.min : 0.0; }
    double max() const { return binding_.max != nullptr ? *binding_.max : 1.0; }

    QLabel* captionLabel() const { return caption_; }
    QLineEdit* valueEdit() const { return value_; }
    QLineEdit* minEdit() const { return min_; }
    QLineEdit* maxEdit() const { return max_; }
    QScrollBar* bar() const { return bar_; }
    QToolButton* resetButton() const { return reset_; }
    ToggleSwitch* toggle() const { return toggle_; }
    QToolButton* directionButton() const { return direction_; }

    // The value and its range into their edits.
    void showValues();
    // A range without room becomes the start range.
    void checkRange();
    // Snap: the bar moves as the user would move it, so the value snaps to the grid (and barMoved
    // follows when the position changed); Keep: the value keeps every digit it has.
    enum class BarSync { Snap, Keep };
    void setBarFromValue(BarSync sync);
    ValueBar grid() const;

    // Steps of the animation of this row's value: before it advances, and after it was shown (the
    // window redraws there).
    std::function<void()> beforeAnimationStep;
    std::function<void()> afterAnimationStep;

signals:
    // The value took the bar's position (by the user, or a Snap that moved the bar).
    void barMoved();
    // A typed value was read; the bar follows without changing it.
    void valueEntered();
    // A typed bound was read into the range.
    void rangeEntered();
    // The row took its start value and range.
    void resetDone();

private:
    void buildLayout();
    void onBarChanged(int position);
    void onValueExit();
    void onRangeExit(QLineEdit* edit, double* bound);
    void pullValueIntoRange();
    void onReset();
    void onAnimationClicked();

    LessonWindow& window_;
    ValueRowBinding binding_;
    QLabel* caption_ = nullptr;
    QLineEdit* value_ = nullptr;
    QToolButton* reset_ = nullptr;
    QScrollBar* bar_ = nullptr;
    QLineEdit* min_ = nullptr;
    QLineEdit* max_ = nullptr;
    ToggleSwitch* toggle_ = nullptr;
    QToolButton* direction_ = nullptr;
    // Set while the row moves its bar without the value following it.
    bool keepValue_ = false;
};

} // namespace kurvex

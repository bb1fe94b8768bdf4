// The animation loop of the lesson windows: the running quantity, its switches, the direction and
// the Delay that keeps the window responsive between frames.
#pragma once

#include "lesson/LessonVariant.h"

#include <QPointer>

#include <functional>
#include <vector>

namespace kurvex {

class ToggleSwitch;

// One animated quantity: the loop runs while its switch is on.
struct AnimationTrack {
    // Guarded: a row, and with it its switch, may be deleted while its window stays open.
    QPointer<ToggleSwitch> toggle;
    // One pass: advance the value (AnimationLoop::advance), show it, redraw.
    std::function<void()> frame;
    // After the last pass, e.g. the value's scroll bar set from the value.
    std::function<void()> finished;
};

// Runs inside a switch's click handler and pumps events in delay(), so every other event of the
// window is handled between frames. A second switch takes the running loop over instead of nesting.
class AnimationLoop {
public:
    explicit AnimationLoop(DelayKind kind) : kind_(kind) {}

    // Waits as the delay kind says: A more than ms + 15, B more than ms (0: the pending events
    // once), None not at all. Sleeps in the event loop instead of spinning.
    void delay(int ms);

    // Every animation switch of the window, so that one turned on can turn the others off. A switch
    // leaves the list when it is destroyed.
    void registerSwitch(ToggleSwitch* s);
    // The registered switches that still exist.
    int switchCount() const;
    // Runs the loop with the track's quantity and the step until its switch is off. While a loop
    // runs, the track takes it over: the other switches go off and the old track's finished() runs.
    void run(AnimationTrack track, double step);
    // value += step / AnimationSteps; the direction turns at the ends of [min, max].
    void advance(double& value, double min, double max);
    // value += step, with the same turn at the ends (an animation whose step is already one frame's).
    void advanceByWholeStep(double& value, double min, double max);
    void reverse() { step_ = -step_; }
    // A new step for the running loop (after the range it sweeps changed).
    void setStep(double step) { step_ = step; }
    // Every switch off; a running loop ends after its pass.
    void stopAll();

    bool active() const { return active_; }
    double step() const { return step_; }

private:
    void waitMoreThan(int ms);
    // Drops the switches destroyed since they were registered.
    void forgetDestroyedSwitches();

    DelayKind kind_;
    std::vector<QPointer<ToggleSwitch>> switches_;
    AnimationTrack track_;
    double step_ = 0.0;
    bool active_ = false;
};

} // namespace kurvex

// The animation loop of the lesson windows and their Delay.
#include "lesson/AnimationLoop.h"

#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "platform/Ticks.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace kurvex {

void AnimationLoop::waitMoreThan(int ms)
{
    const std::int64_t start = GetTickCount();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    bool pumped = false;
    for (;;) {
        const std::int64_t left = ms + 1 - (GetTickCount() - start);
        if (left <= 0) {
            break;
        }
        timer.start(static_cast<int>(left));
        loop.exec();
        pumped = true;
    }
    if (!pumped) {
        QCoreApplication::processEvents();
    }
}

void AnimationLoop::delay(int ms)
{
    switch (kind_) {
    case DelayKind::A:
        waitMoreThan(ms + 15);
        return;
    case DelayKind::B:
        if (ms <= 0) {
            QCoreApplication::processEvents();
            return;
        }
        waitMoreThan(ms);
        return;
    case DelayKind::None:
        return;
    }
}

void AnimationLoop::forgetDestroyedSwitches()
{
    std::erase_if(switches_, [](const QPointer<ToggleSwitch>& s) { return s.isNull(); });
}

void AnimationLoop::registerSwitch(ToggleSwitch* s)
{
    forgetDestroyedSwitches();
    if (s != nullptr && std::find(switches_.begin(), switches_.end(), s) == switches_.end()) {
        switches_.emplace_back(s);
    }
}

int AnimationLoop::switchCount() const
{
    return static_cast<int>(std::count_if(switches_.begin(), switches_.end(),
                                          [](const QPointer<ToggleSwitch>& s) { return !s.isNull(); }));
}

void AnimationLoop::stopAll()
{
    forgetDestroyedSwitches();
    // A copy: a switch's handlers may delete or register switches.
    const std::vector<QPointer<ToggleSwitch>> switches = switches_;
    for (const QPointer<ToggleSwitch>& s : switches) {
        if (s != nullptr) {
            s->setChecked(false);
        }
    }
    AnimationRunning = false;
}

void AnimationLoop::advance(double& value, double min, double max)
{
    const int steps = std::max(1, AnimationSteps);
    value += step_ / steps;
    step_ = turnAround(value, step_, min, max);
}

void AnimationLoop::advanceByWholeStep(double& value, double min, double max)
{
    value += step_;
    step_ = turnAround(value, step_, min, max);
}

void AnimationLoop::run(AnimationTrack track, double step)
{
    registerSwitch(track.toggle);
    AnimationRunning = true;
    const std::vector<QPointer<ToggleSwitch>> switches = switches_; // as in stopAll()
    for (const QPointer<ToggleSwitch>& s : switches) {
        if (s != nullptr && s != track.toggle) {
            s->setChecked(false);
        }
    }
    step_ = step;
    if (active_) {
        // The running loop carries on with this quantity; the one it leaves gets its after-loop
        // step now, as when a nested loop had taken over.
        if (track_.toggle != track.toggle) {
            AnimationTrack left = std::exchange(track_, std::move(track));
            if (left.finished) {
                left.finished();
            }
        }
        return;
    }
    active_ = true;
    track_ = std::move(track);
    while (AnimationRunning) {
        if (track_.frame) {
            track_.frame();
        }
        if (track_.toggle == nullptr || !track_.toggle->Checked()) {
            AnimationRunning = false;
        }
        delay(AnimationDelay);
        // A window without a delay of its own must still let the switch be turned off.
        if (kind_ == DelayKind::None) {
            QCoreApplication::processEvents();
        }
    }
    active_ = false;
    AnimationTrack ended = std::exchange(track_, {});
    if (ended.finished) {
        ended.finished();
    }
}

} // namespace kurvex

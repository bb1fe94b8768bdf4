// Helpers of the frame benchmarks: each lesson window's heaviest animation or drag frame at
// 1920 x 1080, reported with the goal its issue set.
#pragma once

#include "lesson/LessonWindow.h"

#include <QSize>
#include <benchmark/benchmark.h>

#include <memory>

namespace kurvex::bench {

inline constexpr QSize kFrameSize(1920, 1080);

// A window of type W whose layers have the benchmark's size, drawn once; it lives as long as the
// process, as a window's layers stay allocated while it is open.
template <class W, class... Args> W& FrameWindow(Args&&... args)
{
    static W* window = [&] {
        auto* w = new W(std::forward<Args>(args)...);
        w->setFixedLayerSize(kFrameSize);
        w->refresh();
        return w;
    }();
    return *window;
}

// The goal of a frame in milliseconds, shown beside the measured time.
inline void ReportGoal(benchmark::State& state, double goalMs)
{
    state.counters["goal_ms"] = goalMs;
}

} // namespace kurvex::bench

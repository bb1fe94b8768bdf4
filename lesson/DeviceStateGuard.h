// Keeps the screen's drawing state across a print or export and puts it back on every path.
#pragma once

#include "core/Settings.h"
#include "platform/Canvas.h"

namespace kurvex {

// Saves Printing, DrawScale, the plot size and DrawCanvas; the destructor restores them, also
// when the picture code throws or a write fails half-way.
class DeviceStateGuard {
public:
    DeviceStateGuard()
        : printing_(Printing), drawScale_(DrawScale), plotWidth_(PlotWidth), plotHeight_(PlotHeight),
          canvas_(DrawCanvas)
    {
    }
    ~DeviceStateGuard()
    {
        Printing = printing_;
        DrawScale = drawScale_;
        PlotWidth = plotWidth_;
        PlotHeight = plotHeight_;
        DrawCanvas = canvas_;
    }
    DeviceStateGuard(const DeviceStateGuard&) = delete;
    DeviceStateGuard& operator=(const DeviceStateGuard&) = delete;

private:
    bool printing_;
    double drawScale_;
    int plotWidth_;
    int plotHeight_;
    Canvas* canvas_;
};

} // namespace kurvex

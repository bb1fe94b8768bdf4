// World-window operations of the lesson windows: start window, bounds check, zoom, pan, rubber band,
// and the turn-around of an animated value.
#pragma once

namespace kurvex {

// Four ends of a world window; the shared XMin..YMax are one such window.
struct WorldRect {
    double xMin = -7.0;
    double xMax = 7.0;
    double yMin = -7.0;
    double yMax = 7.0;
    bool operator==(const WorldRect&) const = default;
};

// The shared XMin, XMax, YMin, YMax as one value, and back.
WorldRect currentWorld();
void setWorld(const WorldRect& w);
// The start window: x1, x2, y1, y2 of IniSettings.
WorldRect startWorld();

// Bounds a window must keep; the sequences window has narrower spans than the others.
struct WorldLimits {
    double lowest = -10000.0;  // a minimum below becomes this
    double highest = 100000.0; // a maximum at or above becomes this
    double minSpanX = 0.0001;  // a span at or below falls back to the start window
    double maxSpanX = 1e7;     // a span at or above falls back to the start window
    double minSpanY = 0.0001;
    double maxSpanY = 1e7;
};

// Sets the four values to the start window.
void ResetWorld(double& xMin, double& xMax, double& yMin, double& yMax);
// Clamps the lower ends to limits.lowest and the upper ends to limits.highest, then replaces the
// whole window by the start window when a span leaves its limits, when a range is reversed or
// empty after the clamps, or when an end is not a number. True when it fell back.
bool CheckWorld(double& xMin, double& xMax, double& yMin, double& yMax, const WorldLimits& limits = {});
// Both on the shared XMin..YMax.
void ResetWorld();
bool CheckWorld(const WorldLimits& limits = {});

// Each side moves out by half the span (the spans double).
WorldRect zoomedOut(const WorldRect& w);
// Each side moves in by a quarter of the span (the spans halve).
WorldRect zoomedIn(const WorldRect& w);
// Moves both ends of a range by a tenth of its span; dirX, dirY are -1, 0 or +1.
WorldRect panned(const WorldRect& w, int dirX, int dirY);

// A rubber band zooms only when both of its sides exceed this many pixels.
constexpr int kMinBandPixels = 10;
bool bandZooms(int anchorX, int anchorY, int x, int y);
// The world window of a band between two pixel corners in either order, by the current mapping.
WorldRect bandToWorld(int anchorX, int anchorY, int x, int y);

// Direction of an animation after the value moved: back down at or above max, back up below min,
// else unchanged. Only the sign of step changes, so a value beyond its range returns to it.
double turnAround(double value, double step, double min, double max);

} // namespace kurvex

// The trigonometry lesson's settings: its animation step divisor, saving under the other lessons'
// world window, and its own print scale.
#pragma once

#include "core/PrintGeometry.h"
#include "core/WorldWindow.h"

#include <string>
#include <string_view>

namespace kurvex {

// "Animationsschritte": 1 to 20, anything else 2.
int TrigAnimationStepsFromText(std::string_view text);

// The world window the other lessons had when the trigonometry window opened.
WorldRect SavedWorld();

// Writes every setting with `inFile` as the world window and sets `afterwards` as the world window
// however the save ends. An empty text on success, else what could not be saved, in German.
std::string SaveSettingsWithWorld(const WorldRect& inFile, const WorldRect& afterwards);

// What the trigonometry print scale starts from: the screen plot and the print settings.
struct TrigPrintRequest {
    int plotWidth = 0;
    int plotHeight = 0;
    int plotLeft = 0;
    int plotTop = 0;
    int sizePercent = 100;
    double autoXTickStep = 0.0;
    double autoYTickStep = 0.0;
    double ySpan = 0.0;
};

// Turns the common print layout into the trigonometry window's: one x tick prints 0.5263 cm at
// 100 % (-π..2π and the circle then take 13.07 cm), y as usual, and DrawScale, the pen and font
// scale, is the y factor. The plot clip follows the new plot. A request without room changes
// nothing.
void ApplyTrigPrintScale(PrintLayout& layout, const TrigPrintRequest& request);

} // namespace kurvex

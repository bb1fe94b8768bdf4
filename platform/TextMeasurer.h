// Text measurement for canvases that cannot measure themselves (metafiles).
#pragma once

#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace kurvex {

// Sizes are in the units of the font's pixelHeight (metafile units at 96 dpi).
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Advance width of the whole text.
    virtual double width(const Font& font, const std::string& utf8) const = 0;
    // Line height of the font (ascent plus descent).
    virtual double height(const Font& font) const = 0;
    // Advance of each code point in order; their sum is close to width().
    virtual std::vector<double> advances(const Font& font, const std::string& utf8) const = 0;
};

} // namespace kurvex

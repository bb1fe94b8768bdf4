// Text measurement with Qt's font metrics at 96 dpi, for the metafile canvas.
#pragma once

#include "platform/TextMeasurer.h"

namespace kurvex {

// Needs a QGuiApplication. Measures exactly as a QtCanvas on a 96-dpi bitmap would draw.
class QtTextMeasurer : public TextMeasurer {
public:
    double width(const Font& font, const std::string& utf8) const override;
    double height(const Font& font) const override;
    std::vector<double> advances(const Font& font, const std::string& utf8) const override;
};

} // namespace kurvex

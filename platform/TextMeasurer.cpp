// Text measurement for canvases that cannot measure themselves (metafiles), plus a fixed-pitch fake.
#include "platform/TextMeasurer.h"

#include "platform/MetafileText.h"

namespace kurvex {

double FixedPitchMeasurer::width(const Font& font, const std::string& utf8) const
{
    return 0.6 * font.pixelHeight * static_cast<double>(DecodeUtf8(utf8).size());
}

double FixedPitchMeasurer::height(const Font& font) const
{
    return 1.2 * font.pixelHeight;
}

std::vector<double> FixedPitchMeasurer::advances(const Font& font, const std::string& utf8) const
{
    return std::vector<double>(DecodeUtf8(utf8).size(), 0.6 * font.pixelHeight);
}

} // namespace kurvex

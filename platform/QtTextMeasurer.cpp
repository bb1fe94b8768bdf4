// Text measurement with Qt's font metrics at 96 dpi, for the metafile canvas.
#include "platform/QtTextMeasurer.h"

#include "platform/QtCanvas.h"

#include <QFontMetricsF>
#include <QImage>

namespace kurvex {

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780; // 96 / 0.0254

// A device that only carries the resolution: metrics depend on it, not on its pixels.
const QImage& referenceDevice()
{
    static const QImage image = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
        img.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
        return img;
    }();
    return image;
}

} // namespace

double QtTextMeasurer::width(const Font& font, const std::string& utf8) const
{
    const QFontMetricsF fm(toQFont(font), &referenceDevice());
    return fm.horizontalAdvance(canvasText(font, utf8));
}

double QtTextMeasurer::height(const Font& font) const
{
    const QFontMetricsF fm(toQFont(font), &referenceDevice());
    return fm.height();
}

std::vector<double> QtTextMeasurer::advances(const Font& font, const std::string& utf8) const
{
    const QFontMetricsF fm(toQFont(font), &referenceDevice());
    const QString text = canvasText(font, utf8);
    std::vector<double> out;
    for (const char32_t cp : text.toUcs4()) {
        out.push_back(fm.horizontalAdvance(QString::fromUcs4(&cp, 1)));
    }
    return out;
}

} // namespace kurvex

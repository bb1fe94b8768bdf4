// Text measurement with Qt's font metrics at 96 dpi, for the metafile canvas.
#include "platform/QtTextMeasurer.h"

#include "platform/MetafileText.h"
#include "platform/QtCanvas.h"

#include <QFontMetricsF>
#include <QImage>

#include <algorithm>

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

QFont qtFont(const Font& f)
{
    QFont qf(QString::fromStdString(f.family));
    qf.setPixelSize(std::max(1, f.pixelHeight));
    qf.setBold(f.bold);
    qf.setItalic(f.italic);
    qf.setUnderline(f.underline);
    qf.setStrikeOut(f.strikeOut);
    return qf;
}

QString shownText(const Font& f, const std::string& utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return IsSymbolFont(f) ? symbolText(text) : text;
}

} // namespace

double QtTextMeasurer::width(const Font& font, const std::string& utf8) const
{
    const QFontMetricsF fm(qtFont(font), &referenceDevice());
    return fm.horizontalAdvance(shownText(font, utf8));
}

double QtTextMeasurer::height(const Font& font) const
{
    const QFontMetricsF fm(qtFont(font), &referenceDevice());
    return fm.height();
}

std::vector<double> QtTextMeasurer::advances(const Font& font, const std::string& utf8) const
{
    const QFontMetricsF fm(qtFont(font), &referenceDevice());
    const QString text = shownText(font, utf8);
    std::vector<double> out;
    for (const char32_t cp : text.toUcs4()) {
        out.push_back(fm.horizontalAdvance(QString::fromUcs4(&cp, 1)));
    }
    return out;
}

} // namespace kurvex

// Canvas painted with a QPainter: off-screen QImage bitmaps, widgets, printers.
#pragma once

#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

#include <optional>

class QImage;
class QPaintDevice;
class QPainterPath;

namespace kurvex {

// Pixels compose exactly (antialiasing off), so two layers can be ANDed and a not-xor rubber
// band erases itself. Pen modes other than Copy and the SrcAnd copy need a QImage target
// (raster ops exist only in Qt's raster engine); use QImage::Format_RGB32 bitmaps.
// Coordinates are logical pixels. On a device with a pixel ratio r (a HiDPI bitmap or widget),
// logical pixel x covers the device pixels from round(x * r) up to round((x + 1) * r); thin pens
// stay one device pixel wide there, wider pens, dashes, text and fills grow by r.
class QtCanvas : public Canvas {
public:
    // Paints on an off-screen bitmap; copyRect can read from such a canvas.
    explicit QtCanvas(QImage& image);
    // Paints on any device (a widget inside its paintEvent, a QPrinter).
    explicit QtCanvas(QPaintDevice& device);
    // Uses a painter someone else has begun (a print job spanning pages); it is not ended here.
    explicit QtCanvas(QPainter& painter);
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // The bitmap behind the canvas, or nullptr when it paints on another device.
    QImage* image() const { return image_; }
    QPaintDevice* device() const;
    // Whoever paints on the painter directly may change its transform or clip; the canvas sets its
    // own again (device pixels, window origin added by the canvas) before its next primitive.
    QPainter& painter()
    {
        geometryValid_ = false;
        stateValid_ = false;
        painterLent_ = true;
        return *painter_;
    }
    // Ends painting, so the device may be read or shown elsewhere; later calls draw nothing.
    void end();
    // A picture drawn scale times as large as on screen, for print or export, looks as the screen's
    // would at that size: hatches keep the screen's pitch times scale, and a styled pen no wider
    // than scale (a thin screen pen, scaled) keeps its dashes, scale times as long. 1 on screen.
    void setPictureScale(double scale);
    bool isActive() const;

    void lineTo(int x, int y) override;
    void polyline(const std::vector<Point>& pts) override;
    void polygon(const std::vector<Point>& pts) override;
    void rectangle(int left, int top, int right, int bottom) override;
    void ellipse(int left, int top, int right, int bottom) override;
    void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void fillRect(const Rect& r) override;
    void setPixel(int x, int y, TColor c) override;
    void textOut(int x, int y, const std::string& utf8) override;
    int textWidth(const std::string& utf8) const override;
    int textHeight(const std::string& utf8) const override;
    void copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op) override;

private:
    enum class Use { Stroke, Fill, StrokeAndFill };
    // Brings the painter in line with the canvas state before a primitive.
    void prepare(Use use);
    void applyGeometry();
    // Device pixel where logical coordinate v begins, window origin included.
    double deviceX(double x) const { return (x + windowOrigin().x) * ratio_; }
    double deviceY(double y) const { return (y + windowOrigin().y) * ratio_; }
    QPoint devicePoint(Point p) const;
    // Device pixels of the logical ones from (left, top) up to (right, bottom), not normalised.
    QRect deviceRect(const Rect& r) const;
    // Device pixels of the bitmap a primitive may write straight into (bitmap and clip), or nothing
    // when the bitmap can't be written directly.
    std::optional<QRect> directArea() const;
    // Writes a thin line of the copy mode (device pixels) straight into the bitmap: solid ones in
    // any direction, dotted ones along an axis; false when the painter has to draw it.
    bool lineOnImage(QPoint from, QPoint to);
    // The canvas font as drawn on this device.
    QFont deviceFont() const;
    QFontMetrics metrics() const;
    // A picture drawn larger than the screen's draws its hatch as lines of that scale: the paint
    // engines keep a hatch pattern at device pixels, which print as a tint.
    bool scaledHatch() const;
    void hatchArea(const QPainterPath& area);
    void drawArcOrPie(bool isPie, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);

    std::optional<QPainter> ownPainter_;
    QPainter* painter_ = nullptr;
    QImage* image_ = nullptr;
    // Device pixels per logical pixel: the target's pixel ratio, 1 on printers.
    double ratio_ = 1.0;
    bool geometryValid_ = false;
    Point appliedOrigin_;
    bool appliedHasClip_ = false;
    Rect appliedClip_;
    // Pen, brush and use last set up on the painter; valid only while nothing else changed them.
    bool stateValid_ = false;
    Use appliedUse_ = Use::Stroke;
    Pen appliedPen_;
    Brush appliedBrush_;
    // Set once the painter was handed out: its opacity or hints may differ from ours from then on.
    bool painterLent_ = false;
    double pictureScale_ = 1.0;
};

// Converts 0x00BBGGRR to a Qt colour.
QColor toQColor(TColor c);
// Text as a font with the symbol character set shows it: Latin letters become Greek ones.
QString symbolText(const QString& text);
// The Qt font of a canvas font, unsmoothed so that pixels compose exactly.
QFont toQFont(const Font& f);
// The characters a canvas shows for UTF-8 text in font f (symbolText for a symbol font).
QString canvasText(const Font& f, const std::string& utf8);

} // namespace kurvex

// Canvas painted with a QPainter: state mapping, GDI-like primitives, text and bitmap copies.
#include "platform/QtCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kurvex {

namespace {

// Qt's rasteriser works in 26.6 fixed point; coordinates beyond this would overflow it.
constexpr double kCoordLimit = 1 << 22;
// Lines are cut this far outside the device, so wide pens still reach the edge.
constexpr double kDeviceMargin = 64.0;

int clampCoord(int v)
{
    return static_cast<int>(std::clamp<double>(v, -kCoordLimit, kCoordLimit));
}

QPoint clampPoint(Point p)
{
    return {clampCoord(p.x), clampCoord(p.y)};
}

// Dash patterns of the platform's cosmetic pens, in pixels.
QList<qreal> dashPattern(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash:
        return {18, 6};
    case PenStyle::Dot:
        return {3, 3};
    case PenStyle::DashDot:
        return {9, 6, 3, 6};
    case PenStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

Qt::BrushStyle hatchStyle(BrushStyle s)
{
    switch (s) {
    case BrushStyle::Horizontal:
        return Qt::HorPattern;
    case BrushStyle::Vertical:
        return Qt::VerPattern;
    case BrushStyle::FDiagonal:
        return Qt::BDiagPattern; // Qt names the direction of the rising stroke the other way
    case BrushStyle::BDiagonal:
        return Qt::FDiagPattern;
    case BrushStyle::Cross:
        return Qt::CrossPattern;
    case BrushStyle::DiagCross:
        return Qt::DiagCrossPattern;
    case BrushStyle::Solid:
        return Qt::SolidPattern;
    case BrushStyle::Clear:
        return Qt::NoBrush;
    }
    return Qt::NoBrush;
}

QPainter::CompositionMode compositionFor(PenMode m)
{
    switch (m) {
    case PenMode::NotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::Not:
        return QPainter::RasterOp_NotDestination;
    case PenMode::Copy:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

// Liang-Barsky: cuts the segment to the box; false when nothing of it lies inside.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, const QRectF& box)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{x1 - box.left(), box.right() - x1, y1 - box.top(), box.bottom() - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double ox = x1;
    const double oy = y1;
    x1 = ox + t0 * dx;
    y1 = oy + t0 * dy;
    x2 = ox + t1 * dx;
    y2 = oy + t1 * dy;
    return true;
}

} // namespace

QColor toQColor(TColor c)
{
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

QString symbolText(const QString& text)
{
    // Letters of the symbol font's encoding, a..z and A..Z.
    static const char16_t lower[] = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    static const char16_t upper[] = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    QString out = text;
    for (QChar& ch : out) {
        const char16_t u = ch.unicode();
        if (u >= u'a' && u <= u'z')
            ch = QChar(lower[u - u'a']);
        else if (u >= u'A' && u <= u'Z')
            ch = QChar(upper[u - u'A']);
    }
    return out;
}

QFont toQFont(const Font& f)
{
    QFont qf(QString::fromStdString(f.family));
    qf.setPixelSize(std::max(1, f.pixelHeight));
    qf.setBold(f.bold);
    qf.setItalic(f.italic);
    qf.setUnderline(f.underline);
    qf.setStrikeOut(f.strikeOut);
    qf.setStyleStrategy(QFont::NoAntialias);
    return qf;
}

QString canvasText(const Font& f, const std::string& utf8)
{
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return IsSymbolFont(f) ? symbolText(text) : text;
}

QtCanvas::QtCanvas(QImage& image) : image_(&image)
{
    ownPainter_.emplace(&image);
    painter_ = &*ownPainter_;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
}

QtCanvas::QtCanvas(QPaintDevice& device)
{
    ownPainter_.emplace(&device);
    painter_ = &*ownPainter_;
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(&painter)
{
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

QtCanvas::~QtCanvas()
{
    end();
}

QPaintDevice* QtCanvas::device() const
{
    if (image_)
        return image_;
    return painter_ ? painter_->device() : nullptr;
}

void QtCanvas::end()
{
    stateValid_ = false;
    if (ownPainter_ && ownPainter_->isActive())
        ownPainter_->end();
}

bool QtCanvas::isActive() const
{
    return painter_ && painter_->isActive();
}

void QtCanvas::applyGeometry()
{
    // Curves arrive as thousands of single lines; set transform and clip only when they change.
    if (geometryValid_ && appliedOrigin_ == windowOrigin() && appliedHasClip_ == hasClip() &&
        (!hasClip() || appliedClip_ == clipRect()))
        return;
    painter_->resetTransform();
    painter_->translate(windowOrigin().x, windowOrigin().y);
    if (hasClip()) {
        const Rect c = clipRect();
        painter_->setClipRect(QRect(c.left, c.top, c.width(), c.height()));
    } else {
        painter_->setClipping(false);
    }
    geometryValid_ = true;
    appliedOrigin_ = windowOrigin();
    appliedHasClip_ = hasClip();
    appliedClip_ = clipRect();
}

void QtCanvas::prepare(Use use)
{
    applyGeometry();
    const Pen& p = pen();
    const Brush& b = brush();
    // A curve is thousands of lines with one pen; building and setting a QPen each time is costly.
    if (stateValid_ && appliedUse_ == use && appliedPen_ == p && appliedBrush_ == b)
        return;
    const bool rasterOps =
        painter_->paintEngine() && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter_->setCompositionMode(rasterOps ? compositionFor(p.mode) : QPainter::CompositionMode_SourceOver);
    painter_->setBackgroundMode(Qt::TransparentMode);

    if (use == Use::Fill || p.style == PenStyle::Clear) {
        painter_->setPen(Qt::NoPen);
    } else {
        QPen qp(toQColor(p.color));
        qp.setWidth(std::max(0, p.width));
        // A wide pen is always solid; a thin one ends before its last pixel, as lines always have.
        const bool wide = p.width > 1;
        if (!wide && p.style != PenStyle::Solid)
            qp.setDashPattern(dashPattern(p.style));
        qp.setCapStyle(wide ? Qt::RoundCap : Qt::FlatCap);
        qp.setJoinStyle(wide ? Qt::RoundJoin : Qt::MiterJoin);
        painter_->setPen(qp);
    }

    if (use == Use::Stroke || b.style == BrushStyle::Clear)
        painter_->setBrush(Qt::NoBrush);
    else
        painter_->setBrush(QBrush(toQColor(b.color), hatchStyle(b.style)));

    // A borrowed painter may be changed by its owner between our calls.
    stateValid_ = ownPainter_.has_value();
    appliedUse_ = use;
    appliedPen_ = p;
    appliedBrush_ = b;
}

bool QtCanvas::dottedLineOnImage(Point from, Point to)
{
    const Pen& p = pen();
    if (!image_ || painterLent_ || p.width > 1 || p.style != PenStyle::Dot || p.mode != PenMode::Copy ||
        (from.x != to.x && from.y != to.y) || image_->devicePixelRatio() != 1.0)
        return false;
    // A window origin (the lower pane of a two-pane picture) only moves the line on the bitmap.
    const Point origin = windowOrigin();
    from = {from.x + origin.x, from.y + origin.y};
    to = {to.x + origin.x, to.y + origin.y};
    const QImage::Format format = image_->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return false;
    // bits() of a shared image would detach it from the buffer the painter writes into.
    if (!image_->isDetached())
        return false;
    QRect area = image_->rect();
    if (hasClip()) {
        const Rect c = clipRect();
        if (c.width() <= 0 || c.height() <= 0)
            return false;
        area &= QRect(c.left + origin.x, c.top + origin.y, c.width(), c.height());
    }

    uchar* const bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    const QRgb color = toQColor(p.color).rgb() | 0xFF000000u;
    const auto put = [&](int px, int py) { reinterpret_cast<QRgb*>(bits + stride * py)[px] = color; };
    if (from == to) {
        // The painter draws a line without length as a single point.
        if (area.contains(from.x, from.y))
            put(from.x, from.y);
        return true;
    }

    // The painter cuts a line one pixel outside the bitmap and counts its dots from the cut; it
    // covers the pixels from the start towards the end, except the end pixel, and a line running
    // left or up begins one pixel before its start.
    const int dx = (to.x > from.x) - (to.x < from.x);
    const int dy = (to.y > from.y) - (to.y < from.y);
    const Point start{dx == 0 ? from.x : std::clamp(from.x, -1, image_->width() + 1),
                      dy == 0 ? from.y : std::clamp(from.y, -1, image_->height() + 1)};
    const int length = (to.x - start.x) * dx + (to.y - start.y) * dy;
    const Point first{dx < 0 ? start.x - 1 : start.x, dy < 0 ? start.y - 1 : start.y};
    // Steps t along the line whose pixel lies in area.
    int tFirst = 0;
    int tLast = length - 1;
    const auto limit = [&](int begin, int step, int low, int high) {
        if (step == 0) {
            if (begin < low || begin > high)
                tLast = -1;
            return;
        }
        const int ta = (low - begin) * step;
        const int tb = (high - begin) * step;
        tFirst = std::max(tFirst, std::min(ta, tb));
        tLast = std::min(tLast, std::max(ta, tb));
    };
    limit(first.x, dx, area.left(), area.right());
    limit(first.y, dy, area.top(), area.bottom());

    // The platform's dot pen: three pixels on, three off.
    for (int t = tFirst; t <= tLast; ++t) {
        if (t % 6 < 3)
            put(first.x + t * dx, first.y + t * dy);
    }
    return true;
}

void QtCanvas::lineTo(int x, int y)
{
    const Point from = penPos();
    setPenPos({x, y});
    if (!isActive())
        return;
    double x1 = from.x, y1 = from.y, x2 = x, y2 = y;
    const QPaintDevice* dev = painter_->device();
    const QRectF box(-windowOrigin().x - kDeviceMargin, -windowOrigin().y - kDeviceMargin,
                     dev->width() + 2 * kDeviceMargin, dev->height() + 2 * kDeviceMargin);
    if (!box.contains(x1, y1) || !box.contains(x2, y2)) {
        if (!clipSegment(x1, y1, x2, y2, box))
            return;
    }
    const QLine line(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)),
                     static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2)));
    if (dottedLineOnImage({line.x1(), line.y1()}, {line.x2(), line.y2()}))
        return;
    prepare(Use::Stroke);
    painter_->drawLine(line);
}

void QtCanvas::polyline(const std::vector<Point>& pts)
{
    if (pts.size() < 2 || !isActive())
        return;
    const Point keep = penPos();
    // Segment by segment keeps the cutting of far points exact; the current position stays.
    const bool far = std::any_of(pts.begin(), pts.end(),
                                 [](Point p) { return std::abs(p.x) > 100000 || std::abs(p.y) > 100000; });
    if (far) {
        for (std::size_t i = 1; i < pts.size(); ++i) {
            setPenPos(pts[i - 1]);
            lineTo(pts[i].x, pts[i].y);
        }
        setPenPos(keep);
        return;
    }
    prepare(Use::Stroke);
    QPolygon poly;
    poly.reserve(static_cast<int>(pts.size()));
    for (const Point& p : pts)
        poly << QPoint(p.x, p.y);
    painter_->drawPolyline(poly);
}

void QtCanvas::polygon(const std::vector<Point>& pts)
{
    if (pts.size() < 2 || !isActive())
        return;
    prepare(Use::StrokeAndFill);
    QPolygon poly;
    poly.reserve(static_cast<int>(pts.size()));
    for (const Point& p : pts)
        poly << clampPoint(p);
    painter_->drawPolygon(poly, Qt::OddEvenFill);
}

void QtCanvas::rectangle(int left, int top, int right, int bottom)
{
    if (!isActive())
        return;
    prepare(Use::StrokeAndFill);
    const QPoint a = clampPoint({std::min(left, right), std::min(top, bottom)});
    const QPoint b = clampPoint({std::max(left, right), std::max(top, bottom)});
    // Right and bottom edges are outside; an aliased outline covers width + 1 columns.
    painter_->drawRect(QRect(a.x(), a.y(), b.x() - a.x() - 1, b.y() - a.y() - 1));
}

void QtCanvas::ellipse(int left, int top, int right, int bottom)
{
    if (!isActive())
        return;
    prepare(Use::StrokeAndFill);
    const QPoint a = clampPoint({std::min(left, right), std::min(top, bottom)});
    const QPoint b = clampPoint({std::max(left, right), std::max(top, bottom)});
    painter_->drawEllipse(QRect(a.x(), a.y(), b.x() - a.x() - 1, b.y() - a.y() - 1));
}

void QtCanvas::drawArcOrPie(bool isPie, int left, int top, int right, int bottom, int x3, int y3, int x4,
                            int y4)
{
    if (!isActive())
        return;
    prepare(isPie ? Use::StrokeAndFill : Use::Stroke);
    const QPoint a = clampPoint({std::min(left, right), std::min(top, bottom)});
    const QPoint b = clampPoint({std::max(left, right), std::max(top, bottom)});
    const QRectF box(a.x(), a.y(), b.x() - a.x() - 1, b.y() - a.y() - 1);
    const double cx = box.center().x();
    const double cy = box.center().y();
    const double rx = std::max(box.width() / 2.0, 0.5);
    const double ry = std::max(box.height() / 2.0, 0.5);
    // Qt's angles are those of the ellipse's parameter; y grows downwards on screen.
    const auto angleOf = [&](int px, int py) {
        return std::atan2(-(py - cy) / ry, (px - cx) / rx) * 180.0 / std::numbers::pi;
    };
    const double start = angleOf(x3, y3);
    double span = angleOf(x4, y4) - start;
    while (span <= 0.0)
        span += 360.0;
    if (x3 == x4 && y3 == y4)
        span = 360.0;
    const int a16 = static_cast<int>(std::lround(start * 16.0));
    const int s16 = static_cast<int>(std::lround(span * 16.0));
    if (isPie)
        painter_->drawPie(box, a16, s16);
    else
        painter_->drawArc(box, a16, s16);
}

void QtCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    drawArcOrPie(false, left, top, right, bottom, x3, y3, x4, y4);
}

void QtCanvas::pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    drawArcOrPie(true, left, top, right, bottom, x3, y3, x4, y4);
}

void QtCanvas::fillRect(const Rect& r)
{
    if (!isActive() || brush().style == BrushStyle::Clear)
        return;
    prepare(Use::Fill);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    stateValid_ = false;
    const QPoint a = clampPoint({std::min(r.left, r.right), std::min(r.top, r.bottom)});
    const QPoint b = clampPoint({std::max(r.left, r.right), std::max(r.top, r.bottom)});
    painter_->drawRect(QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y()));
}

void QtCanvas::setPixel(int x, int y, TColor c)
{
    if (!isActive())
        return;
    applyGeometry();
    stateValid_ = false;
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setPen(QPen(toQColor(c), 0));
    painter_->drawPoint(clampPoint({x, y}));
}

QFontMetrics QtCanvas::metrics() const
{
    const QPaintDevice* dev = device();
    return dev ? QFontMetrics(toQFont(font()), dev) : QFontMetrics(toQFont(font()));
}

void QtCanvas::textOut(int x, int y, const std::string& utf8)
{
    if (!isActive())
        return;
    applyGeometry();
    stateValid_ = false;
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setFont(toQFont(font()));
    const QFontMetrics fm = metrics();
    const QString text = canvasText(font(), utf8);
    const int w = fm.horizontalAdvance(text);
    const int h = fm.height();

    const unsigned align = textAlign();
    int left = 0;
    if ((align & TaCenter) == TaCenter)
        left = -w / 2;
    else if (align & TaRight)
        left = -w;
    int top = 0;
    if ((align & TaBaseline) == TaBaseline)
        top = -fm.ascent();
    else if (align & TaBottom)
        top = -h;

    painter_->translate(x, y);
    if (font().orientation != 0)
        painter_->rotate(-font().orientation / 10.0);
    if (bkMode() == BkMode::Opaque && brush().style == BrushStyle::Solid)
        painter_->fillRect(QRect(left, top, w, h), toQColor(brush().color));
    painter_->setPen(toQColor(font().color));
    painter_->drawText(QPoint(left, top + fm.ascent()), text);
    geometryValid_ = false; // the text moved and turned the painter
}

int QtCanvas::textWidth(const std::string& utf8) const
{
    return metrics().horizontalAdvance(canvasText(font(), utf8));
}

int QtCanvas::textHeight(const std::string&) const
{
    return metrics().height();
}

void QtCanvas::copyRect(const Rect& dest, const Canvas& source, const Rect& src, RasterOp op)
{
    const auto* from = dynamic_cast<const QtCanvas*>(&source);
    if (!from || !from->image_ || !isActive())
        return;
    applyGeometry();
    stateValid_ = false;
    const QRect srcRect(src.left, src.top, src.width(), src.height());
    const QRect destRect(dest.left, dest.top, dest.width(), dest.height());
    const bool rasterOps =
        painter_->paintEngine() && painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    if (rasterOps)
        painter_->setCompositionMode(op == RasterOp::SrcAnd ? QPainter::RasterOp_SourceAndDestination
                                                            : QPainter::CompositionMode_Source);
    if (from->image_ == image_)
        painter_->drawImage(destRect, image_->copy(srcRect));
    else
        painter_->drawImage(destRect, *from->image_, srcRect);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace kurvex

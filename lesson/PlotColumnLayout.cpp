// The plot's shape rule and the layout that keeps the plot box in that shape at every window size.
#include "lesson/PlotColumnLayout.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// A given width per height outside this range is taken as its nearest end; a broken one as square.
double givenRatio(const PicturePlan& plan)
{
    const double r = plan.widthPerHeight;
    return std::isfinite(r) ? std::clamp(r, 0.1, 10.0) : 1.0;
}

// About the width per height of the shape, to start the search for the height that fits a width.
double approximateRatio(const PicturePlan& plan)
{
    switch (plan.aspect) {
    case PlotAspect::FourToFive:
        return 0.8;
    case PlotAspect::HalfAsWide:
        return 0.5;
    case PlotAspect::Given:
        return givenRatio(plan);
    case PlotAspect::Square:
    case PlotAspect::Free:
        break;
    }
    return 1.0;
}

} // namespace

std::optional<int> PlotWidthForHeight(const PicturePlan& plan, int height)
{
    const int h = std::max(0, height);
    switch (plan.aspect) {
    case PlotAspect::Free:
        return std::nullopt;
    case PlotAspect::Square:
        return h;
    case PlotAspect::FourToFive:
        return h * 4 / 5;
    case PlotAspect::HalfAsWide:
        return h / 2;
    case PlotAspect::Given:
        return static_cast<int>(std::lround(h * givenRatio(plan)));
    }
    return std::nullopt;
}

QRect PlotRectInRoom(const PicturePlan& plan, QSize room)
{
    const int roomWidth = std::max(0, room.width());
    int height = std::max(0, room.height());
    const std::optional<int> wanted = PlotWidthForHeight(plan, height);
    if (!wanted) {
        return {0, 0, roomWidth, height};
    }
    if (*wanted > roomWidth) {
        // Too narrow a room: the highest plot whose width still fits.
        height = std::min(height, static_cast<int>(roomWidth / approximateRatio(plan)) + 2);
        while (height > 0 && *PlotWidthForHeight(plan, height) > roomWidth) {
            --height;
        }
    }
    const int width = *PlotWidthForHeight(plan, height);
    return {(roomWidth - width) / 2, (std::max(0, room.height()) - height) / 2, width, height};
}

PlotColumnLayout::PlotColumnLayout(const PicturePlan& plan, QWidget* plot, QWidget* below)
    : plan_(plan), plot_(std::make_unique<QWidgetItem>(plot)), below_(std::make_unique<QWidgetItem>(below))
{
    setContentsMargins(0, 0, 0, 0);
    addChildWidget(plot);
    addChildWidget(below);
}

PlotColumnLayout::~PlotColumnLayout() = default;

int PlotColumnLayout::belowHeight(int width) const
{
    if (!below_ || below_->isEmpty()) {
        return 0;
    }
    const int h = below_->hasHeightForWidth() ? below_->heightForWidth(width) : below_->sizeHint().height();
    return std::clamp(h, below_->minimumSize().height(), below_->maximumSize().height());
}

int PlotColumnLayout::roomWidthFor(int roomHeight) const
{
    const int plotHeight = std::max(0, roomHeight - belowHeight(geometry().width()));
    return PlotWidthForHeight(plan_, plotHeight).value_or(geometry().width());
}

void PlotColumnLayout::addItem(QLayoutItem* item)
{
    // The column holds exactly the plot and the panel below it.
    delete item;
}

int PlotColumnLayout::count() const
{
    return (plot_ ? 1 : 0) + (below_ ? 1 : 0);
}

QLayoutItem* PlotColumnLayout::itemAt(int index) const
{
    if (index == 0) {
        return plot_ ? plot_.get() : below_.get();
    }
    if (index == 1 && plot_) {
        return below_.get();
    }
    return nullptr;
}

QLayoutItem* PlotColumnLayout::takeAt(int index)
{
    if (index == 0 && plot_) {
        return plot_.release();
    }
    if ((index == 0 || index == 1) && below_) {
        return below_.release();
    }
    return nullptr;
}

QSize PlotColumnLayout::sizeHint() const
{
    const QSize plot = plot_ ? plot_->sizeHint() : QSize();
    return {plot.width(), plot.height() + belowHeight(plot.width())};
}

QSize PlotColumnLayout::minimumSize() const
{
    // Small enough for any window; the plot shrinks with its shape.
    constexpr int kSmallest = 60;
    const int width = std::max(kSmallest, below_ ? below_->minimumSize().width() : 0);
    return {width, kSmallest + belowHeight(width)};
}

void PlotColumnLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    // The panel's height may depend on its width, which is the plot's: settle it in two passes.
    int below = belowHeight(rect.width());
    QRect plot = PlotRectInRoom(plan_, {rect.width(), rect.height() - below});
    if (const int again = belowHeight(plot.width()); again != below) {
        below = again;
        plot = PlotRectInRoom(plan_, {rect.width(), rect.height() - below});
    }
    plot.translate(rect.topLeft());
    // The panel first: windows place its contents under the plot when the plot's size changes.
    if (below_ && !below_->isEmpty()) {
        below_->setGeometry({plot.left(), plot.bottom() + 1, plot.width(), below});
    }
    if (plot_) {
        plot_->setGeometry(plot);
    }
}

} // namespace kurvex

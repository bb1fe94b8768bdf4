// The plot's shape rule and the layout that keeps the plot box in that shape at every window size.
#pragma once

#include "lesson/LessonVariant.h"

#include <QLayout>
#include <QRect>

#include <memory>
#include <optional>

namespace kurvex {

// Width of a plot box of the given height in the plan's shape; nothing for a free shape.
std::optional<int> PlotWidthForHeight(const PicturePlan& plan, int height);

// The plot box's place in a room: as high as the room with the width its shape gives, or, where
// the room is too narrow for that, as wide as the room and as high as the shape allows; centred.
QRect PlotRectInRoom(const PicturePlan& plan, QSize room);

// Lays out the plot box with the panel below it (bars, status line, term) as one block in the
// plan's shape, centred in the room the window gives the column; the panel is as wide as the plot.
// The window's width follows the plot's (roomWidthFor), so the block fills the room unless the
// window manager or the screen decides the width, as for a maximised window.
class PlotColumnLayout : public QLayout {
public:
    explicit PlotColumnLayout(const PicturePlan& plan, QWidget* plot, QWidget* below);
    ~PlotColumnLayout() override;

    // The room width that the plot's shape wants in a room of the given height.
    int roomWidthFor(int roomHeight) const;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal | Qt::Vertical; }

private:
    // Height of the panel below the plot at the given width (0 while it is hidden).
    int belowHeight(int width) const;

    PicturePlan plan_;
    std::unique_ptr<QLayoutItem> plot_;
    std::unique_ptr<QLayoutItem> below_;
};

} // namespace kurvex

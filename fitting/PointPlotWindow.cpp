// Base of the fitting and regression windows: the plot's mouse and keys for the point editor.
#include "fitting/PointPlotWindow.h"

#include "fitting/PointEditor.h"
#include "lesson/PlotBox.h"

#include <QMouseEvent>

namespace kurvex {

PointPlotWindow::PointPlotWindow(const LessonVariant& variant, QWidget* owner)
    : LessonWindow(variant, owner), points_(new PointEditor(*this, rightPanel()))
{
    // Arrow keys and Del reach the points only while the plot has the focus, so a click gives it.
    plotBox()->setFocusPolicy(Qt::ClickFocus);
    connect(plotBox(), &PlotBox::mousePressed, this, &PointPlotWindow::onMiddlePress);
}

PointPlotWindow::~PointPlotWindow() = default;

void PointPlotWindow::plotPress(QMouseEvent* event)
{
    points_->press(event);
}

void PointPlotWindow::onMiddlePress(QMouseEvent* event)
{
    // The middle button places and grabs points as the left one does, but never zooms.
    if (event->button() == Qt::MiddleButton && !rubberBandEnabled()) {
        points_->press(event);
    }
}

void PointPlotWindow::plotMove(QMouseEvent* event)
{
    points_->move(event);
}

void PointPlotWindow::plotRelease(QMouseEvent*)
{
    points_->release();
}

void PointPlotWindow::plotRightClick(QMouseEvent*)
{
    if (rubberBandEnabled()) {
        openSettings();
        return;
    }
    points_->deleteSelected();
}

bool PointPlotWindow::windowKey(QKeyEvent* event)
{
    return points_->key(event);
}

} // namespace kurvex

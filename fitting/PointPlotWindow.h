// Base of the fitting and regression windows: a lesson window whose plot places, selects, drags
// and deletes points with the point editor while "Zoom" is off.
#pragma once

#include "lesson/LessonWindow.h"

namespace kurvex {

class PointEditor;

class PointPlotWindow : public LessonWindow {
    Q_OBJECT
public:
    PointPlotWindow(const LessonVariant& variant, QWidget* owner);
    ~PointPlotWindow() override;

    PointEditor& pointEditor() const { return *points_; }

protected:
    // Left and middle button place or grab a point, moves drag it or show the hover cursor; the
    // right button deletes the selected point, or opens the settings with "Zoom" on.
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void plotRelease(QMouseEvent* event) override;
    void plotRightClick(QMouseEvent* event) override;
    // Arrow keys and Del for the selected point while the plot has the focus.
    bool windowKey(QKeyEvent* event) override;

    // The editor's controls, for the window to lay out on its panel.
    PointEditor* const points_;

private:
    void onMiddlePress(QMouseEvent* event);
};

} // namespace kurvex

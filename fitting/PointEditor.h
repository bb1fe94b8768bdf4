// Point editing of the fitting and regression windows: points placed, selected, dragged and deleted
// with the mouse, moved with the arrow keys or typed into the coordinate edits, snapped to a grid,
// with their colours and marker shapes. One component with its controls, shared by both windows.
#pragma once

#include "core/PlotPoints.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QSlider;
class QToolButton;

namespace kurvex {

class ColorButton;
class LessonWindow;
class LineStyleComboBox;

class PointEditor : public QWidget {
    Q_OBJECT
public:
    // window: the lesson window on whose plot the points lie.
    PointEditor(LessonWindow& window, QWidget* parent);

    const std::vector<PlotPoint>& points() const { return points_; }
    // The selected point's index, or -1; an index beyond the list counts as none everywhere.
    int selected() const { return hasSelection() ? selected_ : -1; }
    bool hasSelection() const;
    int snapMode() const { return snapMode_; }
    TColor pointColor() const;
    TColor selectedPointColor() const;

    // A new point at the world position, snapped, in the point colour and marker shape, selected;
    // false (nothing changes) when the list is full.
    bool addPoint(double x, double y);
    // All points replaced by these (not snapped); select is the index to select, or none to keep
    // the selection index as it was.
    void setPoints(const std::vector<DataPoint>& points, std::optional<int> select);
    // "Entf": the selected point goes, and the one before it is selected.
    void deleteSelected();
    // "Neu": every point goes.
    void deleteAll();

    // The window's plot hooks while "Zoom" is off: a left or middle press selects the point under
    // the pointer (which may then be dragged) or adds one; a move drags or shows the hover cursor.
    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release();
    // Arrow keys move the selected point by one arrow step, Del deletes it; only while the plot
    // has the focus. True when the key was taken.
    bool key(QKeyEvent* event);

    // The markers on DrawCanvas, each followed by after(point, pixel) in the marker's pen.
    void paint(const std::function<void(const PlotPoint&, Point)>& after = {}) const;
    // Marker shape of new points back to the filled disk (the window does it when it refreshes).
    void resetMarkerStyle();

signals:
    // The points or the selection changed: the window redraws and fits again.
    void pointsChanged();
    // A point colour changed: the window redraws everything.
    void coloursChanged();

private:
    void buildControls();
    void onSnapMode(int mode);
    void onCoordinatesEntered();
    void showCoordinates();
    // The hit point under a pixel of the plot, the last drawn first; -1 for none.
    int pointAt(QPointF pixel) const;
    void setHoverCursor(bool overPoint);

    LessonWindow& window_;
    std::vector<PlotPoint> points_;
    int selected_ = -1;
    int snapMode_ = kSnapModeFirst;
    // A press on a point started a drag; a press that added a point did not.
    bool dragging_ = false;

    ColorButton* pointColour_ = nullptr;
    ColorButton* selectedColour_ = nullptr;
    LineStyleComboBox* markerStyle_ = nullptr;
    QSlider* snapBar_ = nullptr;
    QLabel* snapCaption_ = nullptr;
    QLineEdit* xEdit_ = nullptr;
    QLineEdit* yEdit_ = nullptr;
    QToolButton* deleteButton_ = nullptr;
    QToolButton* clearButton_ = nullptr;
};

} // namespace kurvex

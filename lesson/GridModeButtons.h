// The three grid buttons of the windows that offer the grid beside the plot: axes alone, dotted
// grid, solid grid (the shared GridMode 1, 2, 3).
#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QToolButton;

namespace kurvex {

class GridModeButtons : public QWidget {
    Q_OBJECT
public:
    explicit GridModeButtons(QWidget* parent);

    // Presses the button of the current GridMode.
    void showMode();

signals:
    // GridMode was set by a click: the coordinate system changes.
    void changed();

private:
    QButtonGroup* group_ = nullptr;
    std::array<QToolButton*, 3> buttons_{};
};

} // namespace kurvex

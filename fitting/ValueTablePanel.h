// The value table "Wertetabelle" of the fitting window: a panel over the plot with 100 rows of x
// and y, cells that take constant expressions, and its buttons "löschen" and "zurück".
#pragma once

#include "core/PlotPoints.h"
#include "fitting/PlotOverlayPanel.h"

#include <QTableWidget>

#include <vector>

namespace kurvex {

// The grid: "." types ",", Enter moves from x to y and on to the next row, Del empties a cell,
// Esc cancels an edit and never closes the window. A committed cell keeps its value's text, or
// nothing when it holds no valid number.
class ValueTable : public QTableWidget {
    Q_OBJECT
public:
    explicit ValueTable(QWidget* parent);

    // The cell after the current one for Enter: y of the same row, or x of the next (the first
    // after the last).
    void moveAfterEnter();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class ValueTablePanel : public PlotOverlayPanel {
    Q_OBJECT
public:
    // parent: the plot box the panel is shown over.
    explicit ValueTablePanel(QWidget* parent);

    ValueTable* table() const { return table_; }
    // Rows from the points in their order (at most the table's 100); the rows after them emptied,
    // so that no deleted point comes back.
    void fill(const std::vector<DataPoint>& points);
    // The points of the rows whose two cells both hold a number, in row order.
    std::vector<DataPoint> rows() const;
    // Shown in the middle of the plot with the cursor in the first x cell.
    void showCentred();

signals:
    // "zurück": the window takes the rows as its points.
    void backRequested();

private:
    void clearRows(int from);

    ValueTable* table_ = nullptr;
};

} // namespace kurvex

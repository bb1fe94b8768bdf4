// Bisection step table (TForm14): the whole run replayed from the start interval, one row per step.
#pragma once

#include "core/term/Term.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace kurvex {

// What the table replays: the window's term and start interval, its bound and decimals.
struct BisectionTableInput {
    TermTree term;
    double startA = 0.0;
    double startB = 0.0;
    double tolerance = 0.00001;
    int decimals = 5;
};

class BisectionTableDialog : public QDialog {
    Q_OBJECT
public:
    BisectionTableDialog(BisectionTableInput input, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }

private:
    void fillRows();
    void fitToRows();
    // Width of column c: room for its widest cell.
    int columnWidth(int c) const;

    BisectionTableInput input_;
    QTableWidget* table_ = nullptr;
    QPushButton* continueButton_ = nullptr;
};

} // namespace kurvex

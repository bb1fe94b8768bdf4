// Bisection window (TForm13) "Bisektion  -  Berechnung einer Nullstelle mit Hilfe fortgesetzter
// Intervallhalbierung": a start interval picked on the plot or typed, halved step by step until it
// is shorter than the error bound, with its band, bars, status line and result.
#pragma once

#include "core/Bisection.h"
#include "lesson/LessonWindow.h"
#include "lessons/BisectionTableDialog.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ExampleListPanel;
class TermField;

class BisectionWindow : public LessonWindow {
    Q_OBJECT
public:
    explicit BisectionWindow(QWidget* owner = nullptr);

    static LessonVariant windowVariant();

    // A new start interval, as a drag on the plot leaves it: the run starts again.
    void pickStartInterval(double a, double b);
    // "Wiederhole": one halving, or the result once the interval is short enough.
    void makeStep();
    // What "Tabelle anzeigen" replays.
    BisectionTableInput tableInput() const;

    double intervalA() const { return a_; }
    double intervalB() const { return b_; }
    int stepCount() const { return steps_; }
    double tolerance() const { return tolerance_; }
    int decimals() const { return decimals_; }

protected:
    void setAxisCaptions(int pane) override;
    void paintCoordinateSystem(int pane) override;
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;
    void plotPress(QMouseEvent* event) override;
    void plotMove(QMouseEvent* event) override;
    void plotRelease(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closing() override;

private:
    // BisectionLayout.cpp
    void buildTerm();
    void buildRule();
    void buildStepControls();
    void buildOptions();
    void buildExamples();
    void connectControls();

    // BisectionWindow.cpp
    CurveValueFunction function() const;
    // a and b back to the start values, no step made, "Wiederhole" ready.
    void restart();
    void onStartValueEntered(QLineEdit* edit, double& start);
    void onDecimalsEntered();
    void onTermChanged();
    void onFetchExample(const std::string& term);
    void showTable();
    // The start values in their edits, except in one that is being typed into.
    void showStartValues();
    void showStatus();
    // Status line and picture after the state changed.
    void redraw();

    // BisectionDrawing.cpp
    void drawBand();
    void drawHelpLines();
    void drawPointLabels();
    void drawBars();

    double a_ = 0.0;
    double b_ = 0.0;
    double startA_ = 0.0;
    double startB_ = 0.0;
    int decimals_ = 5;
    double tolerance_ = 0.00001;
    int steps_ = 0;
    bool intervalDragging_ = false;
    bool showHelpLines_ = false;
    bool showPointLabels_ = false;
    TColor sameSignColour_ = clRed;
    TColor signChangeColour_ = clLime;

    // What the user gives: term, start values and decimals.
    TermField* term_ = nullptr;
    QLineEdit* startAEdit_ = nullptr;
    QLineEdit* startBEdit_ = nullptr;
    QLineEdit* decimalsEdit_ = nullptr;
    // What the run shows.
    QLabel* toleranceLabel_ = nullptr;
    QPushButton* stepButton_ = nullptr;
    QToolButton* tableButton_ = nullptr;
    QLabel* resultLabel_ = nullptr;
    QLabel* statusLine_ = nullptr;
    // How the picture looks, and the examples.
    ColorButton* sameSignButton_ = nullptr;
    ColorButton* signChangeButton_ = nullptr;
    BitCheckBox* helpLinesBox_ = nullptr;
    BitCheckBox* labelsBox_ = nullptr;
    ExampleListPanel* examples_ = nullptr;
};

} // namespace kurvex

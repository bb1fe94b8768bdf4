// Linear-regression window (TForm40) "Lineare - Regression": the user moves a line y = m x + c over
// points placed with the mouse and compares its sum of squared errors with the regression line's.
#pragma once

#include "core/PlotPoints.h"
#include "core/RegressionLine.h"
#include "fitting/FitDriver.h"
#include "fitting/PointPlotWindow.h"
#include "lesson/ValueRow.h"

#include <optional>

class QLabel;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class GridModeButtons;
class ValueRow;

class RegressionWindow : public PointPlotWindow {
    Q_OBJECT
public:
    explicit RegressionWindow(QWidget* owner = nullptr);
    ~RegressionWindow() override;

    static LessonVariant windowVariant();

    // The user's line: Slope m and Intercept c.
    LineCoefficients userLine() const { return {slope_, intercept_}; }
    // The last redraw's fit of the regression line and the two sums: the user's line's, and the
    // smallest any line reaches (none for fewer than two points).
    const FitOutcome& lastFit() const { return fit_; }
    double userSquareSum() const { return userSquareSum_; }
    std::optional<double> minimumSquareSum() const { return minimumSquareSum_; }

protected:
    void paintForeground(int pane) override;
    void refreshControls() override;

private:
    // RegressionLayout.cpp
    void buildHeading();
    void buildPointControls();
    void buildLineRows();
    void buildDisplayOptions();
    void buildSums();
    void buildResultLabel();
    void connectControls();
    ValueRow* addLineRow(const QString& caption, const ValueRowNames& names, double& value, double& min,
                         double& max);

    // RegressionDrawing.cpp
    // The check and the fit of the regression line, the result label and the fitted term.
    void fitLine();
    // The squares over the deviations and the deviation lines, point by point.
    void drawDeviations(const std::vector<DataPoint>& points);
    void showSums();

    GridModeButtons* gridButtons_ = nullptr;
    QToolButton* deleteButton_ = nullptr;
    ValueRow* slopeRow_ = nullptr;
    ValueRow* interceptRow_ = nullptr;
    BitCheckBox* userLineBox_ = nullptr;
    ColorButton* userLineColour_ = nullptr;
    BitCheckBox* deviationsBox_ = nullptr;
    ColorButton* deviationColour_ = nullptr;
    BitCheckBox* squaresBox_ = nullptr;
    ColorButton* squareColour_ = nullptr;
    BitCheckBox* regressionBox_ = nullptr;
    ColorButton* regressionColour_ = nullptr;
    QLabel* userSumLabel_ = nullptr;
    QLabel* minimumSumLabel_ = nullptr;
    QLabel* resultLabel_ = nullptr;

    // Slope, SlopeMin, SlopeMax, Intercept, InterceptMin, InterceptMax.
    double slope_ = 1.0;
    double slopeMin_ = -10.0;
    double slopeMax_ = 10.0;
    double intercept_ = 0.0;
    double interceptMin_ = -10.0;
    double interceptMax_ = 10.0;

    FitOutcome fit_;
    // Why no regression line is shown; kept from the last refusal, empty at first.
    std::string fitMessage_;
    double userSquareSum_ = 0.0;
    std::optional<double> minimumSquareSum_;
};

} // namespace kurvex

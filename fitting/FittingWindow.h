// Fitting window (TForm30) "Dynamische Funktionsanpassung": ten models fitted live to points placed
// with the mouse, typed into the value table or read from a point file, with f', f'', special
// points and the deviations of the points from the curve.
#pragma once

#include "core/FitCheck.h"
#include "core/term/Term.h"
#include "fitting/FitDriver.h"
#include "fitting/PointPlotWindow.h"

#include <array>
#include <optional>
#include <string>

class QButtonGroup;
class QLabel;
class QSpinBox;
class QToolButton;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class GridModeButtons;
class LineWidthComboBox;
class ReportPanel;
class TermLabel;
class ValueTablePanel;

class FittingWindow : public PointPlotWindow {
    Q_OBJECT
public:
    explicit FittingWindow(QWidget* owner = nullptr);
    ~FittingWindow() override;

    static LessonVariant windowVariant();

    ValueTablePanel& valueTable() const { return *table_; }
    ReportPanel& reportPanel() const { return *report_; }
    // The model of the pressed model button (RegModel).
    int selectedModel() const;
    // The fit of the last redraw.
    const FitOutcome& lastFit() const { return fit_; }

    // ---- Handlers, public for the tests ----
    void saveValueTable();
    void loadValueTable();
    void showValueTable();
    void takeValueTable();
    void openStartValues();
    // SpeedButton4: the report of the fit in the report panel.
    void showReport();
    // "MS Word": the report and the graph as a document, opened for the user.
    void exportReportDocument();

protected:
    void paintForeground(int pane) override;
    std::optional<double> curveValue(double x) override;
    void refreshControls() override;

private:
    // FittingLayout.cpp
    void buildModelPanel();
    void buildPointPanel();
    void buildDisplayOptions();
    void buildResultLabel();
    void connectControls();

    // Handlers
    void onModelClicked();
    void onDegreeChanged();
    FitDegrees degrees() const;

    // FittingReport.cpp
    // Fits again and writes the fit's report into the panel (emptied for a refused fit); false,
    // with the panel untouched, when the points fail the model's check.
    bool writeReport();

    // FittingDrawing.cpp
    // The check, the fit and the result label; the fitted term compiled for drawing.
    void fitPoints();
    void drawDerivative(int order, TColor colour, int width);
    void drawSpecialPoints();
    void drawDeviation(const PlotPoint& point, Point pixel);

    ValueTablePanel* table_ = nullptr;
    QButtonGroup* models_ = nullptr;
    QSpinBox* polynomialDegree_ = nullptr;
    QSpinBox* numeratorDegree_ = nullptr;
    QSpinBox* denominatorDegree_ = nullptr;
    QToolButton* startValuesButton_ = nullptr;
    QToolButton* tableButton_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QToolButton* loadButton_ = nullptr;
    QToolButton* reportButton_ = nullptr;
    ReportPanel* report_ = nullptr;
    ColorButton* curveColour_ = nullptr;
    LineWidthComboBox* curveWidth_ = nullptr;
    BitCheckBox* firstDerivativeBox_ = nullptr;
    ColorButton* firstDerivativeColour_ = nullptr;
    LineWidthComboBox* firstDerivativeWidth_ = nullptr;
    BitCheckBox* secondDerivativeBox_ = nullptr;
    ColorButton* secondDerivativeColour_ = nullptr;
    LineWidthComboBox* secondDerivativeWidth_ = nullptr;
    BitCheckBox* highPointsBox_ = nullptr;
    ColorButton* highPointColour_ = nullptr;
    BitCheckBox* lowPointsBox_ = nullptr;
    ColorButton* lowPointColour_ = nullptr;
    BitCheckBox* inflectionPointsBox_ = nullptr;
    ColorButton* inflectionPointColour_ = nullptr;
    BitCheckBox* deviationsBox_ = nullptr;
    GridModeButtons* gridButtons_ = nullptr;
    TermLabel* resultLabel_ = nullptr;

    FitOutcome fit_;
    // The last reason shown in red for not fitting.
    std::string fitMessage_;
    // Whether the points of the last fit passed the model's check.
    bool checkPassed_ = false;
    // FitTermText compiled; the curve, f', f'', special points and deviations are drawn from it.
    TermTree fitTerm_;
    // 0 while the curve is drawn, 1 or 2 while a derivative is.
    int derivativeOrder_ = 0;
};

} // namespace kurvex

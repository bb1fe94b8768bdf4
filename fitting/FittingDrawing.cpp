// Fitting window (TForm30): the fit at every redraw, the curve with its derivatives and special
// points, the points and their deviations from the curve.
#include "fitting/FittingWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/CurvePointSearch.h"
#include "core/Decorations.h"
#include "core/Settings.h"
#include "fitting/PointEditor.h"
#include "lesson/TermLabel.h"
#include "platform/VectorState.h"

#include <QButtonGroup>
#include <QLabel>
#include <QToolButton>

#include <cmath>

namespace kurvex {

namespace {

constexpr int kSpecialPointMarker = 4;
const QString kBlackText = QStringLiteral("color: #000000;");
const QString kRedText = QStringLiteral("color: #ff0000;");

} // namespace

void FittingWindow::fitPoints()
{
    RegModel = selectedModel();
    const FitDegrees d = degrees();
    ClearUpperVectorState();
    const FitDataCheck check = CheckFitData(points_->points(), RegModel, d);
    startValuesButton_->setEnabled(check.startValuesAvailable);
    checkPassed_ = check.passed;
    if (check.passed) {
        fit_ = FitPoints(RegModel, d, check.sorted, ResultDigits);
    } else {
        fit_ = FitOutcome{};
        fit_.message = check.message;
    }
    // Fewer than two points have no message of their own: the label keeps the last one, and stays
    // empty until the first check of two points.
    if (!fit_.shown && (check.passed || points_->points().size() >= 2)) {
        fitMessage_ = fit_.message;
    }
    if (fit_.shown) {
        resultLabel_->setStyleSheet(kBlackText);
        QStringList lines;
        for (const std::string& line : fit_.texts.labelLines()) {
            lines << QString::fromStdString(line);
        }
        resultLabel_->setTermLines(lines);
        FitTermText = TransferFitTerm ? fit_.texts.parserTerm : std::string();
    } else {
        resultLabel_->setStyleSheet(kRedText);
        resultLabel_->setMessage(QString::fromStdString(fitMessage_));
        FitTermText.clear();
    }
    // Written by the program at full precision; an empty text draws y = 0.
    CompileTermSilently(fitTerm_, FitTermText, true);
}

std::optional<double> FittingWindow::curveValue(double x)
{
    // The plotter paints between the samples.
    ClearUpperVectorState();
    const double y = EvaluateDerivative(fitTerm_, derivativeOrder_, x, 0, 0, 0, 0, 0, 0);
    if (!EvalOk || !std::isfinite(y)) {
        return std::nullopt;
    }
    return y;
}

void FittingWindow::drawDerivative(int order, TColor colour, int width)
{
    derivativeOrder_ = order;
    drawCurve([this](double x) { return curveValue(x); }, XMin, XMax, colour, width);
    derivativeOrder_ = 0;
}

void FittingWindow::drawDeviation(const PlotPoint& point, Point pixel)
{
    derivativeOrder_ = 0;
    const std::optional<double> y = curveValue(point.x);
    if (!y) {
        return;
    }
    DrawCanvas->moveTo(pixel.x, pixel.y);
    DrawCanvas->lineTo(pixel.x, PixelOf(point.x, *y).y);
}

void FittingWindow::drawSpecialPoints()
{
    const SpecialPointKinds kinds{highPointsBox_->Checked(), lowPointsBox_->Checked(),
                                  inflectionPointsBox_->Checked()};
    if (!kinds.high && !kinds.low && !kinds.inflection) {
        return;
    }
    const SpecialPointStyle style{highPointColour_->SelectionColor(), lowPointColour_->SelectionColor(),
                                  inflectionPointColour_->SelectionColor(), kSpecialPointMarker};
    derivativeOrder_ = 0;
    MarkSpecialPoints([this](double x) { return curveValue(x); }, XMin, XMax, SignVariant::ZeroPositive,
                      kinds, style);
}

void FittingWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    CurveColor = GraphColor;
    fitPoints();
    derivativeOrder_ = 0;
    drawCurve();
    if (deviationsBox_->Checked() && fit_.shown) {
        points_->paint([this](const PlotPoint& p, Point pixel) { drawDeviation(p, pixel); });
    } else {
        points_->paint();
    }
    if (firstDerivativeBox_->Checked()) {
        drawDerivative(1, firstDerivativeColour_->SelectionColor(), firstDerivativeWidth_->LineWidth());
    }
    if (secondDerivativeBox_->Checked()) {
        drawDerivative(2, secondDerivativeColour_->SelectionColor(), secondDerivativeWidth_->LineWidth());
    }
    drawSpecialPoints();
}

} // namespace kurvex

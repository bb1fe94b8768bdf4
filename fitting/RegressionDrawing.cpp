// Linear-regression window (TForm40): the regression line fitted at every redraw, the squares and
// deviations of the user's line, the points, the two sums and the user's line.
#include "fitting/RegressionWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "core/Decorations.h"
#include "core/FitCheck.h"
#include "core/FitTerm.h"
#include "core/Settings.h"
#include "fitting/PointEditor.h"
#include "platform/VectorState.h"

#include <QLabel>

namespace kurvex {

namespace {

const QString kBlackText = QStringLiteral("color: #000000;");
const QString kRedText = QStringLiteral("color: #ff0000;");
// Pen width of the deviation lines before scaling.
constexpr double kDeviationWidth = 3.0;

CurveFunction lineFunction(LineCoefficients line)
{
    return [line](double x) -> std::optional<double> { return line.slope * x + line.intercept; };
}

} // namespace

void RegressionWindow::fitLine()
{
    RegModel = kRegLine;
    ClearUpperVectorState();
    const std::vector<DataPoint> sorted = SortedByX(points_->points());
    // Fewer than two points fit nothing and leave the last refusal's message standing.
    fit_ = sorted.size() >= 2 ? FitPoints(kRegLine, {}, sorted, ResultDigits) : FitOutcome{};
    if (sorted.size() >= 2 && !fit_.shown) {
        fitMessage_ = fit_.message;
    }
    if (fit_.shown) {
        resultLabel_->setStyleSheet(kBlackText);
        resultLabel_->setText(regressionBox_->Checked() ? QString::fromStdString(fit_.texts.label())
                                                        : QString());
        FitTermText = TransferFitTerm ? fit_.texts.parserTerm : std::string();
    } else {
        resultLabel_->setStyleSheet(kRedText);
        resultLabel_->setText(QString::fromStdString(fitMessage_));
        FitTermText.clear();
    }
}

void RegressionWindow::drawDeviations(const std::vector<DataPoint>& points)
{
    const bool squares = squaresBox_->Checked() && fit_.shown;
    const bool deviations = deviationsBox_->Checked() && fit_.shown;
    if (!squares && !deviations) {
        return;
    }
    Canvas& c = *DrawCanvas;
    const Pen squarePen{squareColour_->SelectionColor(), ScaledSize(LineWidth), PenStyle::Solid,
                        PenMode::Copy};
    const Brush squareBrush{squareColour_->SelectionColor(), BrushStyle::Solid};
    const Pen deviationPen{deviationColour_->SelectionColor(), ScaledSize(kDeviationWidth), PenStyle::Solid,
                           PenMode::Copy};
    for (const DataPoint& p : points) {
        const double u = slope_ * p.x + intercept_;
        const double d = u - p.y;
        const Point at = PixelOf(p.x, p.y);
        // The square over the deviation: |d| wide in x units and |d| high in y units.
        const Point corner = PixelOf(p.x + d, u);
        if (squares) {
            c.setPen(squarePen);
            c.setBrush(squareBrush);
            c.rectangle(at.x, at.y, corner.x, corner.y);
        }
        if (deviations) {
            c.setPen(deviationPen);
            c.moveTo(at.x, at.y);
            c.lineTo(at.x, corner.y);
        }
    }
}

void RegressionWindow::showSums()
{
    userSumLabel_->setText(QString::fromStdString(SquareSumText(userSquareSum_)));
    minimumSumLabel_->setText(QString::fromStdString(SquareSumText(minimumSquareSum_)));
}

void RegressionWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    fitLine();
    std::vector<DataPoint> points;
    for (const PlotPoint& p : points_->points()) {
        points.push_back({p.x, p.y});
    }
    // The squares first: the regression line stays visible over them.
    drawDeviations(points);
    if (regressionBox_->Checked()) {
        // Without a fit the regression line is y = 0, as an empty fitted term draws.
        const LineCoefficients regression =
            fit_.shown ? LineCoefficients{fit_.params.at(1), fit_.params.at(0)} : LineCoefficients{};
        CurveColor = regressionColour_->SelectionColor();
        drawCurve(lineFunction(regression), XMin, XMax);
    }
    points_->paint();
    userSquareSum_ = SquaredErrorSum(points, userLine());
    minimumSquareSum_ = MinimumSquaredErrorSum(points);
    showSums();
    if (userLineBox_->Checked()) {
        CurveColor = userLineColour_->SelectionColor();
        drawCurve(lineFunction(userLine()), XMin, XMax);
    }
}

} // namespace kurvex

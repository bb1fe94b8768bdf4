// Upper-and-lower-sums window (TForm21): start, n and the interval, the strips drawn by display
// kind, the curve and the sums.
#include "lessons/StripSumsWindow.h"

#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "core/CoordinateSystem.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace kurvex {

LessonVariant StripSumsWindow::windowVariant()
{
    // Delay A, the curve every second pixel column, metafiles at twice the size, the page as the
    // print clip, a rubber band on every left drag, and Up and Down moving the focus.
    LessonVariant v;
    v.printClipToPage = true;
    v.rubberBand = RubberBandMode::Always;
    v.arrowKeys = ArrowKeys::MoveFocus;
    v.picture.aspect = PlotAspect::Square;
    return v;
}

StripSumsWindow::StripSumsWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    AutoTicks = true;
    LineWidth = 1;
    ShowScale = true;
    LoadSettings();
    if (!StripSumsTerm.empty()) {
        TermGeneral = StripSumsTerm;
    }

    setWindowTitle(QStringLiteral("Unter- und Obersumme"));
    buildCurveRows();
    buildIntervalRow();
    buildStripRow();
    buildKindRows();
    buildResultLabels();
    ShowNumber(aEdit_, intervalA_);
    ShowNumber(bEdit_, intervalB_);
    // The edit starts with the stored term, so the sums shown are always those of the term shown.
    termField_->load();
    rememberTerm();
    connectControls();
    resize(1125, 666);
}

// ---------------------------------------------------------------------------------------------
// Refresh, keys and handlers

void StripSumsWindow::refreshControls()
{
    stripRow_->showValues();
    stripRow_->setBarFromValue(ValueRow::BarSync::Keep);
    curveColourButton_->setSelectionColor(GraphColor);
    lineWidthBox_->setLineWidth(LineWidth);
    for (std::size_t i = 0; i < fillStyleBoxes_.size(); ++i) {
        fillStyleBoxes_[i]->setBrushColor(fillColourButtons_[i]->SelectionColor());
    }
}

bool StripSumsWindow::panelRightClick(QMouseEvent*)
{
    // The control panel answers a right click as the plot does.
    openSettings();
    return true;
}

void StripSumsWindow::rememberTerm()
{
    if (termField_->valid()) {
        StripSumsTerm = TermGeneral;
    }
}

void StripSumsWindow::onStripCountEntered()
{
    // A typed n drives the strips' loop: it is kept within 0..10000 before anything is drawn.
    const double bounded = std::clamp(stripCount_, 0.0, static_cast<double>(kMaxStripCount));
    if (bounded != stripCount_) {
        stripCount_ = bounded;
        stripRow_->showValues();
        stripRow_->setBarFromValue(ValueRow::BarSync::Keep);
    }
    drawPicture();
}

void StripSumsWindow::onIntervalEntered(QLineEdit* edit, double& end)
{
    if (ReadNumberEdit(edit, end)) {
        drawPicture();
    }
}

int StripSumsWindow::kind() const
{
    for (std::size_t i = 0; i < kindButtons_.size(); ++i) {
        if (kindButtons_[i]->isChecked()) {
            return static_cast<int>(i) + 1;
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Drawing

std::optional<double> StripSumsWindow::curveValue(double x)
{
    const double y = EvaluateTerm(termField_->tree(), x, 0, 0, 0, 0, 0, 0);
    if (!EvalOk || !std::isfinite(y)) {
        return std::nullopt;
    }
    return y;
}

void StripSumsWindow::paintForeground(int)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    // One pixel column in world units: the sampling step inside a strip.
    const double h = PlotWidth > 0 ? (XMax - XMin) / PlotWidth : 0.0;
    const StripSums sums = ComputeStripSums([this](double x) { return curveValue(x); }, intervalA_,
                                            intervalB_, BoundedStripCount(stripCount_), h);
    drawStrips(sums);
    DrawCanvas->setBrushStyle(BrushStyle::Clear);
    DrawCanvas->setPenColor(clBlack);
    if (!Printing) {
        showSums(sums);
    }
    CurveColor = GraphColor;
    drawCurve();
}

namespace {

int clampedColumn(double x)
{
    return std::clamp(WorldToPixelX(x), PlotLeft, PlotWidth);
}

int clampedRow(double y)
{
    return std::clamp(WorldToPixelY(y), PlotTop, PlotHeight);
}

// A rectangle between two corners in either order, within the plot.
void plotRectangle(Canvas& c, int x1, int y1, int x2, int y2)
{
    c.rectangle(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

void fillWith(Canvas& c, TColor pen, TColor brush, BrushStyle style)
{
    c.setPen({pen, 1, PenStyle::Solid, PenMode::Copy});
    c.setBrush({brush, style});
}

} // namespace

void StripSumsWindow::drawStrips(const StripSums& sums)
{
    Canvas& c = *DrawCanvas;
    const int k = kind();
    const TColor upperColour = fillColourButtons_[0]->SelectionColor();
    const TColor lowerColour = fillColourButtons_[1]->SelectionColor();
    const TColor fill1 = k == 4 ? fillColourButtons_[2]->SelectionColor() : upperColour;
    const BrushStyle style1 = FillStyleOf(fillStyleBoxes_[0]->FillStyle());
    const BrushStyle style2 = FillStyleOf(fillStyleBoxes_[1]->FillStyle());
    const BrushStyle style3 = FillStyleOf(fillStyleBoxes_[2]->FillStyle());
    const int py0 = clampedRow(0.0);
    for (std::size_t i = 0; i < sums.strips.size(); ++i) {
        const Strip& s = sums.strips[i];
        // A strip with an undefined sample has no height to show.
        if (!s.min || !s.max) {
            continue;
        }
        const int left = clampedColumn(s.x0);
        const int right = clampedColumn(s.x1);
        const int pym = clampedRow(*s.min);
        const int pyM = clampedRow(*s.max);
        switch (k) {
        case 1:
            fillWith(c, clBlack, fill1, style1);
            plotRectangle(c, left, py0, right, pyM);
            break;
        case 2:
            fillWith(c, lowerColour, lowerColour, style2);
            plotRectangle(c, left, py0, right, pym);
            break;
        case 3:
            if (pym <= py0) {
                fillWith(c, fill1, fill1, style1);
                plotRectangle(c, left, py0, right, pyM);
            } else {
                fillWith(c, lowerColour, lowerColour, style2);
                plotRectangle(c, left, py0, right, pym);
            }
            fillWith(c, fill1, fill1, style3);
            plotRectangle(c, left, pym, right, pyM);
            break;
        default: {
            // Light grey lines from the axis mark the strips' borders.
            const int end = pym <= py0 ? pym : pyM;
            c.setPen({0xCCCCCC, 1, PenStyle::Solid, PenMode::Copy});
            if (i == 0) {
                c.moveTo(left, py0);
                c.lineTo(left, end);
            }
            c.moveTo(right, py0);
            c.lineTo(right, end);
            // The band takes the hatch chosen beside "Fehlerintervall  O - U", as kind 3's band does.
            fillWith(c, fill1, fill1, style3);
            plotRectangle(c, left, pym, right, pyM);
            break;
        }
        }
    }
}

void StripSumsWindow::showSums(const StripSums& sums)
{
    std::optional<double> difference;
    if (sums.upper && sums.lower) {
        difference = *sums.upper - *sums.lower;
    }
    const std::string texts[4] = {"n = " + IntToStrPlain(sums.count), "O =" + StripSumText(sums.upper),
                                  "U =" + StripSumText(sums.lower),
                                  "Fehlerintervall D = O - U =" + StripSumText(difference)};
    for (std::size_t i = 0; i < resultLabels_.size(); ++i) {
        resultLabels_[i]->setText(QString::fromStdString(texts[i]));
    }
    sums_ = sums;
}

} // namespace kurvex

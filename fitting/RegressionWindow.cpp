// Linear-regression window (TForm40): variant, start state and the controls from the variables.
#include "fitting/RegressionWindow.h"

#include "core/FitCheck.h"
#include "core/Settings.h"
#include "fitting/FittingWindow.h"
#include "fitting/PointEditor.h"
#include "lesson/GridModeButtons.h"
#include "lesson/ValueRow.h"

namespace kurvex {

LessonVariant RegressionWindow::windowVariant()
{
    // The fitting window's frame without its waits: nothing here animates.
    LessonVariant v = FittingWindow::windowVariant();
    v.delay = DelayKind::None;
    return v;
}

RegressionWindow::RegressionWindow(QWidget* owner) : PointPlotWindow(windowVariant(), owner)
{
    setWindowTitle(QStringLiteral("Lineare - Regression"));
    AutoTicks = true;
    LoadSettings();
    LineWidth = 1;
    buildHeading();
    buildPointControls();
    buildLineRows();
    buildDisplayOptions();
    buildSums();
    buildResultLabel();
    connectControls();
    RegModel = kRegLine;
}

RegressionWindow::~RegressionWindow() = default;

void RegressionWindow::refreshControls()
{
    for (ValueRow* row : {slopeRow_, interceptRow_}) {
        row->showValues();
        row->setBarFromValue(ValueRow::BarSync::Keep);
    }
    points_->resetMarkerStyle();
    gridButtons_->showMode();
}

} // namespace kurvex

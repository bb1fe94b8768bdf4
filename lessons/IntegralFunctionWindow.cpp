// Integral-function window (TForm7): variant, opening and closing in integrand mode, x by drag and
// animation, the bars kept at their values.
#include "lessons/IntegralFunctionWindow.h"

#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/TermField.h"
#include "lesson/TermRemarkExamples.h"
#include "lesson/ValueRow.h"

#include <QMouseEvent>

namespace kurvex {

LessonVariant IntegralFunctionWindow::windowVariant()
{
    LessonVariant v = TwoPaneVariant(DelayKind::A);
    v.opening = WindowOpening::FullHeight;
    v.setsModuleOpen = true;
    return v;
}

IntegralFunctionWindow::IntegralFunctionWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    setWindowTitle(QStringLiteral("Integralfunktion"));
    AreaFillStyle = BrushStyle::Solid;
    // Set before the stored term is compiled, so that a term in x is refused at opening as it is
    // when typed.
    IntegrandMode = true;
    buildTermAndExamples();
    buildLimitRows();
    buildValueRow();
    connectControls();
    termField_->load();
    termField_->use();
}

IntegralFunctionWindow::~IntegralFunctionWindow()
{
    IntegrandMode = false;
}

void IntegralFunctionWindow::refreshControls()
{
    xRow_->showValues();
    lowerRow_->showValues();
    showBars();
}

void IntegralFunctionWindow::showBars()
{
    xRow_->setBarFromValue(ValueRow::BarSync::Keep);
    lowerRow_->setBarFromValue(ValueRow::BarSync::Keep);
}

void IntegralFunctionWindow::closing()
{
    examples_->save();
    IntegrandMode = false;
}

void IntegralFunctionWindow::worldChanged(WorldChange how)
{
    // A zoom changes the width of a pixel column; a pan keeps it.
    if (how == WorldChange::Zoom) {
        xAnimationStep_ = pixelColumn();
    }
    showBars();
}

// ---------------------------------------------------------------------------------------------
// x by mouse and animation

void IntegralFunctionWindow::takeMouseX(QMouseEvent* event)
{
    CurrentX = worldAt(event->position()).x;
    xRow_->showValues();
    drawPicture();
}

void IntegralFunctionWindow::plotPress(QMouseEvent* event)
{
    takeMouseX(event);
}

void IntegralFunctionWindow::plotMove(QMouseEvent* event)
{
    if (mouseDragActive() && event->position().x() <= PlotWidth) {
        takeMouseX(event);
    }
}

void IntegralFunctionWindow::plotRelease(QMouseEvent*)
{
    // The bar takes x's place, and x the bar's grid value there.
    xRow_->setBarFromValue(ValueRow::BarSync::Snap);
}

void IntegralFunctionWindow::onAnimation()
{
    runPixelSweep(
        xSwitch_, CurrentX, xAnimationStep_,
        [this] {
            xRow_->showValues();
            drawPicture();
        },
        [this] { xRow_->setBarFromValue(ValueRow::BarSync::Snap); });
}

} // namespace kurvex

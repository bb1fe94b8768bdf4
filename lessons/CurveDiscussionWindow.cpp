// Curve-discussion window (TForm3): variant, opening and closing, x0 by drag and animation, the
// option boxes and the sweep of "f' erzeugen".
#include "lessons/CurveDiscussionWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "lesson/TermField.h"
#include "lesson/TermRemarkExamples.h"
#include "lesson/ValueRow.h"

#include <QMouseEvent>

namespace kurvex {

LessonVariant CurveDiscussionWindow::windowVariant()
{
    LessonVariant v = TwoPaneVariant(DelayKind::B);
    v.names.close = "SpeedButton6";
    v.setsModuleOpen = true;
    return v;
}

CurveDiscussionWindow::CurveDiscussionWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    setWindowTitle(QStringLiteral("Monotonie, Krümmungsverhalten - Kurvendiskussion"));
    buildTermAndExamples();
    buildPointRow();
    buildOptions();
    connectControls();
    // Compiled once as the window opens: a wrong stored term gives one message, here.
    termField_->load();
    termField_->use();
    sweep_ = StartSweep(CurrentX);
    resize(640, 760);
}

void CurveDiscussionWindow::refreshControls()
{
    xRow_->showValues();
    firstBox_->setChecked(showFirst_);
    secondBox_->setChecked(showSecond_);
    generateBox_->setChecked(generate_);
    triangleBox_->setChecked(showTriangle_);
}

void CurveDiscussionWindow::closing()
{
    examples_->save();
}

// ---------------------------------------------------------------------------------------------
// Options

void CurveDiscussionWindow::onGenerateToggled()
{
    generate_ = generateBox_->Checked();
    if (generate_) {
        // A new sweep starts where x0 is; the derivative shows once x0 moves.
        sweep_ = StartSweep(CurrentX);
        return;
    }
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// x0 by mouse and animation

void CurveDiscussionWindow::takeMouseX(QMouseEvent* event)
{
    CurrentX = worldAt(event->position()).x;
    xRow_->showValues();
}

void CurveDiscussionWindow::plotPress(QMouseEvent* event)
{
    takeMouseX(event);
    sweep_ = StartSweep(CurrentX);
    drawPicture();
}

void CurveDiscussionWindow::plotMove(QMouseEvent* event)
{
    if (!mouseDragActive()) {
        return;
    }
    takeMouseX(event);
    drawPicture();
}

void CurveDiscussionWindow::onAnimation()
{
    // Only the moving parts are drawn per frame; the curves stay in the background layer.
    runPixelSweep(xSwitch_, CurrentX, xAnimationStep_, [this] {
        xRow_->showValues();
        drawPicture();
    });
}

void CurveDiscussionWindow::worldChanged(WorldChange how)
{
    // A zoom changes the width of a pixel column; a pan keeps it.
    if (how == WorldChange::Zoom) {
        xAnimationStep_ = pixelColumn();
    }
}

} // namespace kurvex

// Sequences window (TForm15): start, the term and its limit, ε and its maximum, the n0 search,
// the example list and the lesson's world rule.
#include "lessons/SequenceWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/SequenceLimit.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace kurvex {

LessonVariant SequenceWindow::windowVariant()
{
    // No curve: the points are the picture. Delay B, metafiles at twice the size, the page as the
    // print clip, a rubber band on every left drag.
    LessonVariant v;
    v.delay = DelayKind::B;
    v.curve.stepPx = 0;
    v.printClipToPage = true;
    v.rubberBand = RubberBandMode::Always;
    v.picture.aspect = PlotAspect::Square;
    v.names.close = "SpeedButton6";
    return v;
}

SequenceWindow::SequenceWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    FixFamily = false;
    XTickStep = 1.0;
    XMax = 18.0;
    XMin = -XMax / 12;
    checkWorld();

    setWindowTitle(QStringLiteral("Folgen - Grenzwert"));
    buildTermRow();
    buildExampleList();
    buildEpsilonRow();
    buildLimitRow();
    buildN0Panel();
    pointColourButton_->setSelectionColor(pointColor_);
    epsilonRow_->showValues();
    ShowNumber(epsilonMaxEdit_, epsilonMax_);
    termField_->load();
    fillTable();
    showLimit();
    connectControls();
    resize(1120, 680);
}

// ---------------------------------------------------------------------------------------------
// Refresh and world window

void SequenceWindow::refreshControls()
{
    bandColourButton_->setSelectionColor(EpsilonColor);
    epsilonRow_->showValues();
    epsilonRow_->setBarFromValue(ValueRow::BarSync::Keep);
    ShowNumber(epsilonMaxEdit_, epsilonMax_);
    showLimit();
    updateN0();
}

void SequenceWindow::initWorld()
{
    setWorld(SequenceOpeningWorld());
}

void SequenceWindow::checkWorld()
{
    setWorld(CheckedSequenceWorld(currentWorld()));
}

void SequenceWindow::closing()
{
    examples_->save();
}

// ---------------------------------------------------------------------------------------------
// Term, limit and n0

SequenceFunction SequenceWindow::sequence() const
{
    const TermTree* tree = &termField_->tree();
    return [tree](double n) -> std::optional<double> {
        const double v = EvaluateTerm(*tree, 0, 0, 0, 0, 0, 0, n);
        if (!EvalOk || !std::isfinite(v)) {
            return std::nullopt;
        }
        return v;
    };
}

void SequenceWindow::fillTable()
{
    table_ = SequenceTable(sequence());
}

void SequenceWindow::estimateLimit()
{
    const LimitEstimate estimate = EstimateLimit(sequence());
    limitFound_ = estimate.accepted;
    if (estimate.g) {
        SequenceLimit = *estimate.g;
    }
}

void SequenceWindow::showLimit()
{
    // While the limit is not sought the edit is the user's, so it keeps showing the g in use.
    if (findLimit_ && !limitFound_) {
        limitEdit_->setText(QStringLiteral("?"));
        limitEdit_->setModified(false);
        return;
    }
    ShowNumber(limitEdit_, SequenceLimit);
}

void SequenceWindow::updateN0()
{
    n0_.reset();
    if (findN0_ && findLimit_ && limitFound_) {
        n0_ = FindN0(table_, SequenceLimit, epsilon_);
    }
    n0Label_->setText(n0_ ? QString::number(*n0_) : QStringLiteral("?"));
}

void SequenceWindow::redraw()
{
    updateN0();
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// Handlers

void SequenceWindow::onTermChanged()
{
    n0Panel_->hide();
    fillTable();
    estimateLimit();
    if (findLimit_) {
        n0Panel_->setVisible(limitFound_);
    }
    showLimit();
    redraw();
}

void SequenceWindow::onLimitEntered()
{
    if (ReadNumberEdit(limitEdit_, SequenceLimit)) {
        redraw();
    }
}

void SequenceWindow::onEpsilonMaxEntered()
{
    double typed = epsilonMax_;
    if (!ReadNumberEdit(epsilonMaxEdit_, typed)) {
        return;
    }
    // The bar's scale: a maximum of 0 or less would divide by zero or turn the bar round.
    if (!(typed > 0.0)) {
        ShowNumber(epsilonMaxEdit_, epsilonMax_);
        return;
    }
    epsilonMax_ = typed;
    epsilonRow_->setBarFromValue(ValueRow::BarSync::Keep);
    redraw();
}

void SequenceWindow::onFindLimitToggled()
{
    findLimit_ = findLimitBox_->Checked();
    n0Panel_->hide();
    if (findLimit_) {
        estimateLimit();
        n0Panel_->setVisible(limitFound_);
    } else {
        limitFound_ = false;
    }
    limitEdit_->setEnabled(!findLimit_);
    showLimit();
    redraw();
}

} // namespace kurvex

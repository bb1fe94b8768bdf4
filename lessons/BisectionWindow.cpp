// Bisection window (TForm13): start, the run of steps, the start interval from the plot or the
// edits, decimals and bound, status line, example list and the step table.
#include "lessons/BisectionWindow.h"

#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/TermFunction.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace kurvex {

LessonVariant BisectionWindow::windowVariant()
{
    // The plot takes the top four fifths of its box, the bars the bottom fifth.
    LessonVariant v{.delay = DelayKind::A,
                    .curve = {1, 20000, 20000},
                    .rubberBand = RubberBandMode::WithZoomBox,
                    .picture = {.share = PlotShare::TopFourFifths, .aspect = PlotAspect::FourToFive},
                    .worldLimits = {},
                    .dragCursorSlot = 4};
    v.names.zoomOut = "SpeedButton1";
    v.names.zoomIn = "SpeedButton4";
    v.names.pad = {"SpeedButton21", "SpeedButton11", "SpeedButton20", "SpeedButton9", "SpeedButton22",
                   "SpeedButton5",  "SpeedButton18", "SpeedButton10", "SpeedButton19"};
    v.names.coordinateCaption = "Label1";
    v.names.close = "SpeedButton6";
    v.setsModuleOpen = true;
    return v;
}

BisectionWindow::BisectionWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    XTickStep = 1.0;

    setWindowTitle(QStringLiteral("Bisektion  -  Berechnung einer Nullstelle mit Hilfe fortgesetzter "
                                  "Intervallhalbierung"));
    rightPanel()->setMinimumWidth(330);
    buildTerm();
    buildRule();
    buildStepControls();
    buildOptions();
    buildExamples();
    connectControls();

    term_->load();
    decimalsEdit_->setText(QString::number(decimals_));
    toleranceLabel_->setText(QString::fromStdString(BisectionToleranceText(decimals_)));
    showStartValues();
    // As tall as the screen allows; the frame then gives the plot its shape.
    if (const QScreen* s = screen()) {
        resize(s->availableGeometry().width(), s->availableGeometry().height() - 40);
    }
}

CurveValueFunction BisectionWindow::function() const
{
    return TermFunction(term_->tree());
}

std::optional<double> BisectionWindow::curveValue(double x)
{
    return function()(x);
}

BisectionTableInput BisectionWindow::tableInput() const
{
    return {term_->tree(), startA_, startB_, tolerance_, decimals_};
}

void BisectionWindow::showEvent(QShowEvent* event)
{
    LessonWindow::showEvent(event);
    term_->edit()->setFocus();
}

void BisectionWindow::refreshControls()
{
    sameSignButton_->setSelectionColor(sameSignColour_);
    signChangeButton_->setSelectionColor(signChangeColour_);
    showStartValues();
    showStatus();
}

// ---------------------------------------------------------------------------------------------
// The run

void BisectionWindow::restart()
{
    a_ = startA_;
    b_ = startB_;
    steps_ = 0;
    stepButton_->setEnabled(true);
    resultLabel_->clear();
}

void BisectionWindow::pickStartInterval(double a, double b)
{
    startA_ = a;
    startB_ = b;
    restart();
    showStartValues();
    redraw();
}

void BisectionWindow::makeStep()
{
    const BisectionStep step = StepBisection(function(), a_, b_, tolerance_);
    if (step.outcome == StepOutcome::Halved) {
        a_ = step.a;
        b_ = step.b;
        ++steps_;
        resultLabel_->clear();
        redraw();
        return;
    }
    // The run has ended; only a new start interval begins another.
    stepButton_->setEnabled(false);
    const BisectionVerdict verdict = VerdictOn(function(), a_, b_, step.outcome);
    QStringList lines;
    for (const std::string& line : ResultLines(verdict, decimals_)) {
        lines << QString::fromStdString(line);
    }
    resultLabel_->setText(lines.join(QLatin1Char('\n')));
}

void BisectionWindow::onStartValueEntered(QLineEdit* edit, double& start)
{
    if (!ReadNumberEdit(edit, start)) {
        return;
    }
    // A new start value starts the run again from the whole start interval.
    restart();
    showStartValues();
    redraw();
}

void BisectionWindow::onDecimalsEntered()
{
    decimals_ = BisectionDecimalsFromText(decimalsEdit_->text().toStdString());
    tolerance_ = BisectionTolerance(decimals_);
    decimalsEdit_->setText(QString::number(decimals_));
    decimalsEdit_->setModified(false);
    toleranceLabel_->setText(QString::fromStdString(BisectionToleranceText(decimals_)));
    showStartValues();
    redraw();
}

void BisectionWindow::onTermChanged()
{
    // The interval and the steps stay; the bars and the table follow the new term.
    if (EvalOk) {
        redraw();
    }
}

void BisectionWindow::onFetchExample(const std::string& term)
{
    term_->setTerm(term);
    // Steps made for another term mean nothing for this one: the run starts again.
    restart();
    redraw();
}

void BisectionWindow::showTable()
{
    BisectionTableDialog table(tableInput(), this);
    table.exec();
}

// ---------------------------------------------------------------------------------------------
// Picking the start interval on the plot

void BisectionWindow::plotPress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    a_ = worldAt(event->position()).x;
    b_ = a_;
    intervalDragging_ = true;
    steps_ = 0;
    resultLabel_->clear();
    stepButton_->setEnabled(true);
}

void BisectionWindow::plotMove(QMouseEvent* event)
{
    if (!intervalDragging_) {
        return;
    }
    // While dragging, b may lie left of a.
    b_ = worldAt(event->position()).x;
    startA_ = a_;
    startB_ = b_;
    showStartValues();
    redraw();
}

void BisectionWindow::plotRelease(QMouseEvent* event)
{
    if (!intervalDragging_) {
        return;
    }
    intervalDragging_ = false;
    b_ = worldAt(event->position()).x;
    if (a_ > b_) {
        std::swap(a_, b_);
    }
    pickStartInterval(a_, b_);
}

// ---------------------------------------------------------------------------------------------
// Texts

void BisectionWindow::showStartValues()
{
    for (const auto& [edit, value] : {std::pair{startAEdit_, startA_}, std::pair{startBEdit_, startB_}}) {
        if (edit->hasFocus() && edit->isModified()) {
            continue;
        }
        edit->setText(QString::fromStdString(FormatNumber(decimals_, value)).trimmed());
        edit->setCursorPosition(0);
        edit->setModified(false);
    }
}

void BisectionWindow::showStatus()
{
    const CurveValueFunction f = function();
    const double m = (a_ + b_) / 2.0;
    const std::optional<double> fa = f(a_);
    const std::optional<double> fm = f(m);
    const std::optional<double> product = fa && fm ? std::optional<double>(*fm * *fa) : std::nullopt;
    const auto n = [this](std::optional<double> v) { return BisectionNumber(v, decimals_); };
    // Two lines: in one, the values outgrow the plot's width.
    statusLine_->setText(QString::fromStdString("  a = " + n(a_) + "  b = " + n(b_) + "  m = " + n(m) + "\n" +
                                                "  f(a) = " + n(fa) + "  f(m) = " + n(fm) +
                                                "  f(a)*f(m) = " + n(product)));
}

void BisectionWindow::redraw()
{
    showStatus();
    drawPicture();
}

void BisectionWindow::closing()
{
    examples_->save();
}

} // namespace kurvex

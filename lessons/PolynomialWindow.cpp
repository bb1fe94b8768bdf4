// Polynomial window (TForm17): start, conditions by mouse, keys and edits, the solution and its term.
#include "lessons/PolynomialWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/Cursors.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "core/CoordinateSystem.h"
#include "core/Decorations.h"
#include "core/FunctionGraph.h"
#include "core/GridSnap.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "lesson/PlotBox.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

namespace kurvex {

namespace {

// Cursor slots of the plot: over a condition, and anywhere else while no zoom rectangle is drawn.
constexpr int kOverConditionCursor = 6;
constexpr int kPlotCursor = 7;

const QString kRefusedText =
    QStringLiteral("Bedingung nicht übernommen: höchstens 7 Gleichungen (Grad 6) sind möglich!");

void showCoordinate(QLineEdit* edit, double v)
{
    edit->setText(QString::fromStdString(FormatNumberShort(3, v)).trimmed());
    edit->setCursorPosition(0);
    edit->setModified(false);
}

void setTextColor(QLabel* label, TColor c)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(colorRed(c), colorGreen(c), colorBlue(c)));
    label->setPalette(palette);
}

} // namespace

LessonVariant PolynomialWindow::windowVariant()
{
    LessonVariant v;
    v.delay = DelayKind::A;
    v.curve = {2, 20000000, 2000000};
    v.metafileScale = 4.0;
    v.fontFactor = 1.2;
    v.printClipToPage = false;
    v.rubberBand = RubberBandMode::WithZoomBox;
    v.arrowKeys = ArrowKeys::Own;
    v.helpButton = false;
    v.zoomPad = true;
    v.picture = {
        .backgroundLayer = true, .panes = 1, .share = PlotShare::WholeBox, .aspect = PlotAspect::Square};
    v.dragCursorSlot = kPlotCursor;
    return v;
}

PolynomialWindow::PolynomialWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    AutoTicks = true;
    ModuleOpen = false;
    CurrentX = 0.0;
    CurveKind = kKindTerm;
    TraceMode = false;
    LineWidth = 1;
    ShowScale = true;
    Printing = false;
    UseSpectrum = false;
    SpareFlag1 = true;
    FixFamily = false;
    TangentLength = 2.0;
    DrawScale = 1.0;
    StepWidth = 1.0;
    ShowDerivative = false;
    LoadSettings();

    setWindowTitle(QStringLiteral("Ganzrationale Funktionen (Polynomfunktionen)"));
    // The arrow keys and Del move and delete the selected condition while the plot has the focus.
    plotBox()->setFocusPolicy(Qt::ClickFocus);
    buildKindButtons();
    buildConditionEdits();
    buildSnapRow();
    buildCurveRows();
    buildPointRows();
    buildGridAndListButtons();
    buildTermPanel();
    connectControls();
    ShowNumber(slopeEdit_, slopeValue_);
    resize(1060, 720);
}

void PolynomialWindow::refreshControls()
{
    // The settings dialog may have changed the grid, the curve colour or reset them.
    for (int i = 0; i < static_cast<int>(gridButtons_.size()); ++i) {
        gridButtons_[static_cast<std::size_t>(i)]->setChecked(GridMode == i + 1);
    }
    curveColourButton_->setSelectionColor(GraphColor);
    lineWidthBox_->setLineWidth(LineWidth);
}

// ---------------------------------------------------------------------------------------------
// Conditions

ConditionKind PolynomialWindow::pressedKind() const
{
    const int id = kindGroup_->checkedId();
    return id >= 0 && id < kConditionKindCount ? static_cast<ConditionKind>(id) : ConditionKind::Point;
}

void PolynomialWindow::addCondition(double x, double y)
{
    const ConditionKind kind = pressedKind();
    if (!conditions_.canAdd(kind)) {
        // Said at once, and the selection stays on the condition the user picked.
        refusedLabel_->setText(kRefusedText);
        return;
    }
    const SnapPoint p = SnapToGrid(x, y, XTickStep, YTickStep, snapMode_);
    conditions_.add({p.x, p.y, pointColor_, kind, HasOwnSlope(kind) ? slopeValue_ : 0.0});
    showSelected();
    conditionsChanged();
}

void PolynomialWindow::selectCondition(int index)
{
    conditions_.select(index);
    showSelected();
    drawPicture();
}

void PolynomialWindow::showSelected()
{
    const Condition* c = conditions_.selectedCondition();
    if (c == nullptr) {
        return;
    }
    showCoordinate(xEdit_, c->x);
    showCoordinate(yEdit_, c->y);
    slopeEdit_->setEnabled(HasOwnSlope(c->kind));
}

void PolynomialWindow::onEditLeft()
{
    bool changed = false;
    // Only a changed text is read, so an untouched edit never rounds a value to what it shows.
    if (ReadNumberEdit(slopeEdit_, slopeValue_)) {
        conditions_.setSelectedSlope(slopeValue_);
        changed = true;
    }
    if (const Condition* c = conditions_.selectedCondition()) {
        double x = c->x;
        double y = c->y;
        const bool newX = ReadNumberEdit(xEdit_, x);
        const bool newY = ReadNumberEdit(yEdit_, y);
        if (newX || newY) {
            conditions_.moveSelectedTo(x, y, shiftAllPoints_);
            changed = true;
        }
        // A wrong entry keeps its text and the focus until it is put right.
        if (!xEdit_->isModified() && !yEdit_->isModified()) {
            showSelected();
        }
    }
    if (changed) {
        conditionsChanged();
    }
}

void PolynomialWindow::moveSelectedBy(double dx, double dy)
{
    const Condition* c = conditions_.selectedCondition();
    if (c == nullptr) {
        return;
    }
    conditions_.moveSelectedTo(c->x + dx, c->y + dy, false);
    showSelected();
    conditionsChanged();
}

void PolynomialWindow::deleteSelected()
{
    if (!conditions_.deleteSelected()) {
        return;
    }
    showSelected();
    conditionsChanged();
}

void PolynomialWindow::deleteAll()
{
    conditions_.clear();
    kindGroup_->button(0)->setChecked(true);
    conditionsChanged();
}

void PolynomialWindow::onSnapModeChanged(int mode)
{
    snapMode_ = mode;
    snapLabel_->setText(QString::fromStdString(SnapModeText(mode)));
    snapLabel_->adjustSize();
    snapLabel_->move((mode - 1) * 30 + 4, snapLabel_->y());
}

void PolynomialWindow::conditionsChanged()
{
    polynomial_ = SolvePolynomial(conditions_.items());
    refusedLabel_->clear();
    updateTermLabel();
    drawPicture();
}

void PolynomialWindow::updateTermLabel()
{
    if (conditions_.empty()) {
        termLabel_->clear();
        return;
    }
    if (!polynomial_.solved()) {
        setTextColor(termLabel_, 0x0000FF);
        termLabel_->setText(QString::fromStdString(FailureMessage(polynomial_.failure)));
        return;
    }
    setTextColor(termLabel_, 0x000000);
    termLabel_->setText(QString::fromStdString(PolynomialTermText(polynomial_.a, fractionMode_)));
}

// ---------------------------------------------------------------------------------------------
// Mouse and keys

void PolynomialWindow::plotPress(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const int hit = conditions_.hitTest(PixelOf, at.x(), at.y());
    // Only a press on a condition drags it; a press elsewhere places a new one.
    dragging_ = hit >= 0;
    if (dragging_) {
        selectCondition(hit);
        return;
    }
    const WorldPoint w = worldAt(event->position());
    addCondition(w.x, w.y);
}

void PolynomialWindow::plotMove(QMouseEvent* event)
{
    if (!mouseDragActive()) {
        const QPoint at = event->position().toPoint();
        const bool over = conditions_.hitTest(PixelOf, at.x(), at.y()) >= 0;
        plotBox()->setCursor(ProgramCursor(over ? kOverConditionCursor : kPlotCursor));
        return;
    }
    if (!dragging_ || !conditions_.hasSelection()) {
        return;
    }
    const WorldPoint w = worldAt(event->position());
    const SnapPoint p = SnapToGrid(w.x, w.y, XTickStep, YTickStep, snapMode_);
    conditions_.moveSelectedTo(p.x, p.y, shiftAllPoints_);
    showSelected();
    conditionsChanged();
}

void PolynomialWindow::plotRelease(QMouseEvent*)
{
    dragging_ = false;
    drawPicture();
}

void PolynomialWindow::plotRightClick(QMouseEvent*)
{
    if (zoomCheckBox()->Checked()) {
        openSettings();
        return;
    }
    deleteSelected();
}

bool PolynomialWindow::windowKey(QKeyEvent* event)
{
    // Keys typed anywhere else (an edit, a list) are never taken from them.
    if (!plotBox()->hasFocus() || !conditions_.hasSelection()) {
        return false;
    }
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    const double dx = ArrowStep(XTickStep, snapMode_);
    const double dy = ArrowStep(YTickStep, snapMode_);
    switch (event->key()) {
    case Qt::Key_Delete:
        deleteSelected();
        return true;
    case Qt::Key_Left:
        moveSelectedBy(-dx, 0);
        return true;
    case Qt::Key_Right:
        moveSelectedBy(dx, 0);
        return true;
    case Qt::Key_Up:
        moveSelectedBy(0, dy);
        return true;
    case Qt::Key_Down:
        moveSelectedBy(0, -dy);
        return true;
    default:
        return false;
    }
}

} // namespace kurvex

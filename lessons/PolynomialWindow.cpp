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
#include "core/LessonStart.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "lesson/GridModeButtons.h"
#include "lesson/PlotBox.h"
#include "lesson/TermLabel.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolButton>

#include <functional>

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

// Watches the whole application for the next mouse or key press on a control or the plot of one
// window (not on its labels or the panels' background), and then calls back once.
class NextPressWatcher : public QObject {
public:
    NextPressWatcher(QWidget* window, std::function<void()> pressed)
        : QObject(window), window_(window), pressed_(std::move(pressed))
    {
    }
    void start() { QCoreApplication::instance()->installEventFilter(this); }
    void stop() { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* w = qobject_cast<QWidget*>(watched);
        const bool background = w == nullptr || qobject_cast<const QLabel*>(w) != nullptr ||
                                w->metaObject() == &QWidget::staticMetaObject || w == window_;
        if (!background && window_->isAncestorOf(w)) {
            stop();
            pressed_();
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> pressed_;
};

LessonVariant PolynomialWindow::windowVariant()
{
    return {.delay = DelayKind::A,
            .curve = {2, 20000000, 2000000},
            .metafileScale = 4.0,
            .fontFactor = 1.2,
            .rubberBand = RubberBandMode::WithZoomBox,
            .arrowKeys = ArrowKeys::Own,
            .helpButton = false,
            .picture = {.backgroundLayer = true, .aspect = PlotAspect::Square},
            .worldLimits = {},
            .dragCursorSlot = kPlotCursor};
}

PolynomialWindow::PolynomialWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    ResetLessonRunState();
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
    ShowNumber(edits_.slope, slopeValue_);
    refusalWatcher_ = new NextPressWatcher(this, [this] { refusedLabel_->clear(); });
    resize(1060, 720);
}

void PolynomialWindow::refreshControls()
{
    // The settings dialog may have changed the grid, the curve colour or reset them.
    gridButtons_->showMode();
    curves_[0].colourButton->setSelectionColor(GraphColor);
    curves_[0].widthBox->setLineWidth(LineWidth);
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
        // Said at once, and the selection stays on the condition the user picked; the notice goes
        // with whatever the user does next.
        refusedLabel_->setText(kRefusedText);
        refusalWatcher_->start();
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
        // With nothing selected the edit holds the slope for the conditions to come, as at the start.
        edits_.slope->setEnabled(true);
        return;
    }
    showCoordinate(edits_.x, c->x);
    showCoordinate(edits_.y, c->y);
    edits_.slope->setEnabled(HasOwnSlope(c->kind));
}

void PolynomialWindow::onEditLeft()
{
    bool changed = false;
    // Only a changed text is read, so an untouched edit never rounds a value to what it shows.
    if (ReadNumberEdit(edits_.slope, slopeValue_)) {
        conditions_.setSelectedSlope(slopeValue_);
        changed = true;
    }
    if (const Condition* c = conditions_.selectedCondition()) {
        double x = c->x;
        double y = c->y;
        const bool newX = ReadNumberEdit(edits_.x, x);
        const bool newY = ReadNumberEdit(edits_.y, y);
        if (newX || newY) {
            conditions_.moveSelectedTo(x, y, shiftAllPoints_);
            changed = true;
        }
        // A wrong entry keeps its text and the focus until it is put right.
        if (!edits_.x->isModified() && !edits_.y->isModified()) {
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
    showSelected();
    conditionsChanged();
}

void PolynomialWindow::onSnapModeChanged(int mode)
{
    snapMode_ = mode;
    snap_.caption->setText(QString::fromStdString(SnapModeText(mode)));
    snap_.caption->adjustSize();
    snap_.caption->move((mode - 1) * 30 + 4, snap_.caption->y());
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
        term_.text->setMessage({});
        return;
    }
    if (!polynomial_.solved()) {
        setTextColor(term_.text, 0x0000FF);
        term_.text->setMessage(QString::fromStdString(FailureMessage(polynomial_.failure)));
        return;
    }
    setTextColor(term_.text, 0x000000);
    term_.text->setTermLines({QString::fromStdString(PolynomialTermText(polynomial_.a, fractionMode_))});
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

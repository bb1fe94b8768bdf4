// Tangent-problem window (TForm8): start and close, the point rows and their bars, the mouse drag
// of Q, fixed secants and the example list.
#include "lessons/TangentProblemWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/CoordinateSystem.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>

namespace kurvex {

namespace {

const char* const kTangentExampleFile = "Bsp3.txt";
const char* const kTangentDefaultExample = "1/4x^2";

} // namespace

LessonVariant TangentProblemWindow::windowVariant()
{
    return {.delay = DelayKind::A,
            .curve = {1, 20000, 20000},
            .metafileScale = 2.0,
            .fontFactor = 1.0,
            .rubberBand = RubberBandMode::WithZoomBox,
            .arrowKeys = ArrowKeys::None,
            .picture = {.backgroundLayer = false, .aspect = PlotAspect::Square},
            .opening = WindowOpening::FullHeight,
            .worldLimits = {},
            .dragCursorSlot = 5,
            // This form's own "Steigungsdreieck" is BitCheckBox5.
            .names = {.close = "SpeedButton6", .zoomBox = "BitCheckBox6"},
            .setsModuleOpen = true};
}

TangentProblemWindow::TangentProblemWindow(QWidget* owner)
    : TangentProblemWindow(
          WindowTexts{QStringLiteral("Tangentenproblem"), kTangentExampleFile, kTangentDefaultExample}, owner)
{
    buildTermRow();
}

TangentProblemWindow::TangentProblemWindow(const WindowTexts& texts, QWidget* owner)
    : LessonWindow(windowVariant(), owner)
{
    ListClear(FixedSecants);
    CurveKind = kKindFunction;
    XTickStep = 1.0;

    setWindowTitle(texts.title);
    buildExamples(texts);
    buildPointRows();
    buildSecantControls();
    buildSlopeLabels();
    connectControls();
    // The edits show P and Q from the start; the bars follow when the window is first drawn.
    rowP_->showValues();
    rowQ_->showValues();
    updateSecantButtons();
}

TangentProblemWindow::~TangentProblemWindow()
{
    ListClear(FixedSecants);
}

void TangentProblemWindow::closing()
{
    examplePanel_->save();
}

// ---------------------------------------------------------------------------------------------
// Display and labels

void TangentProblemWindow::setDisplay(const TangentDisplay& display)
{
    display_ = display;
    tangentBox_->setChecked(display.tangent);
    tangentTriangleBox_->setChecked(display.tangentTriangle);
    secantTriangleBox_->setChecked(display.secantTriangle);
    pointLabelBox_->setChecked(display.pointLabels);
    helpLineBox_->setChecked(display.helpLines);
}

void TangentProblemWindow::onDisplayBoxClicked()
{
    display_.tangent = tangentBox_->Checked();
    display_.tangentTriangle = tangentTriangleBox_->Checked();
    display_.secantTriangle = secantTriangleBox_->Checked();
    display_.pointLabels = pointLabelBox_->Checked();
    display_.helpLines = helpLineBox_->Checked();
    drawPicture();
}

QString TangentProblemWindow::secantSlopeText() const
{
    return secantSlopeLabel_->text();
}

QString TangentProblemWindow::tangentSlopeText() const
{
    return tangentSlopeLabel_->text();
}

// ---------------------------------------------------------------------------------------------
// World window and bars

void TangentProblemWindow::refreshControls()
{
    // The settings dialog may have changed the secant colour.
    secantColourButton_->setSelectionColor(SecantColor);
    // The bars' grid follows the tick step the coordinate system is about to draw with.
    ComputeXTickStep();
    rowP_->setBarFromValue(ValueRow::BarSync::Snap);
    rowQ_->setBarFromValue(ValueRow::BarSync::Snap);
}

void TangentProblemWindow::updateBarRanges()
{
    ComputeXTickStep();
    for (ValueRow* row : {rowP_, rowQ_}) {
        const ValueBar grid = row->grid();
        row->bar()->setRange(grid.first, grid.maximum());
    }
}

void TangentProblemWindow::checkWorld()
{
    LessonWindow::checkWorld();
    updateBarRanges();
}

void TangentProblemWindow::worldChanged(WorldChange how)
{
    // After a zoom a running sweep takes the new window's step, rightwards.
    if (how == WorldChange::Zoom) {
        setAnimationStep(XMax - XMin);
    }
    // The start window passes no check, which sets the bars' range after every other change.
    if (how == WorldChange::Reset) {
        updateBarRanges();
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse drag of Q (while "Zoom" is off)

void TangentProblemWindow::plotPress(QMouseEvent* event)
{
    PointXQ = worldAt(event->position()).x;
}

void TangentProblemWindow::plotMove(QMouseEvent* event)
{
    if (!mouseDragActive()) {
        return;
    }
    // The bar follows at the next refresh, so Q keeps the exact x under the pointer.
    PointXQ = worldAt(event->position()).x;
    rowQ_->showValues();
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// Fixed secants

void TangentProblemWindow::updateSecantButtons()
{
    secantButtons_->setListFilled(!ListEmpty(FixedSecants));
}

void TangentProblemWindow::fixSecant()
{
    ListInsert(FixedSecants, 1, FixedSecantRecord(PointXQ, secantColourButton_->SelectionColor()));
    drawPicture();
    updateSecantButtons();
}

void TangentProblemWindow::deleteNewestSecant()
{
    if (!ListEmpty(FixedSecants)) {
        ListDelete(FixedSecants, 1);
    }
    updateSecantButtons();
    drawPicture();
}

void TangentProblemWindow::deleteAllSecants()
{
    ListClear(FixedSecants);
    updateSecantButtons();
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// Example list

std::string TangentProblemWindow::exampleText() const
{
    return TermFromDisplay(termField_->edit()->text());
}

void TangentProblemWindow::applyExampleText(const std::string& text)
{
    termField_->enter(text);
}

void TangentProblemWindow::onAddExample()
{
    examplePanel_->add(ExampleEntry{exampleText(), ExampleNumbers(PointXP, PointXQ, currentWorld())});
}

void TangentProblemWindow::onFetchExample(int index)
{
    const ExampleEntry& entry = examplePanel_->examples().entry(static_cast<std::size_t>(index));
    const TangentExample example = ExampleFromNumbers(entry.numbers, variant().worldLimits);
    setWorld(example.world);
    PointXP = example.xP;
    PointXQ = example.xQ;
    rowP_->showValues();
    rowQ_->showValues();
    updateBarRanges();
    rowP_->setBarFromValue(ValueRow::BarSync::Snap);
    rowQ_->setBarFromValue(ValueRow::BarSync::Snap);
    applyExampleText(entry.text);
    drawPicture();
    termField_->edit()->setFocus();
}

} // namespace kurvex

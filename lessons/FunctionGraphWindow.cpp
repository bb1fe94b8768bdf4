// Function-graph window (TForm1): start, tabs, parameter rows, point panel, vertex drag,
// animations, colour spectrum and the fixed-curve buttons.
#include "lessons/FunctionGraphWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/FunctionGraph.h"
#include "core/LessonStart.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "core/WorldWindow.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/PlotBox.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace kurvex {

LessonVariant FunctionGraphWindow::windowVariant()
{
    LessonVariant v;
    v.delay = DelayKind::A;
    v.curve = {2, 20000, 20000};
    v.metafileScale = 4.0;
    v.fontFactor = 1.2;
    v.printClipToPage = false;
    v.rubberBand = RubberBandMode::WithZoomBox;
    v.arrowKeys = ArrowKeys::MoveFocus;
    v.helpButton = true;
    v.zoomPad = true;
    v.picture = {
        .backgroundLayer = true, .panes = 1, .share = PlotShare::WholeBox, .aspect = PlotAspect::Square};
    v.dragCursorSlot = 4;
    return v;
}

FunctionGraphWindow::FunctionGraphWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    ResetCurveRunState();
    ListClear(ObjectList);
    // The terms typed in this run outlive the file's, so a term typed here is still there when the
    // window opens again; the edits then show the variables.
    const std::string typedGeneral = TermGeneral;
    const std::string typedShifted = TermShifted;
    LoadSettings();
    TermGeneral = typedGeneral;
    TermShifted = typedShifted;
    // The spectrum choice lasts while the window is open.
    SpectrumIndex = 1;

    setWindowTitle(QStringLiteral("Funktionsgraphen"));
    buildTopRow();
    buildTermRow();
    buildParameterRows();
    buildPointPanel();
    buildVertexAndObjects();

    curveColourButton_->setSelectionColor(GraphColor);
    lineWidthBox_->setLineWidth(LineWidth);
    spectrumBar_->setValue(SpectrumIndex);
    tabs_->setCurrentIndex(std::clamp(StartTab, 0, kTabCount - 1));
    updateObjectButtons();
    connectControls();
    applyTab();
    resize(1021, 666);
}

FunctionGraphWindow::~FunctionGraphWindow()
{
    ListClear(ObjectList);
}

bool FunctionGraphWindow::panelRightClick(QMouseEvent*)
{
    // The control panel answers a right click as the plot does.
    openSettings();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Refresh and tabs

void FunctionGraphWindow::refreshControls()
{
    // A range from the settings file without room would put every value on one bar position.
    checkRanges();
    ShowNumber(pointEdit_, CurrentX);
    stepWidthBar_->setValue(static_cast<int>(std::nearbyint(StepWidth * 4)));
    spectrumBar_->setValue(SpectrumIndex);
    spectrumBox_->setChecked(UseSpectrum);
    tangentBox_->setChecked(showTangent_);
    derivativeBox_->setChecked(ShowDerivative);
    slopeTriangleBox_->setChecked(showSlopeTriangle_);
    vertexDragBox_->setChecked(VertexDrag);
    // The settings dialog may have changed the curve colour or reset it to its default.
    curveColourButton_->setSelectionColor(GraphColor);
    applyTab();
}

void FunctionGraphWindow::onTabChanged()
{
    // The tab bar takes no focus, so a term or number still being typed is taken here, as leaving
    // its edit would, before the edit may hide.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit != nullptr && edit->isModified()) {
        edit->clearFocus();
    }
    applyTab();
    fullRedraw();
}

TermField& FunctionGraphWindow::tabTermField(int tab) const
{
    return tab == 3 ? *shiftedTerm_ : *generalTerm_;
}

void FunctionGraphWindow::applyTab()
{
    const int tab = tabs_->currentIndex();
    rows_[2]->show();
    rows_[3]->hide();
    termCaption_->hide();
    generalTerm_->hide();
    shiftedTerm_->hide();
    helpButton()->hide();
    vertexDragBox_->hide();
    markVertexBox_->hide();
    vertexLabel_->hide();
    pointPanel_->hide();
    tangentBox_->hide();
    derivativeBox_->hide();

    if (!TabHasVertex(tab)) {
        VertexDrag = false;
        vertexDragBox_->setChecked(false);
    }
    if (!TabHasDerivative(tab)) {
        ShowDerivative = false;
        derivativeBox_->setChecked(false);
    }

    tabCaption_->setText(tabs_->tabText(tab));
    CurveKind = TabCurveKind(tab);
    const bool termTab = TabHasDerivative(tab);
    if (tab == 0) {
        row(0).captionLabel()->setText(QStringLiteral("m ="));
        row(1).captionLabel()->setText(QStringLiteral("c ="));
        rows_[2]->hide();
    } else {
        const bool shiftedNames = tab == 2 || tab == 3;
        row(0).captionLabel()->setText(QStringLiteral("a ="));
        row(1).captionLabel()->setText(shiftedNames ? QStringLiteral("u =") : QStringLiteral("b ="));
        row(2).captionLabel()->setText(shiftedNames ? QStringLiteral("v =") : QStringLiteral("c ="));
    }
    if (TabHasVertex(tab)) {
        vertexDragBox_->show();
        markVertexBox_->show();
    }
    pointPanel_->setVisible(tab == 0 || termTab);
    stepWidthBar_->setVisible(tab == 0);
    if (termTab) {
        termCaption_->setText(tab == 3 ? QStringLiteral("f(x) =") : QStringLiteral("  y ="));
        termCaption_->show();
        tabTermField(tab).show();
        helpButton()->show();
        tangentBox_->show();
        derivativeBox_->show();
        if (tab == 4) {
            rows_[3]->show();
        }
        // Compiled once per opening: a wrong term from the settings file shows one message here,
        // never again from a refresh.
        tabTermField(tab).load();
        tabTermField(tab).use();
    }
    updatePlotCursor();
}

// ---------------------------------------------------------------------------------------------
// Parameter rows

void FunctionGraphWindow::checkRanges()
{
    for (ValueRow* r : rows_) {
        r->checkRange();
        r->showValues();
    }
    for (ValueRow* r : rows_) {
        r->setBarFromValue(ValueRow::BarSync::Snap);
    }
}

void FunctionGraphWindow::takeSpectrumColour(int index)
{
    if (UseSpectrum) {
        const ValueRow& r = row(index);
        GraphColor = SpectrumColor(r.value(), r.min(), r.max());
    }
}

void FunctionGraphWindow::redrawParameterStep()
{
    if (ShowDerivative) {
        drawBackground();
    }
    drawPicture();
    if (FixFamily) {
        addFamilyCurve();
    }
}

// ---------------------------------------------------------------------------------------------
// The point panel and the vertex

void FunctionGraphWindow::onPointEntered()
{
    if (ReadNumberEdit(pointEdit_, CurrentX)) {
        fullRedraw();
    }
}

void FunctionGraphWindow::onResetPoint()
{
    CurrentX = 0.0;
    ShowNumber(pointEdit_, CurrentX);
    stepWidthBar_->setValue(4);
    drawPicture();
}

bool FunctionGraphWindow::plotDragAvailable() const
{
    return tangentBox_->Checked() || slopeTriangleBox_->Checked() || VertexDrag;
}

void FunctionGraphWindow::onDecorationsToggled()
{
    updatePlotCursor();
    showTangent_ = tangentBox_->Checked();
    ShowDerivative = derivativeBox_->Checked();
    showSlopeTriangle_ = slopeTriangleBox_->Checked();
    fullRedraw();
}

void FunctionGraphWindow::onVertexDragToggled()
{
    VertexDrag = vertexDragBox_->Checked();
    updatePlotCursor();
    drawPicture();
}

void FunctionGraphWindow::plotMove(QMouseEvent* event)
{
    if (!mouseDragActive()) {
        return;
    }
    const WorldPoint p = worldAt(event->position());
    if (!VertexDrag) {
        // The field follows the point at every step, so it never shows an x the point left.
        CurrentX = p.x;
        ShowNumber(pointEdit_, CurrentX);
        drawPicture();
        return;
    }
    const auto moved = VertexDragTo(CurveKind, ParamA, p.x, p.y);
    if (!moved) {
        return;
    }
    ParamB = moved->b;
    ParamC = moved->c;
    row(1).showValues();
    row(2).showValues();
    // Without the guard: b and c snap to the bar grid and stop at the ends of their ranges.
    row(1).setBarFromValue(ValueRow::BarSync::Snap);
    row(2).setBarFromValue(ValueRow::BarSync::Snap);
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// Animation of the point

void FunctionGraphWindow::onPointAnimation()
{
    AnimationTrack track;
    track.toggle = pointSwitch_;
    track.frame = [this] {
        advanceAnimationByWholeStep(CurrentX, XMin, XMax);
        ShowNumber(pointEdit_, CurrentX);
        drawPicture();
    };
    runAnimation(std::move(track), (XMax - XMin) / (2.0 * std::max(1, AnimationSteps)));
}

// ---------------------------------------------------------------------------------------------
// Colour spectrum and fixed curves

void FunctionGraphWindow::onSpectrumToggled()
{
    UseSpectrum = spectrumBox_->Checked();
    if (UseSpectrum) {
        SavedGraphColor = GraphColor;
    } else {
        GraphColor = SavedGraphColor;
    }
}

void FunctionGraphWindow::updateObjectButtons()
{
    objectButtons_->setListFilled(!ListEmpty(ObjectList));
}

void FunctionGraphWindow::traceCurrentCurve()
{
    updateObjectButtons();
    TraceMode = true;
    drawPicture();
    TraceMode = false;
}

void FunctionGraphWindow::onFixObject()
{
    ListInsert(ObjectList, 1, MakeObjectRecord());
    traceCurrentCurve();
}

void FunctionGraphWindow::addFamilyCurve()
{
    if (AddFamilyCurve(ObjectList)) {
        traceCurrentCurve();
    }
}

void FunctionGraphWindow::onDeleteLastObject()
{
    if (!ListEmpty(ObjectList)) {
        ListDelete(ObjectList, 1);
    }
    updateObjectButtons();
    fullRedraw();
}

void FunctionGraphWindow::onDeleteAllObjects()
{
    ListClear(ObjectList);
    updateObjectButtons();
    fullRedraw();
}

void FunctionGraphWindow::beforeSettings()
{
    ListClear(ObjectList);
    updateObjectButtons();
}

} // namespace kurvex

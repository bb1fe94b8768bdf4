// Function-graph window: start, tabs, parameter rows and their guard, point panel, vertex drag,
// animations, colour spectrum and the fixed-curve buttons.
#include "lessons/FunctionGraphWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/Cursors.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "core/WorldWindow.h"
#include "lesson/PlotBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Cursor slots of the zoom rectangle and of the point and vertex drag.
constexpr int kZoomCursorSlot = 1;
constexpr int kDragCursorSlot = 4;

std::string editTerm(const QLineEdit* edit)
{
    std::string text = TermFromDisplay(edit->text());
    if (text.size() > kMaxTermLength) {
        text.resize(kMaxTermLength);
    }
    return text;
}

} // namespace

LessonVariant FunctionGraphWindow::formVariant()
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
    v.layers = 2;
    return v;
}

FunctionGraphWindow::FunctionGraphWindow(QWidget* owner) : LessonWindow(formVariant(), owner)
{
    AutoTicks = true;
    ListClear(ObjectList);
    CurrentX = 0.0;
    CurveKind = kKindTerm;
    TraceMode = false;
    LineWidth = 1;
    ShowScale = true;
    Printing = false;
    ShowDerivative = false;
    UseSpectrum = false;
    FixFamily = false;
    TangentLength = 2.0;
    DrawScale = 1.0;
    StepWidth = 1.0;
    // The edits take the terms typed in this run before the file is read, so a term typed here
    // is still there when the window opens again; the variables then follow the edits.
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

    Edit1->setText(TermToDisplay(TermGeneral));
    Edit12->setText(TermToDisplay(TermShifted));
    ColorButton1->setSelectionColor(GraphColor);
    LineWidthComboBox1->setLineWidth(LineWidth);
    TrackBar2->setValue(SpectrumIndex);
    TabControl1->setCurrentIndex(std::clamp(StartTab, 0, kTabCount - 1));
    updateObjectButtons();
    connectControls();
    applyTab();
    resize(1021, 666);
}

FunctionGraphWindow::~FunctionGraphWindow()
{
    ListClear(ObjectList);
}

void FunctionGraphWindow::showEvent(QShowEvent* event)
{
    if (firstShow_) {
        // The plot area about square, as the window opens.
        firstShow_ = false;
        const int others = width() - plotBox()->width();
        if (plotBox()->height() > 100) {
            resize(plotBox()->height() + others, height());
        }
        // Centred horizontally on the screen, whatever the owner's place.
        if (const QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            move(area.x() + (area.width() - frameGeometry().width()) / 2, y());
        }
    }
    LessonWindow::showEvent(event);
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
    ShowNumber(Edit11, CurrentX);
    updatePlotCursor();
    TrackBar1->setValue(static_cast<int>(std::nearbyint(StepWidth * 4)));
    TrackBar2->setValue(SpectrumIndex);
    BitCheckBox9->setChecked(UseSpectrum);
    BitCheckBox4->setChecked(ShowTangent);
    BitCheckBox1->setChecked(ShowDerivative);
    BitCheckBox2->setChecked(ShowSlopeTriangle);
    BitCheckBox3->setChecked(VertexDrag);
    // The settings dialog may have changed the curve colour or reset it to its default.
    ColorButton1->setSelectionColor(GraphColor);
    applyTab();
}

void FunctionGraphWindow::TabControl1Change()
{
    // The tab bar takes no focus, so a term or number still being typed is taken here, as leaving
    // its edit would, before the edit may hide.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit != nullptr && edit->isModified()) {
        edit->clearFocus();
    }
    applyTab();
    fullRedraw();
}

void FunctionGraphWindow::applyTab()
{
    const int tab = TabControl1->currentIndex();
    rows[2].box->show();
    rows[3].box->hide();
    Label4->hide();
    Edit1->hide();
    Edit12->hide();
    helpButton()->hide();
    BitCheckBox3->hide();
    BitCheckBox6->hide();
    Label5->hide();
    Panel4->hide();
    BitCheckBox4->hide();
    BitCheckBox1->hide();

    if (!TabHasVertex(tab)) {
        VertexDrag = false;
        BitCheckBox3->setChecked(false);
    }
    if (!TabHasDerivative(tab)) {
        ShowDerivative = false;
        BitCheckBox1->setChecked(false);
    }

    Label8->setText(TabControl1->tabText(tab));
    CurveKind = TabCurveKind(tab);
    const bool termTab = TabHasDerivative(tab);
    if (tab == 0) {
        rows[0].caption->setText(QStringLiteral("m ="));
        rows[1].caption->setText(QStringLiteral("c ="));
        rows[2].box->hide();
    } else {
        const bool shiftedNames = tab == 2 || tab == 3;
        rows[0].caption->setText(QStringLiteral("a ="));
        rows[1].caption->setText(shiftedNames ? QStringLiteral("u =") : QStringLiteral("b ="));
        rows[2].caption->setText(shiftedNames ? QStringLiteral("v =") : QStringLiteral("c ="));
    }
    if (TabHasVertex(tab)) {
        BitCheckBox3->show();
        BitCheckBox6->show();
    }
    Panel4->setVisible(tab == 0 || termTab);
    TrackBar1->setVisible(tab == 0);
    if (termTab) {
        Label4->setText(tab == 3 ? QStringLiteral("f(x) =") : QStringLiteral("  y ="));
        Label4->show();
        (tab == 3 ? Edit12 : Edit1)->show();
        helpButton()->show();
        BitCheckBox4->show();
        BitCheckBox1->show();
        if (tab == 4) {
            rows[3].box->show();
        }
        loadTabTerm(tab);
    }
    updatePlotCursor();
}

void FunctionGraphWindow::loadTabTerm(int tab)
{
    QLineEdit* edit = tab == 3 ? Edit12 : Edit1;
    std::optional<TermTree>& tree = tab == 3 ? shiftedTerm_ : generalTerm_;
    if (!tree) {
        // Compiled once per opening: a wrong term from the settings file shows one message here,
        // never again from a refresh.
        if (!CompileTerm(ParsedTerm, editTerm(edit), true)) {
            CompileTerm(ParsedTerm, "0", true);
        }
        tree = ParsedTerm;
    }
    ParsedTerm = *tree;
}

// ---------------------------------------------------------------------------------------------
// Parameter rows

void FunctionGraphWindow::showRow(const ParameterRow& row)
{
    ShowNumber(row.value, *row.param);
    ShowNumber(row.min, *row.paramMin);
    ShowNumber(row.max, *row.paramMax);
}

void FunctionGraphWindow::setBarFromValue(ParameterRow& row)
{
    row.bar->setMaximum(std::max(kFirstBarPosition, AnimationSteps));
    row.bar->setValue(BarPosition(*row.param, *row.paramMin, *row.paramMax, AnimationSteps));
}

void FunctionGraphWindow::checkRanges()
{
    for (ParameterRow& row : rows) {
        const ParamRange r =
            CheckedRange(*row.paramMin, *row.paramMax, IniSettings.*row.startMin, IniSettings.*row.startMax);
        *row.paramMin = r.min;
        *row.paramMax = r.max;
        showRow(row);
    }
    for (ParameterRow& row : rows) {
        setBarFromValue(row);
    }
}

void FunctionGraphWindow::ScrollBarChange(int index, int position)
{
    if (ScrollSyncGuard) {
        return;
    }
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    *row.param = BarValue(position, *row.paramMin, *row.paramMax, AnimationSteps);
    ShowNumber(row.value, *row.param);
    if (UseSpectrum) {
        GraphColor = SpectrumColor(*row.param, *row.paramMin, *row.paramMax);
    }
    if (ShowDerivative) {
        drawBackground();
    }
    drawPicture();
    if (FixFamily) {
        addFamilyCurve();
    }
}

void FunctionGraphWindow::ValueEditExit(int index)
{
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    if (!ReadNumberEdit(row.value, *row.param)) {
        return;
    }
    ScrollSyncGuard = true;
    setBarFromValue(row);
    ScrollSyncGuard = false;
    drawPicture();
}

void FunctionGraphWindow::RangeEditExit(int index, bool upper)
{
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    if (!ReadNumberEdit(upper ? row.max : row.min, upper ? *row.paramMax : *row.paramMin)) {
        return;
    }
    checkRanges();
    ScrollSyncGuard = true;
    setBarFromValue(row);
    ScrollSyncGuard = false;
    drawPicture();
}

void FunctionGraphWindow::ResetRowClick(int index)
{
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    *row.param = IniSettings.*row.startValue;
    const ParamRange r = CheckedRange(IniSettings.*row.startMin, IniSettings.*row.startMax,
                                      IniSettings.*row.startMin, IniSettings.*row.startMax);
    *row.paramMin = r.min;
    *row.paramMax = r.max;
    showRow(row);
    setBarFromValue(row);
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// Terms and the point panel

void FunctionGraphWindow::Edit1Exit()
{
    termEditExit(Edit1, generalTerm_, TermGeneral);
}

void FunctionGraphWindow::Edit12Exit()
{
    termEditExit(Edit12, shiftedTerm_, TermShifted);
}

void FunctionGraphWindow::termEditExit(QLineEdit* edit, std::optional<TermTree>& tree, std::string& term)
{
    // An untouched edit keeps its compiled term, so a wrong term is reported once.
    if (tree && !edit->isModified()) {
        return;
    }
    if (!CheckTermEdit(edit) && TermTooLong(edit)) {
        return;
    }
    tree = ParsedTerm;
    term = editTerm(edit);
    drawPicture();
}

void FunctionGraphWindow::Edit11Exit()
{
    if (!ReadNumberEdit(Edit11, CurrentX)) {
        return;
    }
    fullRedraw();
}

void FunctionGraphWindow::SpeedButton13Click()
{
    CurrentX = 0.0;
    ShowNumber(Edit11, CurrentX);
    TrackBar1->setValue(4);
    drawPicture();
}

void FunctionGraphWindow::TrackBar1Change(int position)
{
    StepWidth = position / 4.0;
    drawPicture();
}

void FunctionGraphWindow::updatePlotCursor()
{
    if (rubberBandEnabled()) {
        plotBox()->setCursor(ProgramCursor(kZoomCursorSlot));
    } else if (BitCheckBox4->Checked() || BitCheckBox2->Checked() || VertexDrag) {
        plotBox()->setCursor(ProgramCursor(kDragCursorSlot));
    } else {
        plotBox()->unsetCursor();
    }
}

void FunctionGraphWindow::BitCheckBox2Click()
{
    updatePlotCursor();
    ShowTangent = BitCheckBox4->Checked();
    ShowDerivative = BitCheckBox1->Checked();
    ShowSlopeTriangle = BitCheckBox2->Checked();
    fullRedraw();
}

void FunctionGraphWindow::BitCheckBox3Click()
{
    VertexDrag = BitCheckBox3->Checked();
    updatePlotCursor();
    drawPicture();
}

void FunctionGraphWindow::BitCheckBox6Click()
{
    MarkVertex = BitCheckBox6->Checked();
    drawPicture();
}

void FunctionGraphWindow::ColorButton1Change()
{
    GraphColor = ColorButton1->SelectionColor();
    fullRedraw();
}

void FunctionGraphWindow::LineWidthComboBox1Change()
{
    LineWidth = LineWidthComboBox1->LineWidth();
    fullRedraw();
}

void FunctionGraphWindow::plotMove(QMouseEvent* event)
{
    if (!MouseDragActive) {
        return;
    }
    const QPointF p = event->position();
    const double w = std::max(1, plotBox()->width());
    const double h = std::max(1, plotBox()->height());
    const double x = XMin + (XMax - XMin) * p.x() / w;
    if (!VertexDrag) {
        // The field follows the point at every step, so it never shows an x the point left.
        CurrentX = x;
        ShowNumber(Edit11, CurrentX);
        drawPicture();
        return;
    }
    const double y = YMax - (YMax - YMin) * p.y() / h;
    const auto moved = VertexDragTo(CurveKind, ParamA, x, y);
    if (!moved) {
        return;
    }
    ParamB = moved->b;
    ParamC = moved->c;
    ShowNumber(rows[1].value, ParamB);
    ShowNumber(rows[2].value, ParamC);
    // Without the guard: b and c snap to the bar grid and stop at the ends of their ranges.
    setBarFromValue(rows[1]);
    setBarFromValue(rows[2]);
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// Animations

void FunctionGraphWindow::ParameterSwitchClick(int index)
{
    const auto i = static_cast<std::size_t>(index);
    AnimationTrack track;
    track.toggle = rows[i].toggle;
    track.frame = [this, i] {
        ParameterRow& row = rows[i];
        if (UseSpectrum) {
            GraphColor = SpectrumColor(*row.param, *row.paramMin, *row.paramMax);
        }
        advanceAnimation(*row.param, *row.paramMin, *row.paramMax);
        ShowNumber(row.value, *row.param);
        if (ShowDerivative) {
            drawBackground();
        }
        drawPicture();
        if (FixFamily) {
            addFamilyCurve();
        }
    };
    // The bar follows the value once the animation ends, and the value snaps to its grid.
    track.finished = [this, i] { setBarFromValue(rows[i]); };
    runAnimation(std::move(track), *rows[i].paramMax - *rows[i].paramMin);
}

void FunctionGraphWindow::Switch4Click()
{
    AnimationTrack track;
    track.toggle = Switch4;
    track.frame = [this] {
        CurrentX += AnimationStep;
        AnimationStep = turnAround(CurrentX, AnimationStep, XMin, XMax);
        ShowNumber(Edit11, CurrentX);
        drawPicture();
    };
    runAnimation(std::move(track), (XMax - XMin) / (2.0 * std::max(1, AnimationSteps)));
}

// ---------------------------------------------------------------------------------------------
// Colour spectrum and fixed curves

void FunctionGraphWindow::TrackBar2Change(int position)
{
    SpectrumIndex = position;
}

void FunctionGraphWindow::BitCheckBox9Click()
{
    UseSpectrum = BitCheckBox9->Checked();
    if (UseSpectrum) {
        SavedGraphColor = GraphColor;
    } else {
        GraphColor = SavedGraphColor;
    }
}

void FunctionGraphWindow::BitCheckBox10Click()
{
    FixFamily = BitCheckBox10->Checked();
}

void FunctionGraphWindow::updateObjectButtons()
{
    const bool any = !ListEmpty(ObjectList);
    SpeedButton12->setEnabled(any);
    SpeedButton5->setEnabled(any);
}

void FunctionGraphWindow::traceCurrentCurve()
{
    updateObjectButtons();
    TraceMode = true;
    drawPicture();
    TraceMode = false;
}

void FunctionGraphWindow::SpeedButton6Click()
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

void FunctionGraphWindow::SpeedButton12Click()
{
    if (!ListEmpty(ObjectList)) {
        ListDelete(ObjectList, 1);
    }
    updateObjectButtons();
    fullRedraw();
}

void FunctionGraphWindow::SpeedButton5Click()
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

// Function-graph window: start, tabs, parameter rows and their guard, point panel, vertex drag,
// animations, colour spectrum and the fixed-curve buttons.
#include "app/Unit1.h"

#include "app/Cursors.h"
#include "app/PlotBox.h"
#include "app/Unit2.h"
#include "controls/BtChkBox.h"
#include "controls/ColorButton.h"
#include "controls/DrawComboBox.h"
#include "controls/EditRoutines.h"
#include "controls/GSwitch.h"
#include "core/FunctionGraph.h"
#include "core/Oliste.h"
#include "core/WorldWindow.h"

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

ModuleVariant TForm1::formVariant()
{
    ModuleVariant v;
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

TForm1::TForm1(QWidget* owner) : ModuleWindow(formVariant(), owner)
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

TForm1::~TForm1()
{
    ListClear(ObjectList);
}

void TForm1::showEvent(QShowEvent* event)
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
    ModuleWindow::showEvent(event);
}

bool TForm1::panelRightClick(QMouseEvent*)
{
    // The control panel answers a right click as the plot does.
    openSettings();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Refresh and tabs

void TForm1::refreshControls()
{
    // A range from the settings file without room would put every value on one bar position.
    einkontrolle();
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

void TForm1::TabControl1Change()
{
    // The tab bar takes no focus, so a term or number still being typed is taken here, as leaving
    // its edit would, before the edit may hide.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit != nullptr && edit->isModified()) {
        edit->clearFocus();
    }
    applyTab();
    fullRedraw();
}

void TForm1::applyTab()
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

void TForm1::loadTabTerm(int tab)
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

void TForm1::showRow(const ParameterRow& row)
{
    ShowNumber(row.value, *row.param);
    ShowNumber(row.min, *row.paramMin);
    ShowNumber(row.max, *row.paramMax);
}

void TForm1::setBarFromValue(ParameterRow& row)
{
    row.bar->setMaximum(std::max(kFirstBarPosition, AnimationSteps));
    row.bar->setValue(BarPosition(*row.param, *row.paramMin, *row.paramMax, AnimationSteps));
}

void TForm1::einkontrolle()
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

void TForm1::ScrollBarChange(int index, int position)
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
        darstellen2();
    }
    darstellen();
    if (FixFamily) {
        addFamilyCurve();
    }
}

void TForm1::ValueEditExit(int index)
{
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    if (!ReadNumberEdit(row.value, *row.param)) {
        return;
    }
    ScrollSyncGuard = true;
    setBarFromValue(row);
    ScrollSyncGuard = false;
    darstellen();
}

void TForm1::RangeEditExit(int index, bool upper)
{
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    if (!ReadNumberEdit(upper ? row.max : row.min, upper ? *row.paramMax : *row.paramMin)) {
        return;
    }
    einkontrolle();
    ScrollSyncGuard = true;
    setBarFromValue(row);
    ScrollSyncGuard = false;
    darstellen();
}

void TForm1::ResetRowClick(int index)
{
    ParameterRow& row = rows[static_cast<std::size_t>(index)];
    *row.param = IniSettings.*row.startValue;
    const ParamRange r = CheckedRange(IniSettings.*row.startMin, IniSettings.*row.startMax,
                                      IniSettings.*row.startMin, IniSettings.*row.startMax);
    *row.paramMin = r.min;
    *row.paramMax = r.max;
    showRow(row);
    setBarFromValue(row);
    darstellen();
}

// ---------------------------------------------------------------------------------------------
// Terms and the point panel

void TForm1::Edit1Exit()
{
    termEditExit(Edit1, generalTerm_, TermGeneral);
}

void TForm1::Edit12Exit()
{
    termEditExit(Edit12, shiftedTerm_, TermShifted);
}

void TForm1::termEditExit(QLineEdit* edit, std::optional<TermTree>& tree, std::string& term)
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
    darstellen();
}

void TForm1::Edit11Exit()
{
    if (!ReadNumberEdit(Edit11, CurrentX)) {
        return;
    }
    fullRedraw();
}

void TForm1::SpeedButton13Click()
{
    CurrentX = 0.0;
    ShowNumber(Edit11, CurrentX);
    TrackBar1->setValue(4);
    darstellen();
}

void TForm1::TrackBar1Change(int position)
{
    StepWidth = position / 4.0;
    darstellen();
}

void TForm1::updatePlotCursor()
{
    if (rubberBandEnabled()) {
        plotBox()->setCursor(ProgramCursor(kZoomCursorSlot));
    } else if (BitCheckBox4->Checked() || BitCheckBox2->Checked() || VertexDrag) {
        plotBox()->setCursor(ProgramCursor(kDragCursorSlot));
    } else {
        plotBox()->unsetCursor();
    }
}

void TForm1::BitCheckBox2Click()
{
    updatePlotCursor();
    ShowTangent = BitCheckBox4->Checked();
    ShowDerivative = BitCheckBox1->Checked();
    ShowSlopeTriangle = BitCheckBox2->Checked();
    fullRedraw();
}

void TForm1::BitCheckBox3Click()
{
    VertexDrag = BitCheckBox3->Checked();
    updatePlotCursor();
    darstellen();
}

void TForm1::BitCheckBox6Click()
{
    MarkVertex = BitCheckBox6->Checked();
    darstellen();
}

void TForm1::ColorButton1Change()
{
    GraphColor = ColorButton1->SelectionColor();
    fullRedraw();
}

void TForm1::LineWidthComboBox1Change()
{
    LineWidth = LineWidthComboBox1->LineWidth();
    fullRedraw();
}

void TForm1::plotMove(QMouseEvent* event)
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
        darstellen();
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
    darstellen();
}

// ---------------------------------------------------------------------------------------------
// Animations

void TForm1::ParameterSwitchClick(int index)
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
            darstellen2();
        }
        darstellen();
        if (FixFamily) {
            addFamilyCurve();
        }
    };
    // The bar follows the value once the animation ends, and the value snaps to its grid.
    track.finished = [this, i] { setBarFromValue(rows[i]); };
    runAnimation(std::move(track), *rows[i].paramMax - *rows[i].paramMin);
}

void TForm1::Switch4Click()
{
    AnimationTrack track;
    track.toggle = Switch4;
    track.frame = [this] {
        CurrentX += AnimationStep;
        AnimationStep = turnAround(CurrentX, AnimationStep, XMin, XMax);
        ShowNumber(Edit11, CurrentX);
        darstellen();
    };
    runAnimation(std::move(track), (XMax - XMin) / (2.0 * std::max(1, AnimationSteps)));
}

// ---------------------------------------------------------------------------------------------
// Colour spectrum and fixed curves

void TForm1::TrackBar2Change(int position)
{
    SpectrumIndex = position;
}

void TForm1::BitCheckBox9Click()
{
    UseSpectrum = BitCheckBox9->Checked();
    if (UseSpectrum) {
        SavedGraphColor = GraphColor;
    } else {
        GraphColor = SavedGraphColor;
    }
}

void TForm1::BitCheckBox10Click()
{
    FixFamily = BitCheckBox10->Checked();
}

void TForm1::updateObjectButtons()
{
    const bool any = !ListEmpty(ObjectList);
    SpeedButton12->setEnabled(any);
    SpeedButton5->setEnabled(any);
}

void TForm1::traceCurrentCurve()
{
    updateObjectButtons();
    TraceMode = true;
    darstellen();
    TraceMode = false;
}

void TForm1::SpeedButton6Click()
{
    ListInsert(ObjectList, 1, MakeObjectRecord());
    traceCurrentCurve();
}

void TForm1::addFamilyCurve()
{
    if (AddFamilyCurve(ObjectList)) {
        traceCurrentCurve();
    }
}

void TForm1::SpeedButton12Click()
{
    if (!ListEmpty(ObjectList)) {
        ListDelete(ObjectList, 1);
    }
    updateObjectButtons();
    fullRedraw();
}

void TForm1::SpeedButton5Click()
{
    ListClear(ObjectList);
    updateObjectButtons();
    fullRedraw();
}

void TForm1::beforeSettings()
{
    ListClear(ObjectList);
    updateObjectButtons();
}

void TForm1::showSettingsDialog()
{
    TForm2 dialog(this);
    // The dialog's curve colour shows at once in this window.
    connect(&dialog, &TForm2::graphColorChanged, this, [this] { fullRedraw(); });
    dialog.exec();
}

} // namespace kurvex

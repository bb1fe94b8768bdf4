// Loci window (TForm16): start, the parameter t and its animation, terms, spectrum, fix boxes and
// the object list.
#include "lessons/LociWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/FunctionGraph.h"
#include "core/LessonStart.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QLineEdit>
#include <QSlider>

namespace kurvex {

LessonVariant LociWindow::windowVariant()
{
    return {.delay = DelayKind::A,
            .curve = {2, 20000, 20000},
            .metafileScale = 4.0,
            .fontFactor = 1.2,
            .rubberBand = RubberBandMode::WithZoomBox,
            .arrowKeys = ArrowKeys::MoveFocus,
            .picture = {.backgroundLayer = true, .aspect = PlotAspect::Square},
            .worldLimits = {}};
}

LociWindow::LociWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    ListClear(ObjectList);
    ResetLessonRunState();
    LoadSettings();
    SpectrumIndex = 1;
    memberColor_ = GraphColor;

    setWindowTitle(QStringLiteral("Ortskurven"));
    buildTermRow();
    buildParameterRows();
    buildStyleRows();
    buildPointRows();
    buildLocusRows();
    connectControls();

    // The family's term is the stored one from the start, so no other lesson's function is drawn;
    // a wrong stored term shows its message here, once.
    familyTerm_->load();
    familyTerm_->use();
    locus_.field->load();
    tRow_->checkRange();
    validTMin_ = ParamTMin;
    validTMax_ = ParamTMax;
    updateObjectButtons();
    resize(1060, 720);
}

LociWindow::~LociWindow()
{
    ListClear(ObjectList);
    TraceMode = false;
}

// ---------------------------------------------------------------------------------------------
// Refresh

void LociWindow::refreshControls()
{
    // A range from the settings file or the settings dialog without room falls back to the start range.
    tRow_->checkRange();
    validTMin_ = ParamTMin;
    validTMax_ = ParamTMax;
    tRow_->showValues();
    stepsEdit_->setText(QString::number(tSteps_));
    tRow_->setBarFromValue(ValueRow::BarSync::Snap);
    // The chosen spectrum stays what it was.
    spectrum_.choice->setValue(SpectrumIndex);
    showSpectrumPreview();
    spectrum_.box->setChecked(UseSpectrum);
    curveColourButton_->setSelectionColor(GraphColor);
    if (!UseSpectrum) {
        memberColor_ = GraphColor;
    }
    // A metafile export switches the trace off for its picture; the fix boxes say what holds.
    TraceMode = fixCurve_ || fixPoints_;
}

// ---------------------------------------------------------------------------------------------
// Terms

void LociWindow::onFamilyTermChanged()
{
    // The fixed states belong to the old family.
    ListClear(ObjectList);
    updateObjectButtons();
    stopAnimations();
    familyTerm_->use();
    fullRedraw();
}

void LociWindow::onLocusTermChanged()
{
    stopAnimations();
    TermText = locusTerm_;
    drawPicture();
}

// ---------------------------------------------------------------------------------------------
// The parameter t

void LociWindow::takeSpectrumColour()
{
    if (UseSpectrum) {
        memberColor_ = SpectrumColor(ParamT, ParamTMin, ParamTMax);
    }
}

void LociWindow::onTStep()
{
    takeSpectrumColour();
    // Fixing the state draws the frame too.
    if (TraceMode && fixCurrentState()) {
        return;
    }
    drawPicture();
}

void LociWindow::onRangeEntered()
{
    if (!ValidTRange(ParamTMin, ParamTMax)) {
        ParamTMin = validTMin_;
        ParamTMax = validTMax_;
        tRow_->showValues();
        return;
    }
    validTMin_ = ParamTMin;
    validTMax_ = ParamTMax;
    tRow_->setBarFromValue(ValueRow::BarSync::Keep);
    drawPicture();
}

void LociWindow::onStepsEntered()
{
    tSteps_ = ParseStepCount(stepsEdit_->text().toStdString());
    stepsEdit_->setText(QString::number(tSteps_));
    stepsEdit_->setModified(false);
    // t keeps its value; only its place on the bar's new grid changes.
    tRow_->setBarFromValue(ValueRow::BarSync::Keep);
}

void LociWindow::onAnimation()
{
    AnimationTrack track;
    track.toggle = tSwitch_;
    track.frame = [this] {
        takeSpectrumColour();
        ParamT += animationStep() / tSteps_;
        ShowNumber(tRow_->valueEdit(), ParamT);
        if (!(TraceMode && fixCurrentState())) {
            drawPicture();
        }
        // Strict tests: t runs past an end by less than a step before it turns.
        if (ParamT > ParamTMax) {
            reverseAnimation();
        }
        if (ParamT < ParamTMin) {
            reverseAnimation();
        }
    };
    // The bar follows t, and t snaps to the bar's grid.
    track.finished = [this] { tRow_->setBarFromValue(ValueRow::BarSync::Snap); };
    runAnimation(std::move(track), ParamTMax - ParamTMin);
}

// ---------------------------------------------------------------------------------------------
// Spectrum and fix boxes

void LociWindow::onSpectrumToggled()
{
    UseSpectrum = spectrum_.box->Checked();
    // The spectrum colours only the members; the chosen line colour stays GraphColor throughout.
    if (!UseSpectrum) {
        memberColor_ = GraphColor;
    }
}

void LociWindow::onSpectrumChosen(int index)
{
    SpectrumIndex = index;
    showSpectrumPreview();
}

void LociWindow::onFixBoxesClicked()
{
    fixPoints_ = fixPointsBox_->Checked();
    fixCurve_ = fixCurveBox_->Checked();
    TraceMode = fixCurve_ || fixPoints_;
}

// ---------------------------------------------------------------------------------------------
// Object list

void LociWindow::updateObjectButtons()
{
    objectButtons_->setListFilled(!ListEmpty(ObjectList));
}

bool LociWindow::fixCurrentState()
{
    if (!InsertLociObject(ObjectList, {fixCurve_, fixPoints_, ParamT, memberColor_, LineWidth})) {
        return false;
    }
    tracing_ = true;
    drawPicture();
    tracing_ = false;
    updateObjectButtons();
    TraceMode = fixCurve_ || fixPoints_;
    return true;
}

void LociWindow::onDeleteLastObject()
{
    if (!ListEmpty(ObjectList)) {
        ListDelete(ObjectList, 1);
    }
    updateObjectButtons();
    fullRedraw();
}

void LociWindow::onDeleteAllObjects()
{
    ListClear(ObjectList);
    updateObjectButtons();
    fullRedraw();
}

} // namespace kurvex

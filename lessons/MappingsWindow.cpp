// Mappings window (TForm12): start and close, x by mouse and animation, rails, fixed arrows, the
// example list and the switch into the guess-the-term game.
#include "lessons/MappingsWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/PlotBox.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"
#include "lessons/GuessTermGame.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>

#include <algorithm>

namespace kurvex {

LessonVariant MappingsWindow::windowVariant()
{
    return {.delay = DelayKind::A,
            .curve = {1, 20000, 20000},
            .metafileScale = 2.0,
            .fontFactor = 1.0,
            .printClipToPage = false,
            // The rails' own buttons take the place of zoom, pad and rubber band.
            .rubberBand = RubberBandMode::None,
            .arrowKeys = ArrowKeys::None,
            .helpButton = true,
            .zoomPad = false,
            .picture = {.backgroundLayer = false,
                        .panes = 1,
                        .share = PlotShare::TopFourFifths,
                        .aspect = PlotAspect::FourToFive},
            .worldLimits = {},
            .dragCursorSlot = 4,
            .names = {.close = "SpeedButton6"},
            .setsModuleOpen = true};
}

MappingsWindow::MappingsWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    ListClear(ArrowList);
    // Both rails start on the x range of the settings the launcher loaded.
    rails_ = CheckedRails({{XMin, XMax}, {XMin, XMax}});
    mappingStep_ = rails_.x.span() / std::max(1, AnimationSteps);

    setWindowTitle(QStringLiteral("Zuordnungen"));
    buildTermPanel();
    buildGamePanel();
    buildXControls();
    buildSwitches();
    buildRailPanels();
    termField_->load();
    xRow_->showValues();
    xRail_.colour->setSelectionColor(xRailColour_);
    fRail_.colour->setSelectionColor(fRailColour_);
    updateArrowButtons();
    connectControls();
    resize(1000, 720);
}

MappingsWindow::~MappingsWindow()
{
    ListClear(ArrowList);
}

void MappingsWindow::showEvent(QShowEvent* event)
{
    LessonWindow::showEvent(event);
    termField_->edit()->setFocus();
}

void MappingsWindow::closing()
{
    examples_->save();
}

void MappingsWindow::refreshControls()
{
    placeRailPanels();
    xRail_.colour->setSelectionColor(xRailColour_);
    fRail_.colour->setSelectionColor(fRailColour_);
    xRow_->setBarFromValue(ValueRow::BarSync::Snap);
}

void MappingsWindow::adjustPrintLayout(PrintLayout& layout) const
{
    const QSize screen = plotSize();
    KeepScreenProportions(layout, screen.width(), screen.height(), exportVariant().pictureHeightFactor);
}

// ---------------------------------------------------------------------------------------------
// x by mouse and animation

void MappingsWindow::setXFromColumn(double column)
{
    PointXP = RailValueAt(static_cast<int>(std::clamp(column, -1e6, 1e6)), plotSize().width(), rails_.x);
    ShowNumber(xRow_->valueEdit(), PointXP);
    fullRedraw();
}

void MappingsWindow::plotPress(QMouseEvent* event)
{
    // Drawn at once, so that a click without a move never leaves an x the picture does not show.
    setXFromColumn(event->position().x());
}

void MappingsWindow::plotMove(QMouseEvent* event)
{
    if (mouseDragActive()) {
        setXFromColumn(event->position().x());
    }
}

void MappingsWindow::plotRelease(QMouseEvent*)
{
    xRow_->setBarFromValue(ValueRow::BarSync::Keep);
}

void MappingsWindow::onAnimation()
{
    mappingStep_ = rails_.x.span() / std::max(1, AnimationSteps);
    AnimationTrack track;
    track.toggle = animationSwitch_;
    track.frame = [this] {
        PointXP += mappingStep_ / speedDivisor_;
        ShowNumber(xRow_->valueEdit(), PointXP);
        fullRedraw();
        mappingStep_ = RailTurn(PointXP, mappingStep_, rails_.x);
    };
    track.finished = [this] { xRow_->setBarFromValue(ValueRow::BarSync::Snap); };
    runAnimation(std::move(track), mappingStep_);
}

// ---------------------------------------------------------------------------------------------
// Rails

void MappingsWindow::changeRail(RailRange Rails::*rail, RailRange (*change)(const RailRange&))
{
    Rails changed = rails_;
    changed.*rail = change(changed.*rail);
    rails_ = CheckedRails(changed);
    mappingStep_ = rails_.x.span() / std::max(1, AnimationSteps);
    afterRailChange();
}

void MappingsWindow::resetRail(RailRange Rails::*rail)
{
    rails_.*rail = {IniSettings.x1, IniSettings.x2};
    afterRailChange();
}

void MappingsWindow::afterRailChange()
{
    // The bar's grid belongs to the x rail; x itself stays where it is.
    xRow_->setBarFromValue(ValueRow::BarSync::Keep);
    fullRedraw();
}

// ---------------------------------------------------------------------------------------------
// Fixed arrows

void MappingsWindow::updateArrowButtons()
{
    arrowButtons_->setListFilled(!ListEmpty(ArrowList));
}

void MappingsWindow::onFixArrow()
{
    ListRecord arrow;
    arrow.value[0] = PointXP;
    arrow.color = xRail_.colour->SelectionColor();
    ListInsert(ArrowList, 1, arrow);
    updateArrowButtons();
    fullRedraw();
}

void MappingsWindow::onDeleteArrow()
{
    if (!ListEmpty(ArrowList)) {
        ListDelete(ArrowList, 1);
    }
    updateArrowButtons();
    fullRedraw();
}

void MappingsWindow::onClearArrows()
{
    ListClear(ArrowList);
    updateArrowButtons();
    fullRedraw();
}

// ---------------------------------------------------------------------------------------------
// Example list and game

void MappingsWindow::onGuessModeClicked()
{
    game_->loadTerms();
    const bool on = guessBox_->Checked();
    // The game takes the term panel's room, so the controls below it keep their place.
    if (on && termPanel_->isVisible()) {
        game_->setMinimumHeight(termPanel_->height());
    }
    termPanel_->setVisible(!on);
    game_->setVisible(on);
}

} // namespace kurvex

// Mappings window (TForm12): its controls, the two rail panels beside the rails, and the connections.
#include "lessons/MappingsWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/PlotBox.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"
#include "lessons/GuessTermGame.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <cmath>

namespace kurvex {

namespace {

// Characters the term edit takes from the keyboard.
constexpr int kTypedTermLength = 40;
constexpr int kRailPanelWidth = 156;

// Typing stops at a length; a longer term the program puts in (an example, the settings) stays
// whole instead of being cut into another term, and can still be shortened.
class TypedLengthValidator : public QValidator {
public:
    TypedLengthValidator(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}

    State validate(QString& input, int&) const override
    {
        if (input.size() > limit_ && input.size() > accepted_) {
            return Invalid;
        }
        accepted_ = input.size();
        return Acceptable;
    }

private:
    int limit_;
    mutable qsizetype accepted_ = 0;
};

} // namespace

// What tells the two rail panels apart.
struct MappingsWindow::RailPanelSetup {
    const char* name;
    QString caption;
    RailRange Rails::*rail;
    const char* halve;
    const char* reset;
    const char* twice;
    const char* colour;
    const char* label;
    QString labelText;
};

void MappingsWindow::buildTermPanel()
{
    termPanel_ = new QWidget(rightPanel());
    termPanel_->setObjectName(QStringLiteral("Panel5"));
    auto* column = new QVBoxLayout(termPanel_);
    column->setContentsMargins(0, 0, 0, 0);
    termField_ = new TermField(QStringLiteral("f(x) ="), nullptr, "Edit1", TermCovariation, termPanel_);
    termField_->edit()->setValidator(new TypedLengthValidator(kTypedTermLength, termField_->edit()));
    column->addWidget(termField_);
    ExampleListNames names;
    names.fetch = QStringLiteral("SpeedButton3");
    names.add = QStringLiteral("SpeedButton7");
    names.remove = QStringLiteral("SpeedButton8");
    examples_ = new ExampleListPanel("Bsp5.txt", ExampleFormat{}, termPanel_, names);
    column->addWidget(examples_, 1);
    lessonArea()->addWidget(termPanel_, 1);
}

void MappingsWindow::buildGamePanel()
{
    guessBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Funktionsterm erraten"), rightPanel());
    lessonArea()->insertWidget(0, guessBox_);
    game_ = new GuessTermGame(termField_->edit(), rightPanel());
    game_->hide();
    lessonArea()->addWidget(game_, 1);
}

void MappingsWindow::buildXControls()
{
    ValueRowBinding binding;
    binding.value = &PointXP;
    binding.min = &rails_.x.lo;
    binding.max = &rails_.x.hi;
    binding.startValue = [] { return IniSettings.xP; };
    binding.barGrid = [](double lo, double hi) { return ValueBar{lo, hi, 1, XBarMaximum({lo, hi})}; };
    ValueRowNames names;
    names.value = "Edit2";
    names.reset = "SpeedButton2";
    names.bar = "ScrollBar1";
    xRow_ = new ValueRow(*this, QStringLiteral("x  ="), names, std::move(binding), rightPanel());
    lessonArea()->addWidget(xRow_);

    auto* row = new QHBoxLayout;
    animationSwitch_ = MakeAnimationSwitch(QStringLiteral("Switch1"), rightPanel());
    registerAnimationSwitch(animationSwitch_);
    directionButton_ =
        MakeGlyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton25"), {}, rightPanel());
    speedBar_ =
        MakeTrackBar(QStringLiteral("TrackBar2"), QStringLiteral("Geschwindigkeit"), 1, 40, rightPanel());
    row->addWidget(animationSwitch_);
    row->addWidget(directionButton_);
    row->addWidget(speedBar_, 1);
    lessonArea()->addLayout(row);
}

void MappingsWindow::buildSwitches()
{
    auto* arrowRow = new QHBoxLayout;
    arrowsBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Zuordnungspfeil"), rightPanel());
    FixedObjectNames names;
    names.insert = "SpeedButton13";
    names.insertHint = QStringLiteral("Zuordnungspfeil fixieren");
    names.deleteLast = "SpeedButton11";
    names.deleteLastHint = QStringLiteral("Zuordnungspfeil löschen");
    names.clearAll = "SpeedButton18";
    names.clearAllHint = QStringLiteral("Liste löschen");
    arrowButtons_ = new FixedObjectButtons(names, rightPanel());
    arrowRow->addWidget(arrowsBox_);
    arrowRow->addWidget(arrowButtons_, 1);
    lessonArea()->addLayout(arrowRow);
    graphBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("Funktionsgraph zeichnen"), rightPanel());
    cartesianBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox3"),
                     QStringLiteral("Darstellung im kartesischen Koordinatensystem"), rightPanel());
    lessonArea()->addWidget(graphBox_);
    lessonArea()->addWidget(cartesianBox_);
}

MappingsWindow::RailPanel MappingsWindow::buildRailPanel(const RailPanelSetup& setup)
{
    auto* panel = new QWidget(railColumn_);
    panel->setObjectName(QString::fromLatin1(setup.name));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(1);
    auto* caption = new QLabel(setup.caption, panel);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    grid->addWidget(caption, 0, 0, 1, 5);

    const QString halveHint = QStringLiteral("x-Bereich halbieren");
    auto* halve =
        MakeGlyphButton(QStringLiteral("\u00BD"), QString::fromLatin1(setup.halve), halveHint, panel);
    auto* reset = MakeGlyphButton(QStringLiteral("\u21BA"), QString::fromLatin1(setup.reset),
                                  QStringLiteral("Anfangswerte setzen"), panel);
    auto* twice = MakeGlyphButton(QStringLiteral("\u00D72"), QString::fromLatin1(setup.twice),
                                  QStringLiteral("x - Bereich verdoppeln"), panel);
    auto* colourButton = MakeColorButton(QString::fromLatin1(setup.colour), {}, panel);
    grid->addWidget(halve, 1, 0);
    grid->addWidget(reset, 1, 1);
    grid->addWidget(twice, 1, 2);
    grid->addWidget(colourButton, 1, 3);
    grid->setColumnStretch(4, 1);
    auto* valueLabel = MakeLabel(QString::fromLatin1(setup.label), setup.labelText, panel);
    grid->addWidget(valueLabel, 2, 0, 1, 5);
    panel->setFixedSize(kRailPanelWidth, panel->sizeHint().height());

    RailRange Rails::*rail = setup.rail;
    connect(halve, &QToolButton::clicked, this, [this, rail] { changeRail(rail, &HalvedRail); });
    connect(twice, &QToolButton::clicked, this, [this, rail] { changeRail(rail, &DoubledRail); });
    connect(reset, &QToolButton::clicked, this, [this, rail] { resetRail(rail); });
    return {panel, colourButton, valueLabel};
}

void MappingsWindow::buildRailPanels()
{
    railColumn_ = new QWidget(this);
    railColumn_->setObjectName(QStringLiteral("Panel3"));
    railColumn_->setFixedWidth(kRailPanelWidth);
    railColumn_->installEventFilter(this);
    leftArea()->addWidget(railColumn_, 1);
    xRail_ =
        buildRailPanel({"Panel4", QStringLiteral("x - Schiene"), &Rails::x, "SpeedButton12", "SpeedButton16",
                        "SpeedButton24", "ColorButton1", "Label9", QStringLiteral("x =")});
    fRail_ =
        buildRailPanel({"Panel2", QStringLiteral("f(x) - Schiene"), &Rails::f, "SpeedButton1", "SpeedButton4",
                        "SpeedButton5", "ColorButton2", "Label6", QStringLiteral("f(x) =")});
}

void MappingsWindow::placeRailPanels()
{
    const int height = plotBox()->height();
    const int top = railColumn_->mapFrom(this, plotBox()->mapTo(this, QPoint(0, 0))).y();
    const auto centreAt = [&](QWidget* panel, double share) {
        const int centre = top + static_cast<int>(std::nearbyint(height * share));
        const int y =
            std::clamp(centre - panel->height() / 2, 0, std::max(0, railColumn_->height() - panel->height()));
        panel->move(0, y);
    };
    centreAt(xRail_.panel, 20.0 / 21.0);
    centreAt(fRail_.panel, 5.0 / 6.0);
    // On a low plot the f(x) rail's panel gives way upwards rather than covering the x rail's.
    if (fRail_.panel->geometry().bottom() >= xRail_.panel->y()) {
        fRail_.panel->move(0, std::max(0, xRail_.panel->y() - fRail_.panel->height()));
    }
}

bool MappingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The column takes a new height after the plot has: the captions follow their rails then.
    if (watched == railColumn_ && event->type() == QEvent::Resize) {
        placeRailPanels();
    }
    return LessonWindow::eventFilter(watched, event);
}

void MappingsWindow::connectControls()
{
    // A plot centred anew in a maximised window takes its rails along.
    connect(plotBox(), &PlotBox::moved, this, &MappingsWindow::placeRailPanels);
    connect(termField_, &TermField::termChanged, this, &MappingsWindow::fullRedraw);
    BindTermExamples(examples_, termField_);
    connect(guessBox_, &BitCheckBox::clicked, this, &MappingsWindow::onGuessModeClicked);
    connect(game_, &GuessTermGame::termDrawn, this,
            [this](const std::string& term) { termField_->enter(term); });

    const RedrawBinding bind(this, [this] { fullRedraw(); });
    bind.row(xRow_);
    connect(animationSwitch_, &ToggleSwitch::clicked, this, &MappingsWindow::onAnimation);
    connect(directionButton_, &QToolButton::clicked, this, [this] { mappingStep_ = -mappingStep_; });
    connect(speedBar_, &QSlider::valueChanged, this,
            [this](int value) { speedDivisor_ = std::max(1, value); });

    connect(arrowButtons_, &FixedObjectButtons::insertClicked, this, &MappingsWindow::onFixArrow);
    connect(arrowButtons_, &FixedObjectButtons::deleteLastClicked, this, &MappingsWindow::onDeleteArrow);
    connect(arrowButtons_, &FixedObjectButtons::clearAllClicked, this, &MappingsWindow::onClearArrows);
    bind.flag(arrowsBox_, showArrows_);
    bind.flag(graphBox_, showGraph_);
    bind.flag(cartesianBox_, showCartesian_);
    bind.colour(xRail_.colour, xRailColour_);
    bind.colour(fRail_.colour, fRailColour_);
}

} // namespace kurvex

// Loci window (TForm16): its controls, their layout and their connections.
#include "lessons/LociWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/FunctionGraph.h"
#include "core/Settings.h"
#include "lesson/ControlFactory.h"
#include "lesson/CurvePointRows.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

namespace kurvex {

namespace {

LineWidthComboBox* makeWidthBox(const char* name, const QString& hint, QWidget* parent)
{
    auto* box = new LineWidthComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    box->setFixedWidth(80);
    return box;
}

} // namespace

void LociWindow::buildTermRow()
{
    rightPanel()->setMinimumWidth(333);
    familyTerm_ = new TermField(QStringLiteral("f  (x) ="), "Label1", "Edit1", TermGeneral, rightPanel());
    lessonArea()->addWidget(familyTerm_);
}

void LociWindow::buildParameterRows()
{
    ValueRowBinding binding;
    binding.value = &ParamT;
    binding.min = &ParamTMin;
    binding.max = &ParamTMax;
    binding.startValue = [] { return IniSettings.t; };
    binding.startRange = [] { return ParamRange{IniSettings.t1, IniSettings.t2}; };
    binding.barGrid = [this](double min, double max) { return ValueBar{min, max, 1, tSteps_}; };
    const ValueRowNames names{"Label13", "Edit13", "SpeedButton16", "ScrollBar4", "Edit14", "Edit15"};
    tRow_ = new ValueRow(*this, QStringLiteral("t ="), names, std::move(binding), rightPanel());
    lessonArea()->addWidget(tRow_);

    // t steps through ParamTSteps positions, so its switch runs its own loop instead of the row's.
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(MakeLabel(QStringLiteral("Label7"), QStringLiteral("Schritte"), rightPanel()));
    stepsEdit_ = MakeNumberEdit(QStringLiteral("Edit7"), rightPanel());
    stepsEdit_->setMaxLength(4);
    stepsEdit_->setText(QString::number(tSteps_));
    row->addWidget(stepsEdit_);
    row->addStretch(1);
    tSwitch_ = MakeAnimationSwitch(QStringLiteral("Switch5"), rightPanel());
    registerAnimationSwitch(tSwitch_);
    directionButton_ =
        MakeGlyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton29"), {}, rightPanel());
    row->addWidget(tSwitch_);
    row->addWidget(directionButton_);
    lessonArea()->addLayout(row);
}

void LociWindow::buildStyleRows()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setHorizontalSpacing(4);
    curveColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton1"), QStringLiteral("Linienfarbe"), rightPanel());
    curveColourButton_->setSelectionColor(GraphColor);
    lineWidthBox_ = makeWidthBox("LineWidthComboBox1", QStringLiteral("Linienbreite"), rightPanel());
    lineWidthBox_->setLineWidth(LineWidth);
    grid->addWidget(curveColourButton_, 0, 0);
    grid->addWidget(lineWidthBox_, 0, 1, 1, 2, Qt::AlignLeft);

    spectrum_.box = MakeCheckBox(QStringLiteral("BitCheckBox9"),
                                 QStringLiteral("Farbspektrum für Parameterwerte"), rightPanel());
    spectrum_.choice = MakeTrackBar(QStringLiteral("TrackBar2"), QStringLiteral("Farbspektrum auswählen"), 1,
                                    kSpectrumCount, rightPanel());
    spectrum_.preview = MakeLabel(QStringLiteral("Image1"), {}, rightPanel());
    spectrum_.preview->setFixedSize(kSpectrumPreviewColumns, 14);
    fixCurveBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox10"), QStringLiteral("Kurvenschar fixieren"), rightPanel());
    grid->addWidget(spectrum_.box, 1, 0, 1, 3);
    grid->addWidget(spectrum_.choice, 2, 0, 1, 2);
    grid->addWidget(spectrum_.preview, 2, 2);
    grid->addWidget(fixCurveBox_, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    lessonArea()->addLayout(grid);
}

void LociWindow::buildPointRows()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 6, 0, 0);
    pointRows_ = new CurvePointRows({{{"BitCheckBox3", QStringLiteral("Hochpunkte"), "ColorButton4"},
                                      {"BitCheckBox2", QStringLiteral("Tiefpunkte"), "ColorButton3"},
                                      {"BitCheckBox1", QStringLiteral("Wendepunkte"), "ColorButton2"}}},
                                    {0x0000FF, 0xFF0000, 0x008000, 2}, rightPanel());
    fixPointsBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Punkte fixieren"), rightPanel());
    row->addWidget(pointRows_, 1);
    row->addWidget(fixPointsBox_, 0, Qt::AlignVCenter);
    lessonArea()->addLayout(row);
}

void LociWindow::buildLocusRows()
{
    lessonArea()->addSpacing(6);
    lessonArea()->addWidget(MakeLabel(QStringLiteral("Label8"), QStringLiteral("Ortskurve"), rightPanel()));
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    locus_.box = MakeCheckBox(QStringLiteral("BitCheckBox7"), QStringLiteral("y = "), rightPanel());
    locus_.field = new TermField({}, nullptr, "Edit2", locusTerm_, rightPanel());
    locus_.colour = MakeColorButton(QStringLiteral("ColorButton5"), {}, rightPanel());
    locus_.width = makeWidthBox("LineWidthComboBox2", {}, rightPanel());
    locus_.width->setFixedWidth(60);
    row->addWidget(locus_.box);
    row->addWidget(locus_.field, 1);
    row->addWidget(locus_.colour);
    row->addWidget(locus_.width);
    lessonArea()->addLayout(row);

    objectButtons_ = new FixedObjectButtons(GraphObjectButtonNames(), rightPanel());
    lessonArea()->addWidget(objectButtons_);
}

void LociWindow::connectControls()
{
    connect(familyTerm_, &TermField::termChanged, this, [this] { onFamilyTermChanged(); });
    connect(locus_.field, &TermField::termChanged, this, [this] { onLocusTermChanged(); });
    // Typing a term stops the animation at once.
    for (TermField* field : {familyTerm_, locus_.field}) {
        connect(field->edit(), &QLineEdit::textEdited, this, [this] { stopAnimations(); });
    }
    connect(tRow_, &ValueRow::barMoved, this, [this] { onTStep(); });
    connect(tRow_, &ValueRow::valueEntered, this, [this] { drawPicture(); });
    connect(tRow_, &ValueRow::rangeEntered, this, [this] { onRangeEntered(); });
    connect(tRow_, &ValueRow::resetDone, this, [this] {
        validTMin_ = ParamTMin;
        validTMax_ = ParamTMax;
        drawPicture();
    });
    ConnectEditExit(stepsEdit_, this, [this] { onStepsEntered(); });
    connect(tSwitch_, &ToggleSwitch::clicked, this, [this] { onAnimation(); });
    connect(directionButton_, &QToolButton::clicked, this, [this] { reverseAnimation(); });

    for (ColorButton* button : {curveColourButton_, locus_.colour}) {
        connect(button, &ColorButton::changed, this, [this] {
            GraphColor = curveColourButton_->SelectionColor();
            memberColor_ = GraphColor;
            fullRedraw();
        });
    }
    for (LineWidthComboBox* box : {lineWidthBox_, locus_.width}) {
        connect(box, &LineWidthComboBox::changed, this, [this] {
            LineWidth = lineWidthBox_->LineWidth();
            fullRedraw();
        });
    }
    connect(spectrum_.box, &BitCheckBox::clicked, this, [this] { onSpectrumToggled(); });
    connect(spectrum_.choice, &QSlider::valueChanged, this,
            [this](int position) { onSpectrumChosen(position); });
    for (BitCheckBox* box : {fixCurveBox_, fixPointsBox_}) {
        connect(box, &BitCheckBox::clicked, this, [this] { onFixBoxesClicked(); });
    }
    connect(locus_.box, &BitCheckBox::clicked, this, [this] {
        showLocus_ = locus_.box->Checked();
        drawPicture();
    });
    connect(pointRows_, &CurvePointRows::shownChanged, this, [this] { drawPicture(); });
    connect(pointRows_, &CurvePointRows::coloursChanged, this, [this] { fullRedraw(); });
    connect(objectButtons_, &FixedObjectButtons::insertClicked, this, [this] { fixCurrentState(); });
    connect(objectButtons_, &FixedObjectButtons::deleteLastClicked, this, [this] { onDeleteLastObject(); });
    connect(objectButtons_, &FixedObjectButtons::clearAllClicked, this, [this] { onDeleteAllObjects(); });
}

} // namespace kurvex

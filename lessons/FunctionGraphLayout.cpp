// Function-graph window (TForm1): its controls, their layout and their connections.
#include "lessons/FunctionGraphWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/FunctionGraph.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

void FunctionGraphWindow::buildTopRow()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    tabs_ = new QTabBar(topPanel());
    tabs_->setObjectName(QStringLiteral("TabControl1"));
    tabs_->setDocumentMode(true);
    tabs_->setExpanding(false);
    tabs_->setFocusPolicy(Qt::NoFocus);
    QFont tabFont = tabs_->font();
    tabFont.setBold(true);
    tabFont.setPixelSize(11);
    tabs_->setFont(tabFont);
    for (const char* caption :
         {"y = mx+c", "y = ax\u00B2+bx+c", "y = a(x-u)\u00B2+v", "y = af(x-u)+v", "y = f(x,a,b,c,d)"}) {
        tabs_->addTab(QString::fromUtf8(caption));
    }
    row->addWidget(tabs_);
    row->addStretch(1);

    tabCaption_ = MakeLabel(QStringLiteral("Label8"), {}, topPanel());
    QFont bold = tabCaption_->font();
    bold.setBold(true);
    tabCaption_->setFont(bold);
    row->addWidget(tabCaption_);
    row->addSpacing(24);

    curveColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton1"), QStringLiteral("Linienfarbe"), topPanel());
    row->addWidget(curveColourButton_);
    lineWidthBox_ = new LineWidthComboBox(topPanel());
    lineWidthBox_->setObjectName(QStringLiteral("LineWidthComboBox1"));
    lineWidthBox_->setToolTip(QStringLiteral("Linienbreite"));
    lineWidthBox_->setFixedWidth(80);
    row->addWidget(lineWidthBox_);
    topArea()->addLayout(row);
}

void FunctionGraphWindow::buildTermRow()
{
    rightPanel()->setMinimumWidth(333);
    auto* row = new QHBoxLayout;
    termCaption_ = MakeLabel(QStringLiteral("Label4"), QStringLiteral("  y ="), rightPanel());
    row->addWidget(termCaption_);
    generalTerm_ = new TermField({}, nullptr, "Edit1", TermGeneral, rightPanel());
    shiftedTerm_ = new TermField({}, nullptr, "Edit12", TermShifted, rightPanel());
    row->addWidget(generalTerm_, 1);
    row->addWidget(shiftedTerm_, 1);
    // The frame's help button sits at the right of the term row, and goes with it.
    helpButton()->setFixedSize(kGlyphButtonSize);
    row->addWidget(helpButton());
    lessonArea()->addLayout(row);
}

void FunctionGraphWindow::buildParameterRows()
{
    struct RowDefinition {
        ValueRowNames names;
        double* value;
        double* min;
        double* max;
        double IniSettingsRecord::*start;
        double IniSettingsRecord::*startMin;
        double IniSettingsRecord::*startMax;
    };
    using R = IniSettingsRecord;
    const RowDefinition definitions[4] = {
        {{"Label1", "Edit2", "SpeedButton1", "ScrollBar1", "Edit3", "Edit4", "Switch1", "SpeedButton24"},
         &ParamA,
         &ParamAMin,
         &ParamAMax,
         &R::a,
         &R::a1,
         &R::a2},
        {{"Label2", "Edit5", "SpeedButton2", "ScrollBar2", "Edit6", "Edit7", "Switch2", "SpeedButton25"},
         &ParamB,
         &ParamBMin,
         &ParamBMax,
         &R::b,
         &R::b1,
         &R::b2},
        {{"Label3", "Edit8", "SpeedButton4", "ScrollBar3", "Edit9", "Edit10", "Switch3", "SpeedButton26"},
         &ParamC,
         &ParamCMin,
         &ParamCMax,
         &R::c,
         &R::c1,
         &R::c2},
        {{"Label11", "Edit13", "SpeedButton16", "ScrollBar4", "Edit14", "Edit15", "Switch5", "SpeedButton29"},
         &ParamD,
         &ParamDMin,
         &ParamDMax,
         &R::d,
         &R::d1,
         &R::d2},
    };
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const RowDefinition& d = definitions[i];
        ValueRowBinding binding;
        binding.value = d.value;
        binding.min = d.min;
        binding.max = d.max;
        binding.startValue = [start = d.start] { return IniSettings.*start; };
        binding.startRange = [min = d.startMin, max = d.startMax] {
            return ParamRange{IniSettings.*min, IniSettings.*max};
        };
        rows_[i] = new ValueRow(*this, i == 3 ? QStringLiteral("d =") : QString(), d.names,
                                std::move(binding), rightPanel());
        lessonArea()->addWidget(rows_[i]);
    }
}

void FunctionGraphWindow::buildPointPanel()
{
    pointPanel_ = new QWidget(rightPanel());
    pointPanel_->setObjectName(QStringLiteral("Panel4"));
    auto* column = new QVBoxLayout(pointPanel_);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(3);
    slopeTriangleBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Steigungsdreieck"), pointPanel_);
    stepWidthBar_ =
        MakeTrackBar(QStringLiteral("TrackBar1"), QStringLiteral("Schrittweite"), 1, 20, pointPanel_);
    stepWidthBar_->setValue(4);
    tangentBox_ = MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Tangente"), pointPanel_);
    derivativeBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("f' Ableitungsfunktion"), pointPanel_);
    auto* xCaption = MakeLabel(QStringLiteral("Label7"), QStringLiteral("x ="), pointPanel_);
    pointEdit_ = MakeNumberEdit(QStringLiteral("Edit11"), pointPanel_);
    resetPointButton_ = MakeGlyphButton(QStringLiteral("\u21BA"), QStringLiteral("SpeedButton13"),
                                        QStringLiteral("Anfangswerte setzen"), pointPanel_);
    pointSwitch_ = MakeAnimationSwitch(QStringLiteral("Switch4"), pointPanel_);
    pointDirectionButton_ =
        MakeGlyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton27"), {}, pointPanel_);
    registerAnimationSwitch(pointSwitch_);

    auto* triangleRow = new QHBoxLayout;
    triangleRow->addWidget(slopeTriangleBox_);
    triangleRow->addWidget(stepWidthBar_, 1);
    auto* tangentRow = new QHBoxLayout;
    tangentRow->addWidget(tangentBox_);
    tangentRow->addWidget(derivativeBox_);
    tangentRow->addStretch(1);
    auto* pointRow = new QHBoxLayout;
    pointRow->setSpacing(4);
    pointRow->addWidget(xCaption);
    pointRow->addWidget(pointEdit_);
    pointRow->addWidget(resetPointButton_);
    pointRow->addStretch(1);
    pointRow->addWidget(pointSwitch_);
    pointRow->addWidget(pointDirectionButton_);
    column->addLayout(triangleRow);
    column->addLayout(tangentRow);
    column->addLayout(pointRow);
    lessonArea()->addWidget(pointPanel_);
}

void FunctionGraphWindow::buildVertexAndObjects()
{
    auto* vertex = new QHBoxLayout;
    vertexDragBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox3"), QStringLiteral("Scheitel verschieben"), rightPanel());
    markVertexBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox6"), QStringLiteral("Scheitel markieren"), rightPanel());
    vertex->addWidget(vertexDragBox_);
    vertex->addWidget(markVertexBox_);
    lessonArea()->addLayout(vertex);
    vertexLabel_ = MakeLabel(QStringLiteral("Label5"), {}, rightPanel());
    // The controls below keep their place whether or not the vertex text shows.
    QSizePolicy keepPlace = vertexLabel_->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    vertexLabel_->setSizePolicy(keepPlace);
    vertexLabel_->hide();
    lessonArea()->addWidget(vertexLabel_);

    auto* objects = new QGridLayout;
    objects->setContentsMargins(0, 6, 0, 0);
    objects->setHorizontalSpacing(4);
    FixedObjectNames names = GraphObjectButtonNames();
    names.caption = "Label6";
    names.captionText = QStringLiteral("fixieren");
    objectButtons_ = new FixedObjectButtons(names, rightPanel());
    auto* familyCaption =
        MakeLabel(QStringLiteral("Label9"), QStringLiteral("Kurvenschar fixieren"), rightPanel());
    fixFamilyBox_ = MakeCheckBox(QStringLiteral("BitCheckBox10"), {}, rightPanel());
    fixFamilyBox_->setFixedWidth(18);
    spectrumBox_ = MakeCheckBox(QStringLiteral("BitCheckBox9"), {}, rightPanel());
    spectrumBox_->setToolTip(QStringLiteral("Farbspektrum für Parameterwerte"));
    spectrumBox_->setFixedWidth(18);
    spectrumBar_ = MakeTrackBar(QStringLiteral("TrackBar2"), QStringLiteral("Farbspektrum auswählen"), 1,
                                kSpectrumCount, rightPanel());

    objects->addWidget(objectButtons_, 0, 0, 1, 5);
    objects->addWidget(fixFamilyBox_, 1, 0, Qt::AlignRight);
    objects->addWidget(familyCaption, 1, 1, 1, 4);
    objects->addWidget(spectrumBox_, 2, 0, Qt::AlignRight);
    objects->addWidget(spectrumBar_, 2, 1, 1, 4);
    objects->setColumnStretch(4, 1);
    lessonArea()->addLayout(objects);
}

void FunctionGraphWindow::connectControls()
{
    connect(tabs_, &QTabBar::currentChanged, this, [this] { onTabChanged(); });
    const RedrawBinding redraw(this, [this] { fullRedraw(); });
    redraw.colour(curveColourButton_, GraphColor);
    redraw.lineWidth(lineWidthBox_, LineWidth);
    for (TermField* field : {generalTerm_, shiftedTerm_}) {
        connect(field, &TermField::termChanged, this, [this, field] {
            field->use();
            drawPicture();
        });
    }
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        ValueRow& r = row(i);
        connect(&r, &ValueRow::barMoved, this, [this, i] {
            takeSpectrumColour(i);
            redrawParameterStep();
        });
        connect(&r, &ValueRow::valueEntered, this, [this] { drawPicture(); });
        connect(&r, &ValueRow::rangeEntered, this, [this, &r] {
            checkRanges();
            r.setBarFromValue(ValueRow::BarSync::Keep);
            drawPicture();
        });
        connect(&r, &ValueRow::resetDone, this, [this] { drawPicture(); });
        r.beforeAnimationStep = [this, i] { takeSpectrumColour(i); };
        r.afterAnimationStep = [this] { redrawParameterStep(); };
    }
    ConnectEditExit(pointEdit_, this, [this] { onPointEntered(); });
    connect(resetPointButton_, &QToolButton::clicked, this, [this] { onResetPoint(); });
    connect(stepWidthBar_, &QSlider::valueChanged, this, [this](int position) {
        StepWidth = position / 4.0;
        drawPicture();
    });
    for (BitCheckBox* box : {derivativeBox_, slopeTriangleBox_, tangentBox_}) {
        connect(box, &BitCheckBox::clicked, this, [this] { onDecorationsToggled(); });
    }
    connect(vertexDragBox_, &BitCheckBox::clicked, this, [this] { onVertexDragToggled(); });
    connect(markVertexBox_, &BitCheckBox::clicked, this, [this] {
        markVertex_ = markVertexBox_->Checked();
        drawPicture();
    });
    connect(pointSwitch_, &ToggleSwitch::clicked, this, [this] { onPointAnimation(); });
    connect(pointDirectionButton_, &QToolButton::clicked, this, [this] { reverseAnimation(); });
    connect(spectrumBar_, &QSlider::valueChanged, this, [](int position) { SpectrumIndex = position; });
    connect(spectrumBox_, &BitCheckBox::clicked, this, [this] { onSpectrumToggled(); });
    connect(fixFamilyBox_, &BitCheckBox::clicked, this, [this] { FixFamily = fixFamilyBox_->Checked(); });
    connect(objectButtons_, &FixedObjectButtons::insertClicked, this, [this] { onFixObject(); });
    connect(objectButtons_, &FixedObjectButtons::deleteLastClicked, this, [this] { onDeleteLastObject(); });
    connect(objectButtons_, &FixedObjectButtons::clearAllClicked, this, [this] { onDeleteAllObjects(); });
}

} // namespace kurvex

// Limit-and-continuity window (TForm11): its controls, their layout and their handlers.
#include "lessons/LimitWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/CoordinateSystem.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

#include <algorithm>

namespace kurvex {

namespace {

// A caption with "o" set low after x, as the forms write x0.
QLabel* subscriptLabel(const char* name, const QString& html, QWidget* parent)
{
    QLabel* label = MakeLabel(QString::fromLatin1(name), html, parent);
    label->setTextFormat(Qt::RichText);
    return label;
}

} // namespace

LessonVariant LimitWindow::windowVariant()
{
    LessonVariant v{.delay = DelayKind::B,
                    .curve = {1, 20000, 20000},
                    .metafileScale = 2.0,
                    .fontFactor = 1.0,
                    .printClipToPage = true,
                    .rubberBand = RubberBandMode::Always,
                    .arrowKeys = ArrowKeys::None,
                    .picture = {.aspect = PlotAspect::Square},
                    .opening = WindowOpening::FullHeight,
                    .worldLimits = {}};
    v.names.close = "SpeedButton6";
    v.setsModuleOpen = true;
    return v;
}

LimitWindow::LimitWindow(QWidget* owner) : LessonWindow(windowVariant(), owner)
{
    FixFamily = false;
    XTickStep = 1.0;
    EpsDeltaMaxRadius = CheckedMaxRadius(EpsDeltaMaxRadius);
    delta_ = EpsDeltaMaxRadius / 2.0;
    epsilon_ = 1.0;

    setWindowTitle(QStringLiteral("Grenzwert - Stetigkeit"));
    rightPanel()->setMinimumWidth(330);
    buildPieces();
    buildRows();
    buildOptions();
    ExampleFormat format;
    format.key = ExampleKey::TextBeforeSemicolon;
    examples_ = new ExampleListPanel("Bsp4.txt", format, rightPanel());
    examples_->listBox()->setFont(TermFont());
    lessonArea()->addWidget(examples_, 1);
    connectControls();

    term1_->load();
    term2_->load();
}

void LimitWindow::buildPieces()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(3);
    grid->addWidget(MakeLabel(QStringLiteral("Label4"), QStringLiteral("f(x) ="), rightPanel()), 0, 0, 2, 1);
    QLabel* brace = MakeLabel(QStringLiteral("Label6"), QStringLiteral("{"), rightPanel());
    QFont braceFont(QStringLiteral("Courier New"));
    braceFont.setPixelSize(48);
    brace->setFont(braceFont);
    grid->addWidget(brace, 0, 1, 2, 1);
    term1_ = new TermField({}, nullptr, "Edit1", TermPiece1, rightPanel());
    term2_ = new TermField({}, nullptr, "Edit3", TermPiece2, rightPanel());
    grid->addWidget(term1_, 0, 2);
    grid->addWidget(term2_, 1, 2);
    grid->addWidget(MakeLabel(QStringLiteral("Label9"), QStringLiteral("für   x"), rightPanel()), 0, 3);
    grid->addWidget(MakeLabel(QStringLiteral("Label7"), QStringLiteral("für   x"), rightPanel()), 1, 3);
    grid->addWidget(MakeLabel(QStringLiteral("Label16"), QStringLiteral("\u2264"), rightPanel()), 0, 4);
    grid->addWidget(MakeLabel(QStringLiteral("Label17"), QStringLiteral(">"), rightPanel()), 1, 4);
    grid->addWidget(subscriptLabel("Label11", QStringLiteral("x<sub>o</sub>"), rightPanel()), 0, 5);
    grid->addWidget(subscriptLabel("Label12", QStringLiteral("x<sub>o</sub>"), rightPanel()), 1, 5);
    grid->setColumnStretch(2, 1);
    lessonArea()->addLayout(grid);
}

void LimitWindow::buildRows()
{
    ValueRowBinding point;
    point.value = &PointXP;
    point.min = &XMin;
    point.max = &XMax;
    point.startValue = [] { return IniSettings.xP; };
    point.barGrid = [](double min, double max) { return PointBar(min, max, XTickStep); };
    pointRow_ = new ValueRow(*this, {}, {"Label5", "Edit2", "SpeedButton2", "ScrollBar1"}, std::move(point),
                             rightPanel());
    pointRow_->captionLabel()->setTextFormat(Qt::RichText);
    pointRow_->captionLabel()->setText(QStringLiteral("x<sub>o</sub> ="));
    lessonArea()->addWidget(pointRow_);

    // ε and δ: 0 to the largest radius, whatever a typed value is.
    const auto radiusRow = [this](double* value, const QString& caption, const ValueRowNames& names,
                                  const char* colourName, ColorButton*& colour) {
        ValueRowBinding b;
        b.value = value;
        b.startValue = [] { return 1.0; };
        b.barGrid = [](double, double) { return RadiusBar(EpsDeltaMaxRadius); };
        auto* row = new ValueRow(*this, caption, names, std::move(b), rightPanel());
        colour = MakeColorButton(QString::fromLatin1(colourName), {}, rightPanel());
        auto* line = new QHBoxLayout;
        line->addWidget(row, 1);
        line->addWidget(colour, 0, Qt::AlignTop);
        lessonArea()->addLayout(line);
        return row;
    };
    epsilonRow_ =
        radiusRow(&epsilon_, QStringLiteral("\u03B5 ="), {"Label15", "Edit4", "SpeedButton13", "ScrollBar3"},
                  "ColorButton1", epsilonColour_);
    deltaRow_ = radiusRow(&delta_, QStringLiteral("\u03B4 ="),
                          {"Label3", "Edit5", "SpeedButton12", "ScrollBar2"}, "ColorButton2", deltaColour_);
    pointRow_->bar()->setFocusPolicy(Qt::NoFocus);
}

void LimitWindow::buildOptions()
{
    auto* line = new QHBoxLayout;
    imageColour_ = MakeColorButton(QStringLiteral("ColorButton3"), {}, rightPanel());
    line->addWidget(imageColour_);
    line->addWidget(
        subscriptLabel("Label19", QStringLiteral("f(U<sub>\u03B4</sub>(x<sub>o</sub>))"), rightPanel()));
    line->addStretch(1);
    labelsBox_ = MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Beschriftung"), rightPanel());
    line->addWidget(labelsBox_);
    lessonArea()->addLayout(line);
}

void LimitWindow::connectControls()
{
    for (TermField* field : {term1_, term2_}) {
        connect(field, &TermField::termChanged, this, &LimitWindow::onTermChanged);
    }
    const RedrawBinding bind(this, [this] { drawPicture(); });
    for (ValueRow* row : {pointRow_, epsilonRow_, deltaRow_}) {
        bind.row(row);
    }
    bind.colour(epsilonColour_, EpsilonColor);
    bind.colour(deltaColour_, DeltaColor);
    bind.colour(imageColour_, FOfDeltaColor);
    bind.flag(labelsBox_, showStripLabels_);
    connect(examples_, &ExampleListPanel::addRequested, this, &LimitWindow::onAddExample);
    connect(examples_, &ExampleListPanel::fetchRequested, this, &LimitWindow::onFetchExample);
    connect(examples_, &ExampleListPanel::entryRemoved, this, [this] { term1_->edit()->setFocus(); });
}

void LimitWindow::refreshControls()
{
    // Every ε and δ bar position divides by the radius the settings dialog may just have set.
    EpsDeltaMaxRadius = CheckedMaxRadius(EpsDeltaMaxRadius);
    epsilonColour_->setSelectionColor(EpsilonColor);
    deltaColour_->setSelectionColor(DeltaColor);
    imageColour_->setSelectionColor(FOfDeltaColor);
    ComputeXTickStep();
    for (ValueRow* row : {pointRow_, epsilonRow_, deltaRow_}) {
        // A number being typed stays until its edit is left.
        if (!row->valueEdit()->isModified()) {
            row->showValues();
        }
        row->setBarFromValue(ValueRow::BarSync::Keep);
    }
}

void LimitWindow::worldChanged(WorldChange)
{
    ComputeXTickStep();
    pointRow_->setBarFromValue(ValueRow::BarSync::Keep);
}

void LimitWindow::onTermChanged()
{
    // A term that did not compile is drawn as 0 from the next frame on; this one keeps the picture.
    if (EvalOk) {
        drawPicture();
    }
}

void LimitWindow::onAddExample()
{
    LimitExample example;
    example.term1 = TermFromDisplay(term1_->edit()->text());
    // Without a first piece there is nothing to find the example by.
    if (example.term1.empty()) {
        return;
    }
    example.term2 = TermFromDisplay(term2_->edit()->text());
    example.x0Text = TermFromDisplay(pointRow_->valueEdit()->text());
    examples_->add({ComposeLimitExample(example), {}});
}

void LimitWindow::onFetchExample(int index)
{
    const LimitExample example =
        ParseLimitExample(examples_->examples().entry(static_cast<std::size_t>(index)).text);
    term2_->setTerm(example.term2);
    term1_->setTerm(example.term1);
    QLineEdit* const pointEdit = pointRow_->valueEdit();
    bool pointTaken = true;
    if (!example.x0Text.empty()) {
        pointEdit->setText(TermToDisplay(example.x0Text));
        // Unread until taken, so a wrong x0 is read again when its edit is left.
        pointEdit->setModified(true);
        pointTaken = ReadNumberEdit(pointEdit, PointXP, NumberRead::Always);
        if (pointTaken) {
            pointRow_->setBarFromValue(ValueRow::BarSync::Keep);
        }
    }
    drawPicture();
    if (pointTaken) {
        term1_->edit()->setFocus();
    }
}

void LimitWindow::closing()
{
    examples_->save();
}

} // namespace kurvex

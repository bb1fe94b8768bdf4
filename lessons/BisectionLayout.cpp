// Bisection window (TForm13): its controls, their layout and their connections.
#include "lessons/BisectionWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace kurvex {

namespace {

QLabel* label(const char* name, const QString& text, QWidget* parent)
{
    return MakeLabel(QString::fromLatin1(name), text, parent);
}

} // namespace

void BisectionWindow::buildTerm()
{
    term_ = new TermField(QStringLiteral("f(x) ="), "Label4", "Edit1", TermBisection, rightPanel());
    lessonArea()->addWidget(term_);

    auto* start = new QHBoxLayout;
    start->addWidget(label("Label11", QStringLiteral("Startwerte:"), rightPanel()));
    startAEdit_ = MakeNumberEdit(QStringLiteral("Edit2"), rightPanel());
    startBEdit_ = MakeNumberEdit(QStringLiteral("Edit3"), rightPanel());
    // Room for six decimals and a sign.
    for (QLineEdit* edit : {startAEdit_, startBEdit_}) {
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-0,0000000")) + 10);
    }
    start->addWidget(label("Label5", QStringLiteral("a ="), rightPanel()));
    start->addWidget(startAEdit_);
    start->addWidget(label("Label7", QStringLiteral("b ="), rightPanel()));
    start->addWidget(startBEdit_);
    start->addStretch(1);
    lessonArea()->addLayout(start);
}

void BisectionWindow::buildRule()
{
    lessonArea()->addWidget(label("Label13", QStringLiteral("m := (a + b) / 2"), rightPanel()));
    lessonArea()->addWidget(
        label("Label14", QStringLiteral("wenn f(a) * f(m) > 0  dann a := m  sonst  b := m"), rightPanel()));
    auto* until = new QHBoxLayout;
    until->setSpacing(2);
    until->addWidget(label("Label20", QStringLiteral("bis  b - a <"), rightPanel()));
    until->addWidget(label("Label2", QStringLiteral("\u03B5"), rightPanel()));
    until->addStretch(1);
    lessonArea()->addLayout(until);

    auto* bound = new QHBoxLayout;
    bound->setSpacing(2);
    bound->addWidget(label("Label10", QStringLiteral("Fehlerschranke"), rightPanel()));
    bound->addSpacing(6);
    bound->addWidget(label("Label15", QStringLiteral("\u03B5"), rightPanel()));
    toleranceLabel_ = label("Label6", {}, rightPanel());
    bound->addWidget(toleranceLabel_);
    bound->addStretch(1);
    lessonArea()->addLayout(bound);

    auto* decimals = new QHBoxLayout;
    decimals->addWidget(label("Label9", QStringLiteral("Nachkommastellen ="), rightPanel()));
    decimalsEdit_ = MakeNumberEdit(QStringLiteral("Edit4"), rightPanel());
    decimalsEdit_->setToolTip(QStringLiteral("Eingabe, Ausgabe"));
    decimals->addWidget(decimalsEdit_);
    decimals->addStretch(1);
    lessonArea()->addLayout(decimals);
}

void BisectionWindow::buildStepControls()
{
    auto* steps = new QHBoxLayout;
    stepButton_ = new QPushButton(QStringLiteral("Wiederhole"), rightPanel());
    stepButton_->setObjectName(QStringLiteral("SpeedButton2"));
    stepButton_->setAutoDefault(false);
    stepButton_->setFocusPolicy(Qt::NoFocus);
    tableButton_ = MakeGlyphButton(QStringLiteral("\u25A6"), QStringLiteral("SpeedButton12"),
                                   QStringLiteral("Tabelle anzeigen"), rightPanel());
    steps->addWidget(stepButton_, 1);
    steps->addWidget(tableButton_);
    lessonArea()->addLayout(steps);

    auto* output = new QHBoxLayout;
    QLabel* caption = label("Label17", QStringLiteral("Ausgabe:"), rightPanel());
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    output->addWidget(caption);
    resultLabel_ = label("Label12", {}, rightPanel());
    resultLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    resultLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A long result never widens the panel and narrows the plot; the room for both of its lines
    // is kept, so nothing below moves when it appears.
    resultLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    resultLabel_->setFixedHeight(2 * resultLabel_->fontMetrics().height());
    output->addWidget(resultLabel_, 1);
    lessonArea()->addLayout(output);

    statusLine_ = label("Panel2", {}, this);
    statusLine_->setFrameShape(QFrame::Panel);
    statusLine_->setFrameShadow(QFrame::Sunken);
    statusLine_->setFixedHeight(2 * statusLine_->fontMetrics().height() + 2 * statusLine_->frameWidth() + 3);
    statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusLine_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    bottomArea()->addWidget(statusLine_);
}

void BisectionWindow::buildOptions()
{
    auto* colours = new QHBoxLayout;
    colours->addWidget(label("Label16", QStringLiteral("Intervallfarbe"), rightPanel()));
    sameSignButton_ = MakeColorButton(QStringLiteral("ColorButton1"), {}, rightPanel());
    signChangeButton_ = MakeColorButton(QStringLiteral("ColorButton2"), {}, rightPanel());
    colours->addWidget(sameSignButton_);
    colours->addWidget(signChangeButton_);
    colours->addStretch(1);
    lessonArea()->addLayout(colours);

    auto* boxes = new QHBoxLayout;
    helpLinesBox_ = MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("Hilfslinien"), rightPanel());
    labelsBox_ = MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Beschriftung"), rightPanel());
    boxes->addWidget(helpLinesBox_);
    boxes->addWidget(labelsBox_);
    boxes->addStretch(1);
    lessonArea()->addLayout(boxes);
}

void BisectionWindow::buildExamples()
{
    ExampleListNames names;
    names.fetch = QStringLiteral("SpeedButton3");
    names.add = QStringLiteral("SpeedButton7");
    names.remove = QStringLiteral("SpeedButton8");
    names.caption = QStringLiteral("Label3");
    examples_ = new ExampleListPanel("Bsp7.txt", ExampleFormat{}, rightPanel(), names);
    examples_->listBox()->setFont(TermFont());
    lessonArea()->addWidget(examples_, 1);
}

void BisectionWindow::connectControls()
{
    connect(term_, &TermField::termChanged, this, &BisectionWindow::onTermChanged);
    ConnectEditExit(startAEdit_, this, [this] { onStartValueEntered(startAEdit_, startA_); });
    ConnectEditExit(startBEdit_, this, [this] { onStartValueEntered(startBEdit_, startB_); });
    ConnectEditExit(decimalsEdit_, this, [this] { onDecimalsEntered(); });
    connect(stepButton_, &QPushButton::clicked, this, &BisectionWindow::makeStep);
    connect(tableButton_, &QToolButton::clicked, this, &BisectionWindow::showTable);
    const RedrawBinding bind(this, [this] { redraw(); });
    bind.colour(sameSignButton_, sameSignColour_);
    bind.colour(signChangeButton_, signChangeColour_);
    bind.flag(helpLinesBox_, showHelpLines_);
    bind.flag(labelsBox_, showPointLabels_);
    BindTermExamples(examples_, term_, [this](const std::string& term) { onFetchExample(term); });
}

} // namespace kurvex

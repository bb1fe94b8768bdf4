// Sequences window (TForm15): its controls, their layout and their connections.
#include "lessons/SequenceWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

namespace kurvex {

namespace {

// A caption beside a check box without one (it holds a subscript the box cannot draw): a click
// on the caption clicks the box.
class CaptionClicksBox : public QObject {
public:
    CaptionClicksBox(QLabel* caption, BitCheckBox* box) : QObject(caption), box_(box)
    {
        caption->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && box_->isEnabled()) {
            box_->Toggle();
            emit box_->clicked();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    BitCheckBox* box_;
};

} // namespace

void SequenceWindow::buildTermRow()
{
    rightPanel()->setMinimumWidth(327);
    auto* row = new QHBoxLayout;
    termField_ =
        new TermField(QStringLiteral("a<sub>n</sub> ="), "Label4", "Edit1", TermSequence, rightPanel());
    pointColourButton_ = MakeColorButton(QStringLiteral("ColorButton2"), {}, rightPanel());
    row->addWidget(termField_, 1);
    row->addWidget(pointColourButton_);
    lessonArea()->addLayout(row);
    connectBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Punkte verbinden"), rightPanel());
    numberLineBox_ = MakeCheckBox(QStringLiteral("BitCheckBox5"),
                                  QStringLiteral("Darstellung auf der Zahlengeraden"), rightPanel());
    lessonArea()->addWidget(connectBox_);
    lessonArea()->addWidget(numberLineBox_);
}

void SequenceWindow::buildExampleList()
{
    auto* row = new QHBoxLayout;
    examples_ = new ExampleListPanel("Bsp8.txt", ExampleFormat{}, rightPanel());
    examples_->listBox()->setFont(TermFont());
    examples_->setMinimumHeight(120);
    row->addWidget(examples_, 1);
    // The frame's help button sits beside the example list's buttons.
    helpButton()->setFixedSize(kGlyphButtonSize);
    row->addWidget(helpButton(), 0, Qt::AlignTop);
    lessonArea()->addLayout(row, 1);
}

void SequenceWindow::buildEpsilonRow()
{
    ValueRowBinding binding;
    binding.value = &epsilon_;
    binding.max = &epsilonMax_;
    binding.startValue = [] { return 1.0; };
    // Positions 1..1000 stand for a thousandth of the maximum each.
    binding.barGrid = [](double, double max) { return ValueBar{0.0, max, 1, 1000}; };
    ValueRowNames names;
    names.caption = "Label15";
    names.value = "Edit4";
    names.reset = "SpeedButton13";
    names.bar = "ScrollBar3";
    epsilonRow_ = new ValueRow(*this, QStringLiteral("\u03B5 ="), names, std::move(binding), rightPanel());
    bandColourButton_ = MakeColorButton(QStringLiteral("ColorButton1"), {}, rightPanel());
    epsilonMaxEdit_ = MakeNumberEdit(QStringLiteral("Edit3"), rightPanel());
    epsilonMaxEdit_->setToolTip(QStringLiteral("max Epsilon"));
    auto* row = new QHBoxLayout;
    row->addWidget(epsilonRow_, 1);
    row->addWidget(bandColourButton_, 0, Qt::AlignTop);
    row->addWidget(epsilonMaxEdit_, 0, Qt::AlignTop);
    lessonArea()->addLayout(row);
}

void SequenceWindow::buildLimitRow()
{
    auto* row = new QHBoxLayout;
    findLimitBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("Grenzwert bestimmen"), rightPanel());
    limitEdit_ = MakeNumberEdit(QStringLiteral("Edit2"), rightPanel());
    row->addWidget(findLimitBox_);
    row->addStretch(1);
    row->addWidget(MakeLabel(QStringLiteral("Label5"), QStringLiteral("g ="), rightPanel()));
    row->addWidget(limitEdit_);
    lessonArea()->addLayout(row);
}

void SequenceWindow::buildN0Panel()
{
    n0Panel_ = new QWidget(rightPanel());
    n0Panel_->setObjectName(QStringLiteral("Panel4"));
    auto* grid = new QGridLayout(n0Panel_);
    grid->setContentsMargins(0, 4, 0, 4);
    grid->setHorizontalSpacing(4);
    markLimitBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Grenzwert markieren"), n0Panel_);
    findN0Box_ = MakeCheckBox(QStringLiteral("BitCheckBox3"), {}, n0Panel_);
    findN0Box_->setFixedWidth(18);
    auto* findN0Caption =
        MakeLabel(QStringLiteral("Label2"), QStringLiteral("n<sub>o</sub> bestimmen"), n0Panel_);
    new CaptionClicksBox(findN0Caption, findN0Box_);
    n0Label_ = MakeLabel(QStringLiteral("Label11"), QStringLiteral("?"), n0Panel_);
    auto* sentence = MakeLabel(QStringLiteral("n0Sentence"),
                               QStringLiteral("f\u00FCr alle&nbsp; n \u2265 n<sub>o</sub> gilt"), n0Panel_);
    auto* inequality = MakeLabel(QStringLiteral("n0Inequality"),
                                 QStringLiteral("| a<sub>n</sub> - g | &lt; \u03B5"), n0Panel_);

    grid->addWidget(markLimitBox_, 0, 0, 1, 4);
    grid->addWidget(findN0Box_, 1, 0);
    grid->addWidget(findN0Caption, 1, 1);
    grid->addWidget(MakeLabel(QStringLiteral("Label7"), QStringLiteral("n<sub>o</sub> ="), n0Panel_), 1, 2,
                    Qt::AlignRight);
    grid->addWidget(n0Label_, 1, 3);
    grid->addWidget(sentence, 2, 1, 1, 3);
    grid->addWidget(inequality, 3, 1, 1, 3);
    grid->setColumnStretch(3, 1);
    // Hidden until a limit is found, but always in its place: the example list above must not
    // grow or shrink under the pointer when a fetched term finds a limit or loses it.
    QSizePolicy keepsItsPlace = n0Panel_->sizePolicy();
    keepsItsPlace.setRetainSizeWhenHidden(true);
    n0Panel_->setSizePolicy(keepsItsPlace);
    n0Panel_->hide();
    lessonArea()->addWidget(n0Panel_);
}

void SequenceWindow::connectControls()
{
    connect(termField_, &TermField::termChanged, this, [this] { onTermChanged(); });
    const RedrawBinding bind(this, [this] { redraw(); });
    bind.colour(pointColourButton_, pointColor_);
    bind.colour(bandColourButton_, EpsilonColor);
    bind.flag(connectBox_, connectPoints_);
    bind.flag(findN0Box_, findN0_);
    bind.flag(markLimitBox_, markLimit_);
    bind.flag(numberLineBox_, numberLineMarks_);
    connect(findLimitBox_, &BitCheckBox::clicked, this, [this] { onFindLimitToggled(); });
    ConnectEditExit(limitEdit_, this, [this] { onLimitEntered(); });
    ConnectEditExit(epsilonMaxEdit_, this, [this] { onEpsilonMaxEntered(); });
    bind.row(epsilonRow_);
    BindTermExamples(examples_, termField_);
}

} // namespace kurvex

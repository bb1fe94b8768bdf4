// Curve-discussion window (TForm3): its controls, their layout and their connections.
#include "lessons/CurveDiscussionWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/TermField.h"
#include "lesson/TermRemarkExamples.h"
#include "lesson/ValueRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

void CurveDiscussionWindow::buildTermAndExamples()
{
    rightPanel()->setMinimumWidth(270);
    termField_ = new TermField(QStringLiteral("f(x) ="), "Label5", "Edit1", TermText, rightPanel());
    // The edit takes no more than the term variable keeps.
    termField_->edit()->setMaxLength(static_cast<int>(kMaxTermLength));
    lessonArea()->addWidget(termField_);
    examples_ = new TermRemarkExamples("Bsp1.txt", *termField_, "Label6", rightPanel());
    examples_->setMinimumHeight(150);
    lessonArea()->addWidget(examples_);
}

void CurveDiscussionWindow::buildPointRow()
{
    ValueRowBinding binding;
    binding.value = &CurrentX;
    binding.startValue = [] { return 0.0; };
    xRow_ = new ValueRow(*this, QStringLiteral("x ="), {"Label7", "Edit3", "SpeedButton13"},
                         std::move(binding), rightPanel());
    xSwitch_ = MakeAnimationSwitch(QStringLiteral("Switch4"), rightPanel());
    registerAnimationSwitch(xSwitch_);
    directionButton_ =
        MakeGlyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton2"), {}, rightPanel());

    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(xRow_);
    row->addStretch(1);
    row->addWidget(xSwitch_);
    row->addWidget(directionButton_);
    lessonArea()->addSpacing(6);
    lessonArea()->addLayout(row);
}

void CurveDiscussionWindow::buildOptions()
{
    firstBox_ = MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("f' "), rightPanel());
    secondBox_ = MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("f'' "), rightPanel());
    generateBox_ = MakeCheckBox(QStringLiteral("BitCheckBox3"), QStringLiteral("f' erzeugen"), rightPanel());
    triangleBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Steigungsdreieck"), rightPanel());
    auto* derivatives = new QHBoxLayout;
    derivatives->addWidget(firstBox_);
    derivatives->addWidget(secondBox_);
    derivatives->addWidget(generateBox_);
    derivatives->addStretch(1);
    lessonArea()->addLayout(derivatives);
    lessonArea()->addWidget(triangleBox_);

    firstLabel_ = MakeLabel(QStringLiteral("Label2"), {}, rightPanel());
    secondLabel_ = MakeLabel(QStringLiteral("Label3"), {}, rightPanel());
    for (QLabel* label : {firstLabel_, secondLabel_}) {
        // The values keep their lines whether shown or not, so nothing below them jumps.
        label->setMinimumHeight(label->fontMetrics().height());
        lessonArea()->addWidget(label);
    }
}

void CurveDiscussionWindow::connectControls()
{
    connect(termField_, &TermField::termChanged, this, [this] {
        termField_->use();
        fullRedraw();
    });
    connect(xRow_, &ValueRow::valueEntered, this, [this] { drawPicture(); });
    connect(xRow_, &ValueRow::resetDone, this, [this] { drawPicture(); });
    connect(xSwitch_, &ToggleSwitch::clicked, this, [this] { onAnimation(); });
    connect(directionButton_, &QToolButton::clicked, this, [this] { xAnimationStep_ = -xAnimationStep_; });
    const RedrawBinding redraw(this, [this] { fullRedraw(); });
    redraw.flag(firstBox_, showFirst_);
    redraw.flag(secondBox_, showSecond_);
    redraw.flag(triangleBox_, showTriangle_);
    connect(generateBox_, &BitCheckBox::clicked, this, [this] { onGenerateToggled(); });
}

} // namespace kurvex

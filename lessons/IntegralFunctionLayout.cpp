// Integral-function window (TForm7): its controls, their layout and their connections.
#include "lessons/IntegralFunctionWindow.h"

#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/TermField.h"
#include "lesson/TermRemarkExamples.h"
#include "lesson/ValueRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

namespace {

// Positions of both bars across the window: x from 1, x0 from 0, up to 200.
constexpr int kBarLast = 200;

ValueRowBinding limitBinding(double* value, int firstPosition)
{
    ValueRowBinding b;
    b.value = value;
    b.min = &XMin;
    b.max = &XMax;
    b.startValue = [] { return 0.0; };
    b.barGrid = [firstPosition](double min, double max) {
        return ValueBar{min, max, firstPosition, kBarLast};
    };
    return b;
}

} // namespace

void IntegralFunctionWindow::buildTermAndExamples()
{
    rightPanel()->setMinimumWidth(270);
    lessonArea()->addWidget(
        MakeLabel(QStringLiteral("Label1"), QStringLiteral("Randfunktion"), rightPanel()));
    termField_ = new TermField(QStringLiteral("f(t) ="), "Label5", "Edit1", TermOfT, rightPanel());
    lessonArea()->addWidget(termField_);
    examples_ = new TermRemarkExamples("Bsp2.txt", *termField_, "Label6", rightPanel());
    examples_->setMinimumHeight(150);
    lessonArea()->addWidget(examples_);
}

void IntegralFunctionWindow::buildLimitRows()
{
    xRow_ = new ValueRow(*this, QStringLiteral("x ="), {"Label3", "Edit4", "SpeedButton13", "ScrollBar1"},
                         limitBinding(&CurrentX, 1), rightPanel());
    xSwitch_ = MakeAnimationSwitch(QStringLiteral("Switch1"), rightPanel());
    registerAnimationSwitch(xSwitch_);
    directionButton_ =
        MakeGlyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton2"), {}, rightPanel());
    auto* animation = new QHBoxLayout;
    animation->addStretch(1);
    animation->addWidget(xSwitch_);
    animation->addWidget(directionButton_);
    lessonArea()->addSpacing(6);
    lessonArea()->addWidget(xRow_);
    lessonArea()->addLayout(animation);

    ValueRowBinding lower = limitBinding(&lowerLimit_, 0);
    // Reset puts x0 at 0 itself, not at the bar position nearest to it.
    lower.resetKeepsValue = true;
    lowerRow_ =
        new ValueRow(*this, QStringLiteral("x<sub>o</sub> ="),
                     {"Label4", "Edit3", "SpeedButton6", "ScrollBar2"}, std::move(lower), rightPanel());
    lessonArea()->addWidget(lowerRow_);
}

void IntegralFunctionWindow::buildValueRow()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(3);
    row->addWidget(MakeLabel(QStringLiteral("Label7"), QStringLiteral("F (x) ="), rightPanel()));
    auto* sign = MakeLabel(QStringLiteral("Label8"), QStringLiteral("\u222B"), rightPanel());
    QFont signFont = sign->font();
    signFont.setPixelSize(32);
    sign->setFont(signFont);
    row->addWidget(sign);
    row->addWidget(MakeLabel(QStringLiteral("Label9"), QStringLiteral("f (t) dt ="), rightPanel()));
    valueLabel_ = MakeLabel(QStringLiteral("Label2"), {}, rightPanel());
    row->addWidget(valueLabel_, 1);
    lessonArea()->addSpacing(6);
    lessonArea()->addLayout(row);
}

void IntegralFunctionWindow::connectControls()
{
    connect(termField_, &TermField::termChanged, this, [this] {
        termField_->use();
        fullRedraw();
    });
    RedrawBinding(this, [this] { drawPicture(); }).row(xRow_);
    // x0 changes F everywhere: the lower pane's curve is drawn anew.
    RedrawBinding(this, [this] { fullRedraw(); }).row(lowerRow_);
    connect(xSwitch_, &ToggleSwitch::clicked, this, [this] { onAnimation(); });
    connect(directionButton_, &QToolButton::clicked, this, [this] { xAnimationStep_ = -xAnimationStep_; });
}

} // namespace kurvex

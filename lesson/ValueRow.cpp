// One value of a lesson window with its controls.
#include "lesson/ValueRow.h"

#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "lesson/ControlFactory.h"
#include "lesson/LessonWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace kurvex {

namespace {

QString name(const char* n)
{
    return QString::fromLatin1(n);
}

// Sets a flag for its lifetime, so that no path can leave it set.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(std::exchange(flag, true)) {}
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

} // namespace

ValueRow::ValueRow(LessonWindow& window, const QString& caption, const ValueRowNames& names,
                   ValueRowBinding binding, QWidget* parent)
    : QWidget(parent), window_(window), binding_(std::move(binding))
{
    if (!binding_.barGrid) {
        binding_.barGrid = [](double min, double max) { return ValueBar{min, max, 1, AnimationSteps}; };
    }
    caption_ = MakeLabel(name(names.caption), caption, this);
    caption_->setMinimumWidth(26);
    value_ = MakeNumberEdit(name(names.value), this);
    ConnectEditExit(value_, this, [this] { onValueExit(); });
    if (names.reset != nullptr) {
        reset_ = MakeGlyphButton(QStringLiteral("\u21BA"), name(names.reset),
                                 QStringLiteral("Anfangswerte setzen"), this);
        connect(reset_, &QToolButton::clicked, this, &ValueRow::onReset);
    }
    if (names.bar != nullptr) {
        bar_ = new QScrollBar(Qt::Horizontal, this);
        bar_->setObjectName(name(names.bar));
        bar_->setPageStep(1);
        bar_->setRange(grid().first, grid().maximum());
        connect(bar_, &QScrollBar::valueChanged, this, &ValueRow::onBarChanged);
    }
    if (names.min != nullptr && names.max != nullptr && binding_.min != nullptr && binding_.max != nullptr) {
        min_ = MakeNumberEdit(name(names.min), this);
        max_ = MakeNumberEdit(name(names.max), this);
        ConnectEditExit(min_, this, [this] { onRangeExit(min_, binding_.min); });
        ConnectEditExit(max_, this, [this] { onRangeExit(max_, binding_.max); });
    }
    if (names.toggle != nullptr) {
        toggle_ = MakeAnimationSwitch(name(names.toggle), this);
        window_.registerAnimationSwitch(toggle_);
        connect(toggle_, &ToggleSwitch::clicked, this, &ValueRow::onAnimationClicked);
    }
    if (names.direction != nullptr) {
        direction_ = MakeGlyphButton(QStringLiteral("\u21C4"), name(names.direction), {}, this);
        connect(direction_, &QToolButton::clicked, this, [this] { window_.reverseAnimation(); });
    }
    buildLayout();
}

void ValueRow::buildLayout()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    grid->addWidget(caption_, 0, 0);
    grid->addWidget(value_, 0, 1);
    if (reset_ != nullptr) {
        grid->addWidget(reset_, 0, 2);
    }
    if (toggle_ != nullptr) {
        grid->addWidget(toggle_, 0, 3, 1, 2, Qt::AlignRight);
    }
    if (direction_ != nullptr) {
        grid->addWidget(direction_, 0, 5);
    }
    if (min_ != nullptr) {
        grid->addWidget(min_, 1, 1);
        grid->addWidget(max_, 1, 5);
    }
    if (bar_ != nullptr) {
        grid->addWidget(bar_, 1, min_ != nullptr ? 2 : 1, 1, min_ != nullptr ? 3 : 5);
    }
    grid->setColumnStretch(4, 1);
}

ValueBar ValueRow::grid() const
{
    const double min = binding_.min != nullptr ? *binding_.min : 0.0;
    const double max = binding_.max != nullptr ? *binding_.max : 1.0;
    return binding_.barGrid(min, max);
}

void ValueRow::showValues()
{
    ShowNumber(value_, *binding_.value);
    if (min_ != nullptr) {
        ShowNumber(min_, *binding_.min);
        ShowNumber(max_, *binding_.max);
    }
}

void ValueRow::checkRange()
{
    if (binding_.min == nullptr || binding_.max == nullptr) {
        return;
    }
    const ParamRange start = binding_.startRange ? binding_.startRange() : ParamRange{};
    const ParamRange r = CheckedRange(*binding_.min, *binding_.max, start.min, start.max);
    *binding_.min = r.min;
    *binding_.max = r.max;
}

void ValueRow::setBarFromValue(BarSync sync)
{
    if (bar_ == nullptr) {
        return;
    }
    const ValueBar g = grid();
    if (sync == BarSync::Keep) {
        const FlagScope keep(keepValue_);
        bar_->setRange(g.first, g.maximum());
        bar_->setValue(g.position(*binding_.value));
        return;
    }
    bar_->setRange(g.first, g.maximum());
    bar_->setValue(g.position(*binding_.value));
}

void ValueRow::onBarChanged(int position)
{
    if (keepValue_) {
        return;
    }
    *binding_.value = grid().value(position);
    ShowNumber(value_, *binding_.value);
    emit barMoved();
}

void ValueRow::onValueExit()
{
    if (!ReadNumberEdit(value_, *binding_.value)) {
        return;
    }
    if (binding_.keepValueInRange) {
        pullValueIntoRange();
    }
    setBarFromValue(binding_.snapTypedValue ? BarSync::Snap : BarSync::Keep);
    emit valueEntered();
}

void ValueRow::onRangeExit(QLineEdit* edit, double* bound)
{
    const double old = *bound;
    if (!ReadNumberEdit(edit, *bound)) {
        return;
    }
    if (binding_.refuseEmptyRange && !(*binding_.min < *binding_.max)) {
        *bound = old;
        ShowNumber(edit, old);
        return;
    }
    if (binding_.keepValueInRange) {
        pullValueIntoRange();
    }
    emit rangeEntered();
}

void ValueRow::pullValueIntoRange()
{
    if (binding_.min == nullptr || binding_.max == nullptr || !(*binding_.min < *binding_.max)) {
        return;
    }
    const double inside = std::clamp(*binding_.value, *binding_.min, *binding_.max);
    if (inside != *binding_.value) {
        *binding_.value = inside;
        ShowNumber(value_, inside);
    }
}

void ValueRow::onReset()
{
    if (binding_.startValue) {
        *binding_.value = binding_.startValue();
    }
    if (binding_.min != nullptr && binding_.max != nullptr && binding_.startRange) {
        const ParamRange start = binding_.startRange();
        const ParamRange r = CheckedRange(start.min, start.max, start.min, start.max);
        *binding_.min = r.min;
        *binding_.max = r.max;
    }
    showValues();
    setBarFromValue(binding_.resetKeepsValue ? BarSync::Keep : BarSync::Snap);
    emit resetDone();
}

void ValueRow::onAnimationClicked()
{
    AnimationTrack track;
    track.toggle = toggle_;
    track.frame = [this] {
        if (beforeAnimationStep) {
            beforeAnimationStep();
        }
        const double min = binding_.min != nullptr ? *binding_.min : 0.0;
        const double max = binding_.max != nullptr ? *binding_.max : 1.0;
        if (binding_.wholeStep != 0.0) {
            window_.advanceAnimationByWholeStep(*binding_.value, min, max);
        } else {
            window_.advanceAnimation(*binding_.value, min, max);
        }
        ShowNumber(value_, *binding_.value);
        if (afterAnimationStep) {
            afterAnimationStep();
        }
    };
    // The bar follows the value once the animation ends, and the value snaps to its grid.
    track.finished = [this] { setBarFromValue(BarSync::Snap); };
    const double span =
        binding_.min != nullptr && binding_.max != nullptr ? *binding_.max - *binding_.min : 1.0;
    window_.runAnimation(std::move(track), binding_.wholeStep != 0.0 ? binding_.wholeStep : span);
}

} // namespace kurvex

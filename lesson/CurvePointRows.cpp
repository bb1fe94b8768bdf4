// The rows that switch on and colour a window's marks of high, low and inflection points.
#include "lesson/CurvePointRows.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "lesson/ControlFactory.h"

#include <QGridLayout>

namespace kurvex {

namespace {

std::size_t indexOf(SpecialPointKind kind)
{
    switch (kind) {
    case SpecialPointKind::High:
        return 0;
    case SpecialPointKind::Low:
        return 1;
    case SpecialPointKind::Inflection:
        break;
    }
    return 2;
}

} // namespace

CurvePointRows::CurvePointRows(const std::array<CurvePointRowNames, 3>& names, const SpecialPointStyle& start,
                               QWidget* parent)
    : QWidget(parent), style_(start)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    TColor* colours[3] = {&style_.highColor, &style_.lowColor, &style_.inflectionColor};
    for (std::size_t i = 0; i < 3; ++i) {
        buttons_[i] = MakeColorButton(QString::fromLatin1(names[i].colourButton), {}, this);
        buttons_[i]->setSelectionColor(*colours[i]);
        boxes_[i] = MakeCheckBox(QString::fromLatin1(names[i].box), names[i].caption, this);
        grid->addWidget(buttons_[i], static_cast<int>(i), 0);
        grid->addWidget(boxes_[i], static_cast<int>(i), 1);
        connect(boxes_[i], &BitCheckBox::clicked, this, &CurvePointRows::shownChanged);
        connect(buttons_[i], &ColorButton::changed, this, [this, i, colour = colours[i]] {
            *colour = buttons_[i]->SelectionColor();
            emit coloursChanged();
        });
    }
    grid->setColumnStretch(1, 1);
}

SpecialPointKinds CurvePointRows::shown() const
{
    return {boxes_[0]->Checked(), boxes_[1]->Checked(), boxes_[2]->Checked()};
}

bool CurvePointRows::anyShown() const
{
    const SpecialPointKinds k = shown();
    return k.high || k.low || k.inflection;
}

BitCheckBox* CurvePointRows::box(SpecialPointKind kind) const
{
    return boxes_[indexOf(kind)];
}

ColorButton* CurvePointRows::colourButton(SpecialPointKind kind) const
{
    return buttons_[indexOf(kind)];
}

} // namespace kurvex

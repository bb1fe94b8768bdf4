// The grid buttons of the fitting and regression windows.
#include "fitting/GridModeButtons.h"

#include "core/Settings.h"
#include "lesson/ControlFactory.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>

namespace kurvex {

GridModeButtons::GridModeButtons(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    // Glyphs: a plain box, a box with dotted lines, a box with solid lines.
    static constexpr std::array<const char*, 3> kGlyphs{"\u25A1", "\u2237", "\u25A6"};
    static constexpr std::array<const char*, 3> kNames{"SpeedButton50", "SpeedButton52", "SpeedButton53"};
    for (int i = 0; i < 3; ++i) {
        QToolButton* b = MakeGlyphButton(QString::fromUtf8(kGlyphs[static_cast<std::size_t>(i)]),
                                         QString::fromLatin1(kNames[static_cast<std::size_t>(i)]), {}, this);
        b->setCheckable(true);
        group_->addButton(b, i + 1);
        row->addWidget(b);
        buttons_[static_cast<std::size_t>(i)] = b;
    }
    row->addStretch(1);
    connect(group_, &QButtonGroup::idClicked, this, [this](int mode) {
        GridMode = mode;
        emit changed();
    });
    showMode();
}

void GridModeButtons::showMode()
{
    if (QAbstractButton* b = group_->button(GridMode)) {
        b->setChecked(true);
    }
}

} // namespace kurvex

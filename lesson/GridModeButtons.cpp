// The grid buttons: SpeedButton50, 52 and 53 over the shared GridMode.
#include "lesson/GridModeButtons.h"

#include "controls/Glyphs.h"
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
    static constexpr std::array<const char*, 3> kNames{"SpeedButton50", "SpeedButton52", "SpeedButton53"};
    // In the kit's glyph button (a taller row would crowd the fitting window's panel), with a rim
    // of the button around the white glyph, so the pressed one shows.
    const QSize glyph = kGlyphButtonSize - QSize(8, 8);
    for (int i = 0; i < 3; ++i) {
        QToolButton* b =
            MakeGlyphButton({}, QString::fromLatin1(kNames[static_cast<std::size_t>(i)]), {}, this);
        b->setIcon(GridGlyph(i + 1, glyph.width()));
        b->setIconSize(glyph);
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

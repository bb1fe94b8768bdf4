// The three buttons of a window's list of fixed objects.
#include "lesson/FixedObjectButtons.h"

#include "lesson/ControlFactory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace kurvex {

FixedObjectNames GraphObjectButtonNames()
{
    FixedObjectNames names;
    names.insert = "SpeedButton6";
    names.insertHint = QStringLiteral("Objekt einfügen");
    names.deleteLast = "SpeedButton12";
    names.deleteLastHint = QStringLiteral("Letztes Objekt in der Liste löschen");
    names.clearAll = "SpeedButton5";
    names.clearAllHint = QStringLiteral("alle Objekte löschen");
    return names;
}

FixedObjectButtons::FixedObjectButtons(const FixedObjectNames& names, QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    if (names.caption != nullptr) {
        row->addWidget(MakeLabel(QString::fromLatin1(names.caption), names.captionText, this));
    }
    insert_ = MakeGlyphButton(QStringLiteral("+"), QString::fromLatin1(names.insert), names.insertHint, this);
    deleteLast_ = MakeGlyphButton(QStringLiteral("\u2212"), QString::fromLatin1(names.deleteLast),
                                  names.deleteLastHint, this);
    clearAll_ = MakeGlyphButton(QStringLiteral("\u2715"), QString::fromLatin1(names.clearAll),
                                names.clearAllHint, this);
    for (QToolButton* b : {insert_, deleteLast_, clearAll_}) {
        row->addWidget(b);
    }
    row->addStretch(1);
    connect(insert_, &QToolButton::clicked, this, &FixedObjectButtons::insertClicked);
    connect(deleteLast_, &QToolButton::clicked, this, &FixedObjectButtons::deleteLastClicked);
    connect(clearAll_, &QToolButton::clicked, this, &FixedObjectButtons::clearAllClicked);
    setListFilled(false);
}

void FixedObjectButtons::setListFilled(bool filled)
{
    deleteLast_->setEnabled(filled);
    clearAll_->setEnabled(filled);
}

} // namespace kurvex

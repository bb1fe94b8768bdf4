// Example list panel: the list box of a window's examples with its fetch, add and delete buttons.
#include "lesson/ExampleListPanel.h"

#include "lesson/ControlFactory.h"
#include "platform/TextCodec.h"

#include "controls/EditRoutines.h"
#include "core/Settings.h"
#include "lesson/PrintExportHooks.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace kurvex {

namespace {

// The term part of an entry shows π and Φ; a remark after the ";" keeps its letters (a German Ö is
// the same byte as the term's Φ).
QString displayedEntry(const std::string& text)
{
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string::npos) {
        return TermToDisplay(text);
    }
    return TermToDisplay(text.substr(0, semicolon)) +
           QString::fromStdString(Cp1252ToUtf8(text.substr(semicolon)));
}

} // namespace

ExampleListPanel::ExampleListPanel(const std::string& fileName, ExampleFormat format, QWidget* parent,
                                   const ExampleListNames& names)
    : QWidget(parent), examples_(ProgramDir + fileName, std::move(format))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    column->addLayout(row);

    auto* fetch =
        MakeGlyphButton(QStringLiteral("\u2191"), names.fetch, QStringLiteral("Aus Liste holen"), this);
    auto* add =
        MakeGlyphButton(QStringLiteral("\u2193"), names.add, QStringLiteral("In Liste übernehmen"), this);
    removeButton_ =
        MakeGlyphButton(QStringLiteral("\u00D7"), names.remove, QStringLiteral("Eintrag löschen"), this);
    row->addWidget(fetch);
    row->addWidget(add);
    row->addWidget(removeButton_);
    if (!names.caption.isEmpty()) {
        auto* caption = new QLabel(QStringLiteral("Beispiele"), this);
        caption->setObjectName(names.caption);
        row->addSpacing(6);
        row->addWidget(caption);
    }
    row->addStretch(1);

    list_ = new QListWidget(this);
    list_->setObjectName(names.list);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const ExampleEntry& entry : examples_.entries()) {
        list_->addItem(displayedEntry(entry.text));
    }
    column->addWidget(list_, 1);
    updateRemoveButton();

    connect(fetch, &QToolButton::clicked, this, &ExampleListPanel::fetchSelected);
    connect(list_, &QListWidget::itemDoubleClicked, this, &ExampleListPanel::fetchSelected);
    connect(add, &QToolButton::clicked, this, &ExampleListPanel::addRequested);
    connect(removeButton_, &QToolButton::clicked, this, &ExampleListPanel::removeSelected);
    connect(list_, &QListWidget::itemSelectionChanged, this, &ExampleListPanel::updateRemoveButton);

    report(examples_.loadMessage());
}

int ExampleListPanel::selectedIndex() const
{
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.constFirst());
}

QString ExampleListPanel::displayed(const std::string& text) const
{
    return entriesAreTerms_ ? TermToDisplay(text) : displayedEntry(text);
}

void ExampleListPanel::setEntriesAreTerms(bool on)
{
    entriesAreTerms_ = on;
    for (int i = 0; i < list_->count(); ++i) {
        list_->item(i)->setText(displayed(examples_.entry(static_cast<std::size_t>(i)).text));
    }
}

AddResult ExampleListPanel::add(ExampleEntry entry)
{
    const QString shown = displayed(entry.text);
    const AddResult result = examples_.add(std::move(entry));
    if (result == AddResult::Added) {
        list_->addItem(shown);
    }
    return result;
}

bool ExampleListPanel::save()
{
    const std::string error = examples_.save();
    report(error);
    return error.empty();
}

void ExampleListPanel::fetchSelected()
{
    const int index = selectedIndex();
    if (index >= 0) {
        emit fetchRequested(index);
    }
}

void ExampleListPanel::removeSelected()
{
    const int index = selectedIndex();
    if (index < 0 || !examples_.remove(static_cast<std::size_t>(index))) {
        return;
    }
    delete list_->takeItem(index);
    // As after a fresh start: no entry selected, so a second click deletes nothing by surprise.
    list_->clearSelection();
    updateRemoveButton();
    emit entryRemoved(index);
}

void ExampleListPanel::updateRemoveButton()
{
    removeButton_->setEnabled(selectedIndex() >= 0);
}

void ExampleListPanel::report(const std::string& message)
{
    if (!message.empty()) {
        CurrentPrintExportHooks().showError(window(), QString::fromStdString(message));
    }
}

} // namespace kurvex

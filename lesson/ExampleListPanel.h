// Example list panel: the list box of a window's examples with its fetch, add and delete buttons.
#pragma once

#include "core/ExampleFile.h"

#include <QString>
#include <QWidget>

#include <string>

class QListWidget;
class QToolButton;

namespace kurvex {

// The component names of the panel's controls; windows that name them differently pass their own.
struct ExampleListNames {
    QString list = QStringLiteral("ListBox1");
    QString fetch = QStringLiteral("SpeedButton1");
    QString add = QStringLiteral("SpeedButton4");
    QString remove = QStringLiteral("SpeedButton5");
    QString caption = QStringLiteral("Label1"); // empty: no "Beispiele" caption
};

// Reads ProgramDir + fileName when made and reports a read fault once through the message hook
// of printing and export. The window answers addRequested with add(), applies the entry named by
// fetchRequested, and calls save() when it closes.
class ExampleListPanel : public QWidget {
    Q_OBJECT
public:
    ExampleListPanel(const std::string& fileName, ExampleFormat format, QWidget* parent = nullptr,
                     const ExampleListNames& names = {});

    const ExampleFile& examples() const { return examples_; }
    QListWidget* listBox() const { return list_; }
    // The selected entry, or -1.
    int selectedIndex() const;

    // Appends the entry to the file's list and the list box unless a rule refuses it.
    AddResult add(ExampleEntry entry);
    // Writes the file; a failure is shown. Returns false when the list could not be saved.
    bool save();
    // Entries made of terms throughout ("f1;f2") show π and Φ in every part; by default the part
    // after the first ";" is a remark that keeps its own letters.
    void setEntriesAreTerms(bool on);

signals:
    // "Aus Liste holen" or a double click while an entry is selected.
    void fetchRequested(int index);
    // "In Liste übernehmen": the window composes the entry and calls add().
    void addRequested();
    // "Eintrag löschen" removed this entry.
    void entryRemoved(int index);

private:
    void fetchSelected();
    void removeSelected();
    void updateRemoveButton();
    void report(const std::string& message);

    QString displayed(const std::string& text) const;

    ExampleFile examples_;
    bool entriesAreTerms_ = false;
    QListWidget* list_ = nullptr;
    QToolButton* removeButton_ = nullptr;
};

} // namespace kurvex

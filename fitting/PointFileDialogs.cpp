// The dialogs of the point files.
#include "fitting/PointFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace kurvex {

namespace {

const QString kSaveTitle = QStringLiteral("Wertetabelle speichern");
const QString kOpenTitle = QStringLiteral("Wertetabelle holen");

// The position of a filter in the list; the dialog hands it back with its runs of blanks shown as one.
qsizetype filterIndex(const QStringList& filters, const QString& chosen)
{
    for (qsizetype i = 0; i < filters.size(); ++i) {
        if (filters[i].simplified() == chosen.simplified()) {
            return i;
        }
    }
    return 0;
}

std::optional<PointFileSaveChoice> realSaveDialog(QWidget* parent)
{
    const QStringList filters = PointFileSaveFilters();
    QFileDialog dialog(parent, kSaveTitle, QDir::currentPath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    // The suffix follows the filter, so the dialog's overwrite question is about the file written.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& f) {
        dialog.setDefaultSuffix(filterIndex(filters, f) == 0 ? QStringLiteral("dat") : QStringLiteral("txt"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    PointFileSaveChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.format = static_cast<PointFileFormat>(filterIndex(filters, dialog.selectedNameFilter()) + 1);
    // The next dialog starts in the folder chosen now.
    QDir::setCurrent(QFileInfo(choice.path).absolutePath());
    return choice;
}

std::optional<QString> realOpenDialog(QWidget* parent)
{
    QFileDialog dialog(parent, kOpenTitle, QDir::currentPath());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(PointFileOpenFilters());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    return path;
}

bool realReplaceQuestion(QWidget* parent, const QString& question)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(kSaveTitle);
    box.setText(question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    // German whether or not Qt's own translations are installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nein"));
    return box.exec() == QMessageBox::Yes;
}

void realMessage(QWidget* parent, const QString& message)
{
    QMessageBox::warning(parent, QStringLiteral("Kurvex"), message);
}

PointFileDialogs& installedDialogs()
{
    static PointFileDialogs dialogs{realSaveDialog, realOpenDialog, realReplaceQuestion, realMessage};
    return dialogs;
}

} // namespace

QStringList PointFileSaveFilters()
{
    return {QStringLiteral("eigenes Format   (*.dat)"),
            QStringLiteral("Messwerte:   1,5 Tab 3,5     Excel-Tabelle (*.txt)"),
            QStringLiteral("Messwerte:   1.5 Tab 3.5    (*.txt)"),
            QStringLiteral("Messwerte:      1,5 ; 3,5       (*.txt)"),
            QStringLiteral("Messwerte:      1.5 ; 3.5       (*.txt)")};
}

QStringList PointFileOpenFilters()
{
    return {QStringLiteral("Messtabelle (eigenes Format)   (*.dat)"),
            QStringLiteral("Messwerte:  x Seperator y  (*.txt)")};
}

const PointFileDialogs& CurrentPointFileDialogs()
{
    return installedDialogs();
}

ScopedPointFileDialogs::ScopedPointFileDialogs(PointFileDialogs dialogs) : previous_(installedDialogs())
{
    PointFileDialogs& current = installedDialogs();
    if (dialogs.chooseSaveFile) {
        current.chooseSaveFile = std::move(dialogs.chooseSaveFile);
    }
    if (dialogs.chooseOpenFile) {
        current.chooseOpenFile = std::move(dialogs.chooseOpenFile);
    }
    if (dialogs.confirmReplace) {
        current.confirmReplace = std::move(dialogs.confirmReplace);
    }
    if (dialogs.showMessage) {
        current.showMessage = std::move(dialogs.showMessage);
    }
}

ScopedPointFileDialogs::~ScopedPointFileDialogs()
{
    installedDialogs() = std::move(*previous_);
}

} // namespace kurvex

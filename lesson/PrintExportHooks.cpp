// Replaceable dialogs of printing and metafile export, so tests can run them without a user.
#include "lesson/PrintExportHooks.h"

#include "lesson/DocumentOpener.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace kurvex {

namespace {

const QString kSaveTitle = QStringLiteral("Erstellte Grafik speichern");
const QString kWmfFilter = QStringLiteral("Windows Metadatei (*.wmf)");
const QString kEmfFilter = QStringLiteral("Enhanced Metadatei (*.emf)");

std::optional<SaveChoice> showSaveDialog(QWidget* parent)
{
    QFileDialog dialog(parent, kSaveTitle, QDir::currentPath());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kWmfFilter, kEmfFilter});
    dialog.setDefaultSuffix(QStringLiteral("wmf"));
    // The suffix follows the filter, so the dialog's own overwrite question is about the file
    // that will be written.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == kEmfFilter ? QStringLiteral("emf") : QStringLiteral("wmf"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    SaveChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    // The next save starts in the folder chosen now.
    QDir::setCurrent(QFileInfo(choice.path).absolutePath());
    choice.kind = dialog.selectedNameFilter() == kEmfFilter ? MetafileKind::Emf : MetafileKind::Wmf;
    return choice;
}

bool askReplace(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, kSaveTitle, question, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool askFitToPage(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Drucken"), question, QMessageBox::NoButton,
                    parent);
    QPushButton* print = box.addButton(QStringLiteral("Verkleinert drucken"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(print);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == print;
}

void showMessage(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kurvex"), message, QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool showPrintDialog(QWidget* parent, QPrinter& printer)
{
    const std::unique_ptr<QPrintDialog> dialog = MakePrinterSetupDialog(printer, parent);
    return dialog->exec() == QDialog::Accepted;
}

} // namespace

std::unique_ptr<QPrintDialog> MakePrinterSetupDialog(QPrinter& printer, QWidget* parent)
{
    // Qt's print dialog is the one that chooses a printer here; it only sets the printer up, so it
    // must not offer to print.
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setWindowTitle(QStringLiteral("Drucker einrichten"));
    if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setText(QStringLiteral("Übernehmen"));
        }
    }
    return dialog;
}

QString TemporaryFolder()
{
    // Qt gives an empty path for a TMPDIR that does not exist, which would mean the current folder.
    for (const QString& folder : {QDir::tempPath(), QStringLiteral("/tmp"), QStringLiteral("/var/tmp")}) {
        const QFileInfo info(folder);
        if (!folder.isEmpty() && info.isAbsolute() && info.isDir() && info.isWritable()) {
            return info.absoluteFilePath();
        }
    }
    return {};
}

namespace {

PrintExportHooks& installed()
{
    static PrintExportHooks hooks;
    return hooks;
}

PrintExportHooks withDefaults(PrintExportHooks hooks)
{
    if (!hooks.chooseFile) {
        hooks.chooseFile = showSaveDialog;
    }
    if (!hooks.confirmReplace) {
        hooks.confirmReplace = askReplace;
    }
    if (!hooks.showError) {
        hooks.showError = showMessage;
    }
    if (!hooks.confirmFitToPage) {
        hooks.confirmFitToPage = askFitToPage;
    }
    if (!hooks.setupPrinter) {
        hooks.setupPrinter = showPrintDialog;
    }
    if (!hooks.openDocument) {
        hooks.openDocument = OpenWithDesktop;
    }
    if (!hooks.documentFolder) {
        hooks.documentFolder = TemporaryFolder;
    }
    return hooks;
}

} // namespace

const PrintExportHooks& CurrentPrintExportHooks()
{
    PrintExportHooks& hooks = installed();
    if (!hooks.chooseFile) {
        hooks = withDefaults(hooks);
    }
    return hooks;
}

ScopedPrintExportHooks::ScopedPrintExportHooks(PrintExportHooks hooks) : previous_(installed())
{
    installed() = withDefaults(std::move(hooks));
}

ScopedPrintExportHooks::~ScopedPrintExportHooks()
{
    installed() = previous_;
}

} // namespace kurvex

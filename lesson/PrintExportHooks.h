// Replaceable dialogs of printing and metafile export, so tests can run them without a user.
#pragma once

#include "core/PrintGeometry.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QPrintDialog;
class QPrinter;
class QWidget;

namespace kurvex {

struct SaveChoice {
    QString path; // the file the user confirmed
    MetafileKind kind = MetafileKind::Wmf;
};

// An empty function means the real dialog or message box.
struct PrintExportHooks {
    // The save dialog; nothing when it was cancelled.
    std::function<std::optional<SaveChoice>(QWidget* parent)> chooseFile;
    // Whether an existing file other than the confirmed one may be replaced.
    std::function<bool(QWidget* parent, const QString& question)> confirmReplace;
    // A failed save or print.
    std::function<void(QWidget* parent, const QString& message)> showError;
    // Whether a picture too large for the page may be printed smaller; the question says by how much.
    std::function<bool(QWidget* parent, const QString& question)> confirmFitToPage;
    // The printer setup dialog on the application's printer; false when it was cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> setupPrinter;
    // An exported document opened with the desktop's application for it; done is called once, at
    // once or when the opener has finished, with false when none opened it.
    std::function<void(const QString& path, std::function<void(bool opened)> done)> openDocument;
    // The folder exported documents are written to: TemporaryFolder().
    std::function<QString()> documentFolder;
};

// The user's temporary folder (TMPDIR) when it exists and may be written, else /tmp or /var/tmp;
// empty when none of them does.
QString TemporaryFolder();

const PrintExportHooks& CurrentPrintExportHooks();

// The real printer setup dialog: Qt's print dialog titled and labelled as a setup that prints nothing.
std::unique_ptr<QPrintDialog> MakePrinterSetupDialog(QPrinter& printer, QWidget* parent);

// Installs hooks for its lifetime and puts the previous ones back.
class ScopedPrintExportHooks {
public:
    explicit ScopedPrintExportHooks(PrintExportHooks hooks);
    ~ScopedPrintExportHooks();
    ScopedPrintExportHooks(const ScopedPrintExportHooks&) = delete;
    ScopedPrintExportHooks& operator=(const ScopedPrintExportHooks&) = delete;

private:
    PrintExportHooks previous_;
};

} // namespace kurvex

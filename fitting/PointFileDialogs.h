// The dialogs of the point files: the save and open dialogs, the question before a file is
// replaced and the messages; replaceable, so tests run them without a user.
#pragma once

#include "core/PointFiles.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace kurvex {

struct PointFileSaveChoice {
    QString path;
    PointFileFormat format = PointFileFormat::Own;
};

struct PointFileDialogs {
    // "Wertetabelle speichern" with its five filters; nothing when cancelled.
    std::function<std::optional<PointFileSaveChoice>(QWidget* parent)> chooseSaveFile;
    // The open dialog with its two filters; nothing when cancelled.
    std::function<std::optional<QString>(QWidget* parent)> chooseOpenFile;
    // Whether an existing file other than the confirmed one may be replaced.
    std::function<bool(QWidget* parent, const QString& question)> confirmReplace;
    // A failed save or load, or a file that was cut.
    std::function<void(QWidget* parent, const QString& message)> showMessage;
};

// The dialogs in use: the real ones unless a test installed others.
const PointFileDialogs& CurrentPointFileDialogs();

// Puts dialogs in place for its lifetime; an empty function keeps the real dialog.
class ScopedPointFileDialogs {
public:
    explicit ScopedPointFileDialogs(PointFileDialogs dialogs);
    ~ScopedPointFileDialogs();
    ScopedPointFileDialogs(const ScopedPointFileDialogs&) = delete;
    ScopedPointFileDialogs& operator=(const ScopedPointFileDialogs&) = delete;

private:
    std::optional<PointFileDialogs> previous_;
};

// The filter captions, exactly as the dialogs show them.
QStringList PointFileSaveFilters();
QStringList PointFileOpenFilters();

} // namespace kurvex

// Opening an exported document with the desktop's application for it, with the opener's verdict.
#include "lesson/DocumentOpener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kurvex {

void OpenWithDesktop(const QString& path, std::function<void(bool opened)> done)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        // Qt's own launcher only says whether it could start one.
        done(QDesktopServices::openUrl(QUrl::fromLocalFile(path)));
        return;
    }
    // Owned by the application, so the opener may outlive the window that asked for it.
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process,
                     [process, done](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         done(status == QProcess::NormalExit && exitCode == 0);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, done](QProcess::ProcessError error) {
        // Only a failed start ends without finished().
        if (error == QProcess::FailedToStart) {
            process->deleteLater();
            done(false);
        }
    });
    process->start(opener, {path});
}

} // namespace kurvex

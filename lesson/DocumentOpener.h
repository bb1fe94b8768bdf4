// Opening an exported document with the desktop's application for it, with the opener's verdict.
#pragma once

#include <QString>

#include <functional>

namespace kurvex {

// Opens path with the desktop's opener and calls done once with whether it reported success.
// The opener (xdg-open where installed) is waited for without blocking the window: its exit code,
// not only its start, tells whether an application took the document.
void OpenWithDesktop(const QString& path, std::function<void(bool opened)> done);

} // namespace kurvex

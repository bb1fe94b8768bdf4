// A print job that may write a file (print to PDF): the file is replaced only by a complete document.
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QPrinter;

namespace kurvex {

// Runs print, which paints the whole job on the printer it is given and tells whether that went
// well. When printer writes a file (print to PDF), print gets a printer of the same settings that
// writes a temporary file; the file is then replaced from it as every other save replaces a file,
// and only when the document is complete, so a full disk or a folder without write access leaves
// the old file as it was. Nothing on success; else a German line that names the file and the
// cause, or an empty text when the printer gave no cause.
std::optional<QString> RunPrintJob(QPrinter& printer, const std::function<bool(QPrinter&)>& print);

} // namespace kurvex

// The one printer object of the application, shared by the settings dialog and every print.
#include "lesson/ApplicationPrinter.h"

#include <QPrinter>

namespace kurvex {

QPrinter& ApplicationPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace kurvex

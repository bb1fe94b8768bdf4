// The one printer object of the application, shared by the settings dialog and every print.
#pragma once

class QPrinter;

namespace kurvex {

// Created on first use and kept until the program ends, so a printer chosen in one dialog
// is the one the next print uses.
QPrinter& ApplicationPrinter();

} // namespace kurvex

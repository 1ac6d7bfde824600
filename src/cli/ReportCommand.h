#pragma once

#include "CliCommands.h"

namespace jt::cli {

// "report NAME FILE.dbf --pdf OUT.pdf": runs a report command of the Reports menu on a
// competition with the same gates and layout as the windowed program, and writes what
// it would have previewed or printed to a PDF file. Needs a QGuiApplication (fonts).
Command reportCommand();
// "pack FILE.dbf --pdf OUT.pdf": the marks pack of File > "Marks Pack to PDF...".
Command packCommand();

} // namespace jt::cli

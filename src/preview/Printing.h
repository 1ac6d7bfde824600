#pragma once

#include "platform/Dialogs.h"

#include <vector>

class QPrinter;
class QWidget;

namespace jt::render {
struct Document;
}

namespace jt::preview {

// The printer reports go to; printer set-up changes it for the rest of the run.
QPrinter& currentPrinter();
bool printerInstalled();

// Prints a laid-out report (see platform::PrintMode). Without a printer it says so and
// offers to save the report as a PDF file instead. Errors are shown, never thrown.
platform::PrintOutcome printDocument(const render::Document& document, platform::PrintMode mode,
                                     QWidget* parent);
// Prints each report as a print job of its own, leaving out those without pages, and
// stops at the first that is not printed. Without a printer it says so once and offers
// to save them all in one PDF file.
platform::PrintOutcome printDocuments(const std::vector<render::Document>& documents,
                                      platform::PrintMode mode, QWidget* parent);
// Without a printer: the message and the offer to save as PDF.
platform::PrintOutcome offerPdfInstead(const render::Document& document);
// Paints pages from..to (1-based) copies times onto a printer set up for the report.
void printPages(QPrinter& printer, const render::Document& document, int from, int to, int copies);
// The printer set-up dialog for the current printer.
void showPrinterSetup(QWidget* parent);

inline const QString kNoPagesText = QStringLiteral("The report has no pages to print.");
inline const QString kNoPrinterText =
    QStringLiteral("No printer is installed on this computer. Save the report as a PDF file "
                   "instead?");

} // namespace jt::preview

#include "Printing.h"

#include "platform/Guarded.h"
#include "render/Document.h"
#include "render/PdfOutput.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace jt::preview {

QPrinter& currentPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool printerInstalled() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

platform::PrintOutcome offerPdfInstead(const render::Document& document) {
    using namespace platform;
    if (dialogs().message(MessageType::Confirmation, kApplicationTitle, kNoPrinterText, Yes | No) !=
        Yes)
        return PrintOutcome::Cancelled;
    FileDialogOptions options;
    options.title = QStringLiteral("Save Report as PDF");
    options.filter = QStringLiteral("PDF files (*.pdf)");
    options.defaultSuffix = QStringLiteral("pdf");
    options.mustExist = false;
    const std::optional<QString> path = dialogs().saveFileName(options);
    if (!path)
        return PrintOutcome::Cancelled;
    return runGuarded([&] { render::writePdf(document, *path); }) ? PrintOutcome::SavedAsPdf
                                                                  : PrintOutcome::Failed;
}

void printPages(QPrinter& printer, const render::Document& document, int from, int to, int copies) {
    // Copies the driver does not make itself are printed one after another.
    render::Document job;
    job.title = document.title;
    job.orientation = document.orientation;
    const int repeats = printer.supportsMultipleCopies() ? 1 : std::max(1, copies);
    for (int c = 0; c < repeats; ++c)
        for (int p = std::max(1, from); p <= std::min(to, document.pageCount()); ++p)
            job.pages.push_back(document.pages[std::size_t(p - 1)]);
    render::paintPages(job, printer, 1, job.pageCount());
}

platform::PrintOutcome printDocument(const render::Document& document, platform::PrintMode mode,
                                     QWidget* parent) {
    using namespace platform;
    if (document.isEmpty()) {
        dialogs().message(MessageType::Information, kApplicationTitle, kNoPagesText, Ok);
        return PrintOutcome::Cancelled;
    }
    if (!printerInstalled())
        return offerPdfInstead(document);

    QPrinter& printer = currentPrinter();
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(document.orientation == render::Orientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    printer.setDocName(document.title);
    int from = 1;
    int to = document.pageCount();
    if (mode == PrintMode::Ask) {
        printer.setPrintRange(QPrinter::AllPages);
        printer.setFromTo(0, 0);
        QPrintDialog dialog(&printer, parent);
        dialog.setMinMax(1, document.pageCount());
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
        if (dialog.exec() != QDialog::Accepted)
            return PrintOutcome::Cancelled;
        if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
            from = printer.fromPage();
            to = printer.toPage();
        }
    } else {
        printer.setCopyCount(1);
        printer.setPrintRange(QPrinter::AllPages);
    }
    const bool ok = runGuarded([&] {
        printPages(printer, document, from, to, printer.copyCount());
        if (printer.printerState() == QPrinter::Error)
            throw std::runtime_error("The printer reported an error; the report was not printed");
    });
    return ok ? PrintOutcome::Printed : PrintOutcome::Failed;
}

platform::PrintOutcome printDocuments(const std::vector<render::Document>& documents,
                                      platform::PrintMode mode, QWidget* parent) {
    using namespace platform;
    std::vector<render::Document> jobs;
    for (const render::Document& document : documents)
        if (!document.isEmpty())
            jobs.push_back(document);
    if (jobs.empty()) {
        dialogs().message(MessageType::Information, kApplicationTitle, kNoPagesText, Ok);
        return PrintOutcome::Cancelled;
    }
    if (!printerInstalled())
        return offerPdfInstead(render::joinDocuments(jobs));
    for (const render::Document& job : jobs)
        if (const PrintOutcome outcome = printDocument(job, mode, parent);
            outcome != PrintOutcome::Printed)
            return outcome;
    return PrintOutcome::Printed;
}

void showPrinterSetup(QWidget* parent) {
    if (!printerInstalled()) {
        platform::dialogs().message(platform::MessageType::Information, platform::kApplicationTitle,
                                    QStringLiteral("No printer is installed on this computer."),
                                    platform::Ok);
        return;
    }
    QPageSetupDialog dialog(&currentPrinter(), parent);
    dialog.exec();
}

} // namespace jt::preview

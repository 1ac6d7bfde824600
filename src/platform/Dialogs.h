#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace jt::render {
struct Document;
}

namespace jt::platform {

enum class MessageType { Information, Warning, Error, Confirmation };

// Buttons of a message box; combine with |.
enum Button : int { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };
using Buttons = int;

struct FileDialogOptions {
    QString title;
    QString folder;              // initial folder
    QString filter;              // "Competition Tables (*.dbf)"
    QString defaultSuffix;       // "dbf"
    bool mustExist = true;       // the file and its folder must exist
    bool refuseReadOnly = false; // read-only files cannot be chosen
};

// How a laid-out report goes to the printer: Ask shows the print dialog (printer,
// copies, page range) in the report's orientation; Direct prints one copy of every page
// on the current printer without a dialog.
enum class PrintMode { Ask, Direct };
enum class PrintOutcome { Printed, SavedAsPdf, Cancelled, Failed };

// Every message box, file dialog, input box, report preview and print job of the
// program goes through the one Dialogs object, so tests can answer them by script (see
// tests/support).
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Returns the button pressed (Cancel or No when the box was closed otherwise).
    virtual Button message(MessageType type, const QString& title, const QString& text,
                           Buttons buttons) = 0;
    // The chosen file's path, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(const FileDialogOptions& options) = 0;
    // The text typed, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& initial) = 0;
    // The file to write, or nothing when the user cancelled.
    virtual std::optional<QString> saveFileName(const FileDialogOptions& options) = 0;
    // Shows a laid-out report in the preview window; returns when the user closed it.
    virtual void preview(const render::Document& document) = 0;
    // Prints a laid-out report. Without a printer the user is told so and offered to
    // save it as a PDF file instead.
    virtual PrintOutcome print(const render::Document& document, PrintMode mode) = 0;
    // Prints laid-out reports one after another, each a print job of its own (reports
    // without pages are left out); stops at the first that is not printed. Without a
    // printer the user is told so once and offered to save them all in one PDF file.
    virtual PrintOutcome printEach(const std::vector<render::Document>& documents,
                                   PrintMode mode) = 0;
    // The printer set-up dialog: which printer, paper and orientation.
    virtual void printerSetup() = 0;
};

// The program's dialogs. The windowed program installs real widgets at start-up, tests
// install a script; with none installed, boxes are written to standard error.
Dialogs& dialogs();
// Installs an implementation; nullptr goes back to standard error. The caller keeps ownership.
void setDialogs(Dialogs* dialogs);

// The application title that message boxes carry.
inline const QString kApplicationTitle = QStringLiteral("Jigtally 2008");

// The general error display: a box titled "Jigtally 2008" with an error icon, an OK
// button and the text, a full stop added where the text does not end in one.
void showError(const QString& text);
// The text as the general error display shows it.
QString errorDisplayText(const QString& text);

} // namespace jt::platform

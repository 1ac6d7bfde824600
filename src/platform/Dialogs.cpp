#include "Dialogs.h"

#include <QTextStream>

namespace jt::platform {
namespace {
Dialogs* installed = nullptr;
} // namespace

// Without a window system (the command-line program) boxes go to standard error and
// are answered with their safe choice: OK, No or Cancel.
class ConsoleDialogs final : public Dialogs {
public:
    Button message(MessageType, const QString& title, const QString& text,
                   Buttons buttons) override {
        QTextStream(stderr) << title << ": " << text << "\n";
        if (buttons & Ok)
            return Ok;
        return (buttons & No) ? No : Cancel;
    }
    std::optional<QString> openFileName(const FileDialogOptions&) override { return std::nullopt; }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const FileDialogOptions&) override { return std::nullopt; }
    void preview(const render::Document&) override {
        QTextStream(stderr) << kApplicationTitle
                            << ": a report cannot be previewed without a window\n";
    }
    PrintOutcome print(const render::Document&, PrintMode) override {
        QTextStream(stderr) << kApplicationTitle << ": a report cannot be printed from here\n";
        return PrintOutcome::Failed;
    }
    PrintOutcome printEach(const std::vector<render::Document>&, PrintMode) override {
        QTextStream(stderr) << kApplicationTitle << ": reports cannot be printed from here\n";
        return PrintOutcome::Failed;
    }
    void printerSetup() override {}
};

Dialogs& dialogs() {
    if (installed)
        return *installed;
    static ConsoleDialogs console;
    return console;
}

void setDialogs(Dialogs* dialogs) {
    installed = dialogs;
}

QString errorDisplayText(const QString& text) {
    // A full stop is added when the last character sorts after '.', so texts ending in
    // '.', ',', '-', ' ' or '!' (all before it) keep their ending.
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void showError(const QString& text) {
    dialogs().message(MessageType::Error, kApplicationTitle, errorDisplayText(text), Ok);
}

} // namespace jt::platform

#include "Guarded.h"

#include "Dialogs.h"

#include <QTextStream>

namespace jt::platform {

QString currentExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        // Every error of the program (the table engine's included) carries its text as UTF-8.
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void reportCurrentException() noexcept {
    try {
        showError(currentExceptionText());
    } catch (...) {
        // The box itself failed: there is nowhere left to show it but standard error.
        try {
            QTextStream(stderr) << kApplicationTitle << ": " << currentExceptionText() << "\n";
        } catch (...) {
        }
    }
}

} // namespace jt::platform

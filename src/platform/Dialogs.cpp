#include "Dialogs.h"

#include "WidgetDialogs.h"

namespace jt::platform {
namespace {
Dialogs* installed = nullptr;
} // namespace

Dialogs& dialogs() {
    if (installed)
        return *installed;
    static WidgetDialogs widgets;
    return widgets;
}

void setDialogs(Dialogs* dialogs) { installed = dialogs; }

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

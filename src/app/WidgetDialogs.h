#pragma once

#include "platform/Dialogs.h"

namespace jt::platform {

// The file at `path`, found without regard to the letter case of its name, as the
// program finds its tables everywhere else; nothing when there is no such file.
std::optional<QString> existingFileIgnoringCase(const QString& path);

// Dialogs shown with real Qt widgets.
class WidgetDialogs final : public Dialogs {
public:
    Button message(MessageType type, const QString& title, const QString& text,
                   Buttons buttons) override;
    std::optional<QString> openFileName(const FileDialogOptions& options) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
    std::optional<QString> saveFileName(const FileDialogOptions& options) override;
    void preview(const render::Document& document) override;
    PrintOutcome print(const render::Document& document, PrintMode mode) override;
    void printerSetup() override;
};

} // namespace jt::platform

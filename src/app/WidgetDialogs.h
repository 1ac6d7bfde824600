#pragma once

#include "platform/Dialogs.h"

namespace jt::platform {

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

#pragma once

#include "platform/Dialogs.h"

#include <QPointer>
#include <QWidget>

namespace jt::platform {

// The file at `path`, found without regard to the letter case of its name, as the
// program finds its tables everywhere else; nothing when there is no such file.
std::optional<QString> existingFileIgnoringCase(const QString& path);

// Dialogs shown with real Qt widgets, in front of the active window.
class WidgetDialogs final : public Dialogs {
public:
    // The window the dialogs belong to while no window is active: the splash window
    // during start-up, which stays on top of every other window, so a box that did not
    // belong to it would open hidden under it.
    void setFallbackParent(QWidget* window) { m_fallback = window; }

    Button message(MessageType type, const QString& title, const QString& text,
                   Buttons buttons) override;
    std::optional<QString> openFileName(const FileDialogOptions& options) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
    std::optional<QString> saveFileName(const FileDialogOptions& options) override;
    void preview(const render::Document& document) override;
    PrintOutcome print(const render::Document& document, PrintMode mode) override;
    PrintOutcome printEach(const std::vector<render::Document>& documents, PrintMode mode) override;
    void printerSetup() override;

private:
    QWidget* parent() const;

    QPointer<QWidget> m_fallback;
};

} // namespace jt::platform

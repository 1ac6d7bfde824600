#include "WidgetDialogs.h"

#include "engine/AliasRegistry.h"
#include "preview/PreviewWindow.h"
#include "preview/Printing.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

namespace jt::platform {

std::optional<QString> existingFileIgnoringCase(const QString& path) {
    const QFileInfo info(path);
    if (info.fileName().isEmpty() || !QFileInfo(info.absolutePath()).isDir())
        return std::nullopt;
    const QFileInfo found(engine::findFileIgnoringCase(info.absolutePath(), info.fileName()));
    if (!found.isFile())
        return std::nullopt;
    return found.filePath();
}

namespace {

// While a dialog is up in front of the start-up window, that window gives up its place
// on top of all others (where a window manager keeps such windows above every other, a
// dialog belonging to it would still open under it), and takes it back afterwards.
class OnTopLifted final {
public:
    explicit OnTopLifted(QWidget* window) {
        QWindow* handle = window ? window->windowHandle() : nullptr;
        if (!handle || !(handle->flags() & Qt::WindowStaysOnTopHint))
            return;
        m_window = handle;
        handle->setFlags(handle->flags() & ~Qt::WindowStaysOnTopHint);
    }
    ~OnTopLifted() {
        if (m_window)
            m_window->setFlags(m_window->flags() | Qt::WindowStaysOnTopHint);
    }
    OnTopLifted(const OnTopLifted&) = delete;
    OnTopLifted& operator=(const OnTopLifted&) = delete;

private:
    QPointer<QWindow> m_window;
};

} // namespace

QWidget* WidgetDialogs::parent() const {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_fallback;
}

Button WidgetDialogs::message(MessageType type, const QString& title, const QString& text,
                              Buttons buttons) {
    QWidget* const owner = parent();
    const OnTopLifted lifted(owner == m_fallback ? owner : nullptr);
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    switch (type) {
    case MessageType::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageType::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageType::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageType::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons standard;
    if (buttons & Ok)
        standard |= QMessageBox::Ok;
    if (buttons & Cancel)
        standard |= QMessageBox::Cancel;
    if (buttons & Yes)
        standard |= QMessageBox::Yes;
    if (buttons & No)
        standard |= QMessageBox::No;
    box.setStandardButtons(standard);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Ok;
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    case QMessageBox::Cancel:
        return Cancel;
    default:
        return (buttons & No) ? No : Cancel;
    }
}

std::optional<QString> WidgetDialogs::openFileName(const FileDialogOptions& options) {
    QWidget* const owner = parent();
    const OnTopLifted lifted(owner == m_fallback ? owner : nullptr);
    QFileDialog dialog(owner, options.title, options.folder, options.filter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The dialog itself would match a typed name with letter case; the existence check
    // is made here instead, without it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return std::nullopt;
        QString file = files.first();
        if (options.mustExist) {
            const std::optional<QString> existing = existingFileIgnoringCase(file);
            if (!existing) {
                QMessageBox::warning(&dialog, options.title,
                                     QStringLiteral("%1\nFile not found.\nPlease verify the "
                                                    "correct file name was given.")
                                         .arg(QFileInfo(file).fileName()));
                continue;
            }
            file = *existing;
        }
        if (options.refuseReadOnly && QFileInfo(file).exists() && !QFileInfo(file).isWritable()) {
            QMessageBox::warning(&dialog, options.title,
                                 QStringLiteral("%1 is read-only. Choose another file.").arg(file));
            continue;
        }
        return file;
    }
    return std::nullopt;
}

std::optional<QString> WidgetDialogs::inputBox(const QString& caption, const QString& prompt,
                                               const QString& initial) {
    bool ok = false;
    QWidget* const owner = parent();
    const OnTopLifted lifted(owner == m_fallback ? owner : nullptr);
    const QString text =
        QInputDialog::getText(owner, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::saveFileName(const FileDialogOptions& options) {
    QFileDialog dialog(QApplication::activeWindow(), options.title, options.folder, options.filter);
    dialog.setDefaultSuffix(options.defaultSuffix);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void WidgetDialogs::preview(const render::Document& document) {
    preview::showPreview(document);
}

PrintOutcome WidgetDialogs::print(const render::Document& document, PrintMode mode) {
    return preview::printDocument(document, mode, QApplication::activeWindow());
}

PrintOutcome WidgetDialogs::printEach(const std::vector<render::Document>& documents,
                                      PrintMode mode) {
    return preview::printDocuments(documents, mode, QApplication::activeWindow());
}

void WidgetDialogs::printerSetup() {
    preview::showPrinterSetup(QApplication::activeWindow());
}

} // namespace jt::platform

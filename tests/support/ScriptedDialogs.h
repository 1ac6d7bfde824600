#pragma once

#include "platform/Dialogs.h"
#include "render/Document.h"

#include <QList>
#include <QQueue>

#include <functional>

namespace jt::test {

// Answers the program's dialogs from a script and records what was shown. A dialog
// with no answer queued fails the test (it would have waited for a person).
class ScriptedDialogs final : public platform::Dialogs {
public:
    struct Shown {
        platform::MessageType type;
        QString title;
        QString text;
        platform::Buttons buttons;
    };

    ScriptedDialogs() { platform::setDialogs(this); }
    ~ScriptedDialogs() override { platform::setDialogs(nullptr); }

    void answerMessage(platform::Button button) { m_messageAnswers.enqueue(button); }
    void answerFile(const std::optional<QString>& path) { m_fileAnswers.enqueue(path); }
    void answerInput(const std::optional<QString>& text) { m_inputAnswers.enqueue(text); }
    void answerSaveFile(const std::optional<QString>& path) { m_saveAnswers.enqueue(path); }
    // The answer of the next print dialog (a direct print needs none: it prints).
    void answerPrint(platform::PrintOutcome outcome) { m_printAnswers.enqueue(outcome); }
    // Runs while a preview "is open", as the user looking at it (the procedure that
    // opened it is waiting meanwhile).
    void whilePreviewing(std::function<void(const render::Document&)> look) {
        m_whilePreviewing = std::move(look);
    }

    // Hands printEach to another printer, such as the preview's own printing, so a test
    // sees what a person would see with that printer set-up. Without one, printEach
    // records each report as print does.
    void printEachThrough(std::function<platform::PrintOutcome(const std::vector<render::Document>&,
                                                               platform::PrintMode)>
                              printer) {
        m_printEachThrough = std::move(printer);
    }

    // Runs as each message box is shown, to see the program's state at that moment.
    void onMessage(std::function<void(const Shown&)> look) { m_onMessage = std::move(look); }

    platform::Button message(platform::MessageType type, const QString& title, const QString& text,
                             platform::Buttons buttons) override;
    std::optional<QString> openFileName(const platform::FileDialogOptions& options) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
    std::optional<QString> saveFileName(const platform::FileDialogOptions& options) override;
    void preview(const render::Document& document) override;
    platform::PrintOutcome print(const render::Document& document,
                                 platform::PrintMode mode) override;
    platform::PrintOutcome printEach(const std::vector<render::Document>& documents,
                                     platform::PrintMode mode) override;
    void printerSetup() override { ++m_printerSetups; }

    struct Printed {
        render::Document document;
        platform::PrintMode mode;
    };
    const QList<render::Document>& previews() const { return m_previews; }
    const QList<Printed>& printed() const { return m_printed; }
    const QList<platform::FileDialogOptions>& saveDialogs() const { return m_saveDialogs; }
    int printerSetups() const { return m_printerSetups; }

    const QList<Shown>& messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QList<platform::FileDialogOptions>& fileDialogs() const { return m_fileDialogs; }
    QStringList inputPrompts() const { return m_inputPrompts; }
    // True when every queued answer was used.
    bool allAnswered() const {
        return m_messageAnswers.isEmpty() && m_fileAnswers.isEmpty() && m_inputAnswers.isEmpty() &&
               m_saveAnswers.isEmpty() && m_printAnswers.isEmpty();
    }
    void clear();

private:
    QQueue<platform::Button> m_messageAnswers;
    QQueue<std::optional<QString>> m_fileAnswers;
    QQueue<std::optional<QString>> m_inputAnswers;
    QList<Shown> m_messages;
    QList<platform::FileDialogOptions> m_fileDialogs;
    QStringList m_inputPrompts;
    QQueue<std::optional<QString>> m_saveAnswers;
    QQueue<platform::PrintOutcome> m_printAnswers;
    QList<platform::FileDialogOptions> m_saveDialogs;
    QList<render::Document> m_previews;
    QList<Printed> m_printed;
    std::function<void(const render::Document&)> m_whilePreviewing;
    std::function<void(const Shown&)> m_onMessage;
    std::function<platform::PrintOutcome(const std::vector<render::Document>&, platform::PrintMode)>
        m_printEachThrough;
    int m_printerSetups = 0;
};

} // namespace jt::test

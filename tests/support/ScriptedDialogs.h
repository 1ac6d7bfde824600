#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QQueue>

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

    platform::Button message(platform::MessageType type, const QString& title, const QString& text,
                             platform::Buttons buttons) override;
    std::optional<QString> openFileName(const platform::FileDialogOptions& options) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;

    const QList<Shown>& messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QList<platform::FileDialogOptions>& fileDialogs() const { return m_fileDialogs; }
    QStringList inputPrompts() const { return m_inputPrompts; }
    // True when every queued answer was used.
    bool allAnswered() const {
        return m_messageAnswers.isEmpty() && m_fileAnswers.isEmpty() && m_inputAnswers.isEmpty();
    }
    void clear();

private:
    QQueue<platform::Button> m_messageAnswers;
    QQueue<std::optional<QString>> m_fileAnswers;
    QQueue<std::optional<QString>> m_inputAnswers;
    QList<Shown> m_messages;
    QList<platform::FileDialogOptions> m_fileDialogs;
    QStringList m_inputPrompts;
};

} // namespace jt::test

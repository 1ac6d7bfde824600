#include "ScriptedDialogs.h"

#include <QTest>

namespace jt::test {

platform::Button ScriptedDialogs::message(platform::MessageType type, const QString& title,
                                          const QString& text, platform::Buttons buttons) {
    m_messages.append({type, title, text, buttons});
    if (m_onMessage)
        m_onMessage(m_messages.back());
    if (m_messageAnswers.isEmpty()) {
        // A box with a single button needs no script: it can only be acknowledged.
        if (buttons == platform::Ok || buttons == platform::Cancel)
            return platform::Button(buttons);
        QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + text), __FILE__,
                     __LINE__);
        return platform::Cancel;
    }
    return m_messageAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::openFileName(const platform::FileDialogOptions& options) {
    m_fileDialogs.append(options);
    if (m_fileAnswers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + options.title),
                     __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_fileAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& caption, const QString& prompt,
                                                 const QString&) {
    m_inputPrompts.append(caption + QStringLiteral(": ") + prompt);
    if (m_inputAnswers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected input box: ") + prompt), __FILE__,
                     __LINE__);
        return std::nullopt;
    }
    return m_inputAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::saveFileName(const platform::FileDialogOptions& options) {
    m_saveDialogs.append(options);
    if (m_saveAnswers.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected save dialog: ") + options.title),
                     __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_saveAnswers.dequeue();
}

void ScriptedDialogs::preview(const render::Document& document) {
    m_previews.append(document);
    if (m_whilePreviewing)
        m_whilePreviewing(document);
}

platform::PrintOutcome ScriptedDialogs::print(const render::Document& document,
                                              platform::PrintMode mode) {
    m_printed.append({document, mode});
    if (mode == platform::PrintMode::Direct && m_printAnswers.isEmpty())
        return platform::PrintOutcome::Printed;
    if (m_printAnswers.isEmpty()) {
        QTest::qFail("unexpected print dialog", __FILE__, __LINE__);
        return platform::PrintOutcome::Cancelled;
    }
    return m_printAnswers.dequeue();
}

platform::PrintOutcome ScriptedDialogs::printEach(const std::vector<render::Document>& documents,
                                                  platform::PrintMode mode) {
    if (m_printEachThrough)
        return m_printEachThrough(documents, mode);
    for (const render::Document& document : documents) {
        if (document.isEmpty())
            continue;
        if (const platform::PrintOutcome outcome = print(document, mode);
            outcome != platform::PrintOutcome::Printed)
            return outcome;
    }
    return platform::PrintOutcome::Printed;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList texts;
    for (const Shown& s : m_messages)
        texts << s.text;
    return texts;
}

void ScriptedDialogs::clear() {
    m_messageAnswers.clear();
    m_fileAnswers.clear();
    m_inputAnswers.clear();
    m_messages.clear();
    m_fileDialogs.clear();
    m_inputPrompts.clear();
    m_saveAnswers.clear();
    m_printAnswers.clear();
    m_saveDialogs.clear();
    m_previews.clear();
    m_printed.clear();
    m_whilePreviewing = nullptr;
    m_printEachThrough = nullptr;
    m_printerSetups = 0;
}

} // namespace jt::test

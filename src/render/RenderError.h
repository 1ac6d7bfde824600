#pragma once

#include <QString>

#include <stdexcept>

namespace jt::render {

// A report that cannot be laid out, written or read; the text is what the user sees.
class RenderError final : public std::runtime_error {
public:
    explicit RenderError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace jt::render

#pragma once

#include <QString>

#include <stdexcept>

namespace jt::engine {

// The one error type of the table engine. Its text is what the user sees in the
// general error display, so it always names the table or file concerned.
class EngineError : public std::runtime_error {
public:
    enum class Kind {
        Engine,   // a rule of the engine was broken (no such field, index exists, wrong state)
        NotFound, // a table, field or index that was named does not exist
        InUse,    // another user holds the table
        BadFile,  // the file is not a sound dBASE table
        Io,       // the operating system refused a read, write or sync
    };

    explicit EngineError(const QString& message, Kind kind = Kind::Engine)
        : std::runtime_error(message.toStdString()), m_message(message), m_kind(kind) {}

    QString message() const { return m_message; }
    Kind kind() const { return m_kind; }

private:
    QString m_message;
    Kind m_kind;
};

} // namespace jt::engine

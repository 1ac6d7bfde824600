#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace jt::engine {

// Text in the tables is Windows-1252, the code page the table header declares
// (language driver 0x03), so names with accents read the same in other programs.
QString decodeCp1252(const char* data, qsizetype size);

// Returns nothing when the text holds a character that Windows-1252 cannot store.
std::optional<QByteArray> encodeCp1252(const QString& text);

} // namespace jt::engine

#pragma once

#include "Sheet.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

namespace jt::exchange {

// How a delimited text file is laid out. A quote of '\0' means fields are never quoted.
struct DelimitedOptions {
    QChar delimiter = u',';
    QChar quote = u'"';
    QString encoding = QStringLiteral("UTF-8");
    friend bool operator==(const DelimitedOptions&, const DelimitedOptions&) = default;
};

// The character sets a text file may be read in, as the wizard lists them.
QStringList textEncodings();
// Decodes bytes in one of textEncodings(); a byte-order mark wins over the choice.
// Nothing when the name is unknown or the bytes are not valid in it.
std::optional<QString> decodeText(const QByteArray& bytes, const QString& encoding);

// Splits text into rows of cells: the delimiter separates cells, a quoted cell may hold
// delimiters, line breaks and doubled quotes. Rows end at CR LF, LF or CR. Every cell
// is text; an empty line is a row with no cells.
Sheet parseDelimited(const QString& text, const DelimitedOptions& options);

// The delimiter that splits the first lines most evenly: tab, ';', ',' or '|'.
QChar guessDelimiter(const QString& text);

} // namespace jt::exchange

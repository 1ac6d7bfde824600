#include "DelimitedText.h"

#include "engine/Cp1252.h"

#include <QStringDecoder>

#include <array>

namespace jt::exchange {

QStringList textEncodings() {
    return {QStringLiteral("UTF-8"), QStringLiteral("Windows-1252"), QStringLiteral("ISO-8859-1"),
            QStringLiteral("UTF-16LE"), QStringLiteral("UTF-16BE")};
}

std::optional<QString> decodeText(const QByteArray& bytes, const QString& encoding) {
    if (!textEncodings().contains(encoding, Qt::CaseInsensitive))
        return std::nullopt;
    std::optional<QStringConverter::Encoding> chosen = QStringConverter::encodingForData(bytes);
    if (!chosen && encoding.compare(QLatin1StringView("Windows-1252"), Qt::CaseInsensitive) == 0)
        return engine::decodeCp1252(bytes.constData(), bytes.size());
    if (!chosen)
        chosen = QStringConverter::encodingForName(encoding.toLatin1().constData());
    if (!chosen)
        return std::nullopt;
    QStringDecoder decoder(*chosen, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

Sheet parseDelimited(const QString& text, const DelimitedOptions& options) {
    Sheet sheet;
    QVariantList row;
    QString cell;
    bool quoted = false;   // inside quotes
    bool cellOpen = false; // something (even empty quotes) was read for this cell
    bool rowOpen = false;
    const QChar quote = options.quote;
    const bool quoting = !quote.isNull();
    auto endCell = [&] {
        row.append(cell.isEmpty() ? QVariant() : QVariant(cell));
        cell.clear();
        cellOpen = false;
    };
    auto endRow = [&] {
        if (cellOpen || !row.isEmpty())
            endCell();
        while (!row.isEmpty() && !row.last().isValid())
            row.removeLast();
        sheet.rows.append(row);
        row.clear();
        rowOpen = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == quote) {
                if (i + 1 < text.size() && text[i + 1] == quote) {
                    cell += quote;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cell += c;
            }
            continue;
        }
        if (quoting && c == quote && cell.isEmpty() && !cellOpen) {
            quoted = true;
            cellOpen = true;
            rowOpen = true;
        } else if (c == options.delimiter) {
            endCell();
            rowOpen = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            cell += c;
            cellOpen = true;
            rowOpen = true;
        }
    }
    if (rowOpen || cellOpen)
        endRow();
    // Rows and columns past the last cell with something in it are left out, as a sheet has.
    while (!sheet.rows.isEmpty() && sheet.rows.last().isEmpty())
        sheet.rows.removeLast();
    return sheet;
}

QChar guessDelimiter(const QString& text) {
    const QStringList lines = text.left(64 * 1024).split(u'\n').mid(0, 20);
    static constexpr std::array<char16_t, 4> candidates{u'\t', u';', u',', u'|'};
    QChar best = u',';
    int bestScore = 0;
    for (const char16_t d : candidates) {
        int score = 0;
        qsizetype first = -1;
        for (const QString& line : lines) {
            if (line.trimmed().isEmpty())
                continue;
            const qsizetype n = line.count(QChar(d));
            if (first < 0)
                first = n;
            if (n > 0 && n == first)
                score += 2;
            else if (n > 0)
                score += 1;
        }
        if (score > bestScore) {
            bestScore = score;
            best = QChar(d);
        }
    }
    return best;
}

} // namespace jt::exchange

#include "ExportWriters.h"
#include "engine/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace jt::exchange {

namespace {

struct FormatInfo {
    TargetFormat format;
    const char* key;
    const char* name;
    const char* suffix;
};

constexpr FormatInfo kFormats[] = {
    {TargetFormat::Text, "text", "Text (delimited)", "txt"},
    {TargetFormat::Csv, "csv", "CSV (comma-separated)", "csv"},
    {TargetFormat::Html, "html", "HTML", "html"},
    {TargetFormat::Xlsx, "xlsx", "Excel 2007 (.xlsx)", "xlsx"},
    {TargetFormat::Ods, "ods", "OpenDocument spreadsheet (.ods)", "ods"},
    {TargetFormat::Dbase, "dbase", "dBASE table (.dbf)", "dbf"},
    {TargetFormat::Xml, "xml", "XML", "xml"},
    {TargetFormat::Sql, "sql", "SQL INSERT statements", "sql"},
    {TargetFormat::Rtf, "rtf", "Rich Text (RTF)", "rtf"},
    {TargetFormat::Pdf, "pdf", "PDF", "pdf"},
    {TargetFormat::Ldif, "ldif", "LDIF", "ldif"},
    {TargetFormat::Clipboard, "clipboard", "Clipboard", ""},
};

const FormatInfo& info(TargetFormat format) {
    for (const FormatInfo& f : kFormats)
        if (f.format == format)
            return f;
    return kFormats[0];
}

QString delimitedCell(const QString& text, QChar delimiter, QChar quote) {
    const bool needs = text.contains(delimiter) || text.contains(quote) || text.contains(u'\r') ||
                       text.contains(u'\n') ||
                       (!text.isEmpty() && (text.front() == u' ' || text.back() == u' '));
    if (!needs || quote.isNull())
        return text;
    QString doubled = text;
    doubled.replace(quote, QString(2, quote));
    return quote + doubled + quote;
}

QString delimited(const ExportRows& rows, const ExportSettings& s, QChar delimiter) {
    QString out;
    const int columns = rows.columnCount();
    auto line = [&](auto cellAt) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out += delimiter;
            out += delimitedCell(cellAt(c), delimiter, s.quote);
        }
        out += s.lineEnd;
    };
    const QList<ExportColumn> titles = rows.columns();
    if (s.fieldNames)
        line([&](int c) { return titles[c].title; });
    for (int r = 0; r < rows.rowCount(); ++r)
        line([&](int c) { return valueText(rows.value(r, c), s); });
    return out;
}

QString xmlEscape(const QString& text) {
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Windows-1252 bytes; a character it cannot hold becomes &#N; (HTML, XML) or fails.
std::optional<QByteArray> encodeText(const QString& text, const QString& encoding,
                                     bool references) {
    if (encoding.compare(QLatin1StringView("UTF-8"), Qt::CaseInsensitive) == 0)
        return text.toUtf8();
    if (std::optional<QByteArray> bytes = engine::encodeCp1252(text))
        return bytes;
    if (!references)
        return std::nullopt;
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (const std::optional<QByteArray> one = engine::encodeCp1252(QString(c))) {
            out += *one;
            continue;
        }
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text[++i]);
        out += "&#" + QByteArray::number(uint(code)) + ';';
    }
    return out;
}

QString firstUnencodable(const QString& text) {
    for (const QChar c : text)
        if (!engine::encodeCp1252(QString(c)))
            return QString(c);
    return {};
}

QString sqlValue(const QVariant& v, const ExportSettings& s) {
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return QStringLiteral("NULL");
    case QMetaType::Double:
    case QMetaType::Bool:
        return valueText(v, s);
    default: {
        QString t = valueText(v, s);
        t.replace(u'\'', QStringLiteral("''"));
        return u'\'' + t + u'\'';
    }
    }
}

QString sql(const ExportRows& rows, const ExportSettings& s) {
    QStringList names;
    for (const ExportColumn& c : rows.columns())
        names.append(c.field);
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES (")
                             .arg(s.tableName, names.join(QStringLiteral(", ")));
    QString out;
    for (int r = 0; r < rows.rowCount(); ++r) {
        QStringList values;
        for (int c = 0; c < rows.columnCount(); ++c)
            values.append(sqlValue(rows.value(r, c), s));
        out += head + values.join(QStringLiteral(", ")) + QStringLiteral(");") + s.lineEnd;
    }
    return out;
}

QString xml(const ExportRows& rows, const ExportSettings& s) {
    const QString& nl = s.lineEnd;
    QString out =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>").arg(s.encoding.toLower()) + nl;
    const QString root = s.tableName.isEmpty() ? QStringLiteral("TABLE") : s.tableName;
    out += u'<' + root + u'>' + nl;
    const QList<ExportColumn> columns = rows.columns();
    for (int r = 0; r < rows.rowCount(); ++r) {
        out += QStringLiteral("  <RECORD>") + nl;
        for (int c = 0; c < columns.size(); ++c)
            out += QStringLiteral("    <%1>%2</%1>")
                       .arg(columns[c].field, xmlEscape(valueText(rows.value(r, c), s))) +
                   nl;
        out += QStringLiteral("  </RECORD>") + nl;
    }
    out += QStringLiteral("</") + root + u'>' + nl;
    return out;
}

QString rtfEscape(const QString& text) {
    QString out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += c;
        } else if (u == u'\n') {
            out += QStringLiteral("\\line ");
        } else if (u == u'\r') {
            continue;
        } else if (u < 128) {
            out += c;
        } else if (const std::optional<QByteArray> b = engine::encodeCp1252(QString(c))) {
            out += QStringLiteral("\\'%1").arg(uint(static_cast<unsigned char>(b->at(0))), 2, 16,
                                               QChar(u'0'));
        } else {
            out += QStringLiteral("\\u%1?").arg(int(static_cast<qint16>(u)));
        }
    }
    return out;
}

QString rtf(const ExportRows& rows, const ExportSettings& s) {
    const QString& nl = s.lineEnd;
    QString out =
        QStringLiteral(
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs18") +
        nl;
    const int columns = rows.columnCount();
    QString rowHead = QStringLiteral("\\trowd\\trgaph60");
    for (int c = 1; c <= columns; ++c)
        rowHead += QStringLiteral(
                       "\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx%1")
                       .arg(c * 1400);
    auto line = [&](auto cellAt, bool bold) {
        out += rowHead + nl;
        for (int c = 0; c < columns; ++c)
            out += QStringLiteral("\\pard\\intbl%1 %2%3\\cell")
                       .arg(bold ? QStringLiteral("\\b") : QString(), rtfEscape(cellAt(c)),
                            bold ? QStringLiteral("\\b0") : QString());
        out += QStringLiteral("\\row") + nl;
    };
    const QList<ExportColumn> titles = rows.columns();
    if (s.fieldNames)
        line([&](int c) { return titles[c].title; }, true);
    for (int r = 0; r < rows.rowCount(); ++r)
        line([&](int c) { return valueText(rows.value(r, c), s); }, false);
    out += u'}' + nl;
    return out;
}

bool ldifSafe(const QString& v) {
    if (v.isEmpty())
        return true;
    if (v.front() == u' ' || v.front() == u':' || v.front() == u'<' || v.back() == u' ')
        return false;
    for (const QChar c : v)
        if (c.unicode() >= 128 || c == u'\r' || c == u'\n' || c.unicode() == 0)
            return false;
    return true;
}

QString ldifLine(const QString& name, const QString& value, const QString& nl) {
    if (ldifSafe(value))
        return name + QStringLiteral(": ") + value + nl;
    return name + QStringLiteral(":: ") + QString::fromLatin1(value.toUtf8().toBase64()) + nl;
}

QString ldif(const ExportRows& rows, const ExportSettings& s) {
    const QString& nl = s.lineEnd;
    QString out = QStringLiteral("version: 1") + nl;
    const QList<ExportColumn> columns = rows.columns();
    for (int r = 0; r < rows.rowCount(); ++r) {
        // The distinguished name: the record's number within the exported table.
        out += nl + ldifLine(QStringLiteral("dn"),
                             QStringLiteral("cn=%1,ou=%2").arg(r + 1).arg(s.tableName), nl);
        for (int c = 0; c < columns.size(); ++c) {
            const QString v = valueText(rows.value(r, c), s);
            if (!v.isEmpty())
                out += ldifLine(columns[c].field, v, nl);
        }
    }
    return out;
}

ExportResult written(int rows) {
    return {true, rows, {}};
}

ExportResult failed(const QString& text) {
    return {false, 0, text};
}

} // namespace

QList<TargetFormat> targetFormats() {
    QList<TargetFormat> all;
    for (const FormatInfo& f : kFormats)
        all.append(f.format);
    return all;
}

QString targetFormatName(TargetFormat format) {
    return QString::fromLatin1(info(format).name);
}

QString targetFormatKey(TargetFormat format) {
    return QString::fromLatin1(info(format).key);
}

std::optional<TargetFormat> targetFormatFromKey(const QString& key) {
    for (const FormatInfo& f : kFormats)
        if (key == QLatin1StringView(f.key))
            return f.format;
    return std::nullopt;
}

QString targetSuffix(TargetFormat format) {
    return QString::fromLatin1(info(format).suffix);
}

bool isTextFormat(TargetFormat format) {
    switch (format) {
    case TargetFormat::Text:
    case TargetFormat::Csv:
    case TargetFormat::Html:
    case TargetFormat::Xml:
    case TargetFormat::Sql:
    case TargetFormat::Rtf:
    case TargetFormat::Ldif:
        return true;
    default:
        return false;
    }
}

QString htmlDocument(const ExportRows& rows, const ExportSettings& s, const QString& charset) {
    const QString& nl = s.lineEnd;
    QString out = QStringLiteral("<!DOCTYPE html>") + nl + QStringLiteral("<html>") + nl +
                  QStringLiteral("<head>") + nl +
                  QStringLiteral("<meta charset=\"%1\">").arg(charset) + nl +
                  QStringLiteral("<title>%1</title>").arg(xmlEscape(s.tableName)) + nl +
                  QStringLiteral("</head>") + nl + QStringLiteral("<body>") + nl +
                  QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\">") + nl;
    const QList<ExportColumn> columns = rows.columns();
    if (s.fieldNames) {
        out += QStringLiteral("<tr>");
        for (const ExportColumn& c : columns)
            out += QStringLiteral("<th>") + xmlEscape(c.title) + QStringLiteral("</th>");
        out += QStringLiteral("</tr>") + nl;
    }
    for (int r = 0; r < rows.rowCount(); ++r) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant v = rows.value(r, c);
            const bool number = v.typeId() == QMetaType::Double;
            out += (number ? QStringLiteral("<td align=\"right\">") : QStringLiteral("<td>")) +
                   xmlEscape(valueText(v, s)) + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>") + nl;
    }
    out += QStringLiteral("</table>") + nl + QStringLiteral("</body>") + nl +
           QStringLiteral("</html>") + nl;
    return out;
}

ExportResult exportBytes(TargetFormat format, const ExportRows& rows, const ExportSettings& s,
                         QByteArray* out) {
    QString text;
    bool references = false;
    QString encoding = s.encoding;
    switch (format) {
    case TargetFormat::Text:
        text = delimited(rows, s, s.delimiter);
        break;
    case TargetFormat::Csv:
        text = delimited(rows, s, u',');
        break;
    case TargetFormat::Sql:
        text = sql(rows, s);
        break;
    case TargetFormat::Html:
        text = htmlDocument(rows, s, s.encoding.toLower());
        references = true;
        break;
    case TargetFormat::Xml:
        text = xml(rows, s);
        references = true;
        break;
    case TargetFormat::Rtf:
        text = rtf(rows, s); // plain ASCII: every other character is escaped
        break;
    case TargetFormat::Ldif:
        text = ldif(rows, s); // LDIF is UTF-8 by definition
        encoding = QStringLiteral("UTF-8");
        break;
    default:
        return failed(QStringLiteral("%1 is not a text format.").arg(targetFormatName(format)));
    }
    const std::optional<QByteArray> bytes = encodeText(text, encoding, references);
    if (!bytes)
        return failed(
            QStringLiteral("The export holds the character \"%1\", which the character set "
                           "%2 cannot store.")
                .arg(firstUnencodable(text), encoding));
    *out = *bytes;
    return written(rows.rowCount());
}

ExportResult exportFile(TargetFormat format, const ExportRows& rows, const ExportSettings& s,
                        const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    if (path.isEmpty())
        return failed(QStringLiteral("No file name was given."));
    if (QFileInfo(path).isDir())
        return failed(QStringLiteral("%1 is a folder.").arg(file));
    switch (format) {
    case TargetFormat::Xlsx:
        return writeXlsx(rows, s, path);
    case TargetFormat::Ods:
        return writeOds(rows, s, path);
    case TargetFormat::Dbase:
        return writeDbase(rows, path);
    case TargetFormat::Pdf:
        return writePdf(rows, s, path);
    case TargetFormat::Clipboard:
        return failed(QStringLiteral("The clipboard is not a file."));
    default:
        break;
    }
    QByteArray bytes;
    ExportResult r = exportBytes(format, rows, s, &bytes);
    if (!r.ok)
        return r;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return failed(QStringLiteral("%1 cannot be written: %2").arg(file, f.errorString()));
    if (f.write(bytes) != bytes.size() || !f.commit())
        return failed(QStringLiteral("%1 cannot be written: %2").arg(file, f.errorString()));
    return r;
}

QString clipboardText(const ExportRows& rows, const ExportSettings& settings) {
    ExportSettings s = settings;
    s.lineEnd = QStringLiteral("\n");
    return delimited(rows, s, u'\t');
}

} // namespace jt::exchange

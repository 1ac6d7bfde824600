#include "MarkupTables.h"

#include "DelimitedText.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace jt::exchange {

namespace {

QString decodeEntities(const QString& text) {
    static const QHash<QString, QString> named{{QStringLiteral("amp"), QStringLiteral("&")},
                                               {QStringLiteral("lt"), QStringLiteral("<")},
                                               {QStringLiteral("gt"), QStringLiteral(">")},
                                               {QStringLiteral("quot"), QStringLiteral("\"")},
                                               {QStringLiteral("apos"), QStringLiteral("'")},
                                               {QStringLiteral("nbsp"), QString(QChar(0xA0))},
                                               {QStringLiteral("pound"), QString(QChar(0xA3))}};
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9A-Fa-f]+|#[0-9]+|[A-Za-z]+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        QString replacement = m.captured(0);
        bool ok = false;
        if (name.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive)) {
            const uint code = name.mid(2).toUInt(&ok, 16);
            if (ok && code > 0 && code <= 0x10FFFF)
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else if (name.startsWith(u'#')) {
            const uint code = name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF)
                replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
        } else if (const auto found = named.constFind(name.toLower()); found != named.cend()) {
            replacement = *found;
        }
        out += replacement;
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

// The character set the page declares in <meta charset> or its content type.
QString declaredCharset(const QByteArray& bytes) {
    static const QRegularExpression charset(
        QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = charset.match(QString::fromLatin1(bytes.left(4096)));
    if (!m.hasMatch())
        return QStringLiteral("UTF-8");
    const QString name = m.captured(1).toUpper();
    if (name == u"WINDOWS-1252" || name == u"CP1252")
        return QStringLiteral("Windows-1252");
    if (name == u"ISO-8859-1" || name == u"LATIN1")
        return QStringLiteral("ISO-8859-1");
    return QStringLiteral("UTF-8");
}

} // namespace

SheetResult parseHtmlTable(const QByteArray& bytes, const QString& sourceName) {
    const QString file = QDir::toNativeSeparators(sourceName);
    std::optional<QString> decoded = decodeText(bytes, declaredCharset(bytes));
    if (!decoded)
        decoded = decodeText(bytes, QStringLiteral("Windows-1252"));
    const QString& html = *decoded;
    static const QRegularExpression tag(
        QStringLiteral("<(/?)([A-Za-z][A-Za-z0-9]*)[^>]*>|<!--.*?-->"),
        QRegularExpression::DotMatchesEverythingOption);
    Sheet sheet;
    int depth = 0; // tables open, nested ones included
    bool inRow = false;
    bool inCell = false;
    bool done = false;
    QString cell;
    int row = -1;
    int column = 0;
    auto closeCell = [&] {
        if (inCell)
            sheet.setCell(row, column++, decodeEntities(cell.simplified()));
        inCell = false;
        cell.clear();
    };
    qsizetype last = 0;
    for (auto it = tag.globalMatch(html); it.hasNext() && !done;) {
        const QRegularExpressionMatch m = it.next();
        if (inCell && depth == 1)
            cell += html.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QString name = m.captured(2).toLower();
        const bool closing = !m.captured(1).isEmpty();
        if (name == u"table") {
            if (!closing) {
                ++depth;
            } else if (depth > 0 && --depth == 0) {
                closeCell();
                done = true;
            }
            continue;
        }
        if (depth != 1)
            continue;
        if (name == u"tr") {
            closeCell();
            if (!closing) {
                ++row;
                column = 0;
                if (sheet.rows.size() <= row)
                    sheet.rows.resize(row + 1);
            }
            inRow = !closing;
        } else if (name == u"td" || name == u"th") {
            closeCell();
            if (!closing && inRow)
                inCell = true;
        } else if (name == u"br" && inCell) {
            cell += u' ';
        }
    }
    // A page cut off inside a cell keeps what the cell held so far.
    if (!done && inCell && depth == 1) {
        cell += html.mid(last);
        closeCell();
    }
    if (row < 0)
        return SheetResult::failure(QStringLiteral("%1 holds no HTML table").arg(file));
    while (!sheet.rows.isEmpty() && sheet.rows.last().isEmpty())
        sheet.rows.removeLast();
    if (sheet.rows.isEmpty())
        return SheetResult::failure(QStringLiteral("%1 holds an empty HTML table").arg(file));
    return {sheet, {}};
}

SheetResult parseXmlTable(const QByteArray& bytes, const QString& sourceName) {
    const QString file = QDir::toNativeSeparators(sourceName);
    QXmlStreamReader xml(bytes);
    QStringList names;
    Sheet sheet;
    int depth = 0;
    int record = 0;
    QString field;
    QString value;
    auto columnOf = [&](const QString& name) {
        qsizetype c = names.indexOf(name);
        if (c < 0) {
            names.append(name);
            c = names.size() - 1;
        }
        return int(c);
    };
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (depth == 2) {
                ++record;
                for (const QXmlStreamAttribute& a : xml.attributes())
                    sheet.setCell(record, columnOf(a.name().toString()), a.value().toString());
                if (sheet.rows.size() <= record)
                    sheet.rows.resize(record + 1);
            } else if (depth == 3) {
                field = xml.name().toString();
                value.clear();
            }
            break;
        case QXmlStreamReader::Characters:
            if (depth == 3)
                value += xml.text();
            break;
        case QXmlStreamReader::EndElement:
            if (depth == 3)
                sheet.setCell(record, columnOf(field), value);
            --depth;
            break;
        default:
            break;
        }
    }
    if (xml.hasError())
        return SheetResult::failure(
            QStringLiteral("%1 is not a readable XML file: %2 (line %3, column %4)")
                .arg(file, xml.errorString())
                .arg(xml.lineNumber())
                .arg(xml.columnNumber()));
    if (record == 0)
        return SheetResult::failure(QStringLiteral("%1 holds no records").arg(file));
    if (sheet.rows.isEmpty())
        sheet.rows.resize(1);
    for (int c = 0; c < names.size(); ++c)
        sheet.setCell(0, c, names[c]);
    while (sheet.rows.size() > 1 && sheet.rows.last().isEmpty())
        sheet.rows.removeLast();
    return {sheet, {}};
}

} // namespace jt::exchange

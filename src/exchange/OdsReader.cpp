#include "OdsReader.h"

#include "ZipArchive.h"

#include <QDir>
#include <QXmlStreamReader>

namespace jt::exchange {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

QString attribute(const QXmlStreamReader& xml, QLatin1StringView localName) {
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == localName)
            return a.value().toString();
    return {};
}

int repeatCount(const QXmlStreamReader& xml, QLatin1StringView localName) {
    bool ok = false;
    const int n = attribute(xml, localName).toInt(&ok);
    return ok && n > 0 ? n : 1;
}

// The text a cell shows: its paragraphs joined by line breaks, with the spaces, tabs
// and breaks that are written as elements. The reader stands on the cell's first
// <text:p>; it ends on the matching end.
QString readParagraph(QXmlStreamReader& xml) {
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            if (xml.name() == QLatin1String("s")) {
                text += QString(repeatCount(xml, QLatin1StringView("c")), u' ');
                xml.skipCurrentElement();
            } else if (xml.name() == QLatin1String("tab")) {
                text += u'\t';
                xml.skipCurrentElement();
            } else if (xml.name() == QLatin1String("line-break")) {
                text += u'\n';
                xml.skipCurrentElement();
            } else if (xml.name() == QLatin1String("annotation") ||
                       xml.name() == QLatin1String("note")) {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

class OdsFile {
public:
    explicit OdsFile(const QString& path) : m_path(path), m_file(QDir::toNativeSeparators(path)) {}

    SheetResult read() {
        if (!m_zip.open(m_path))
            return SheetResult::failure(m_zip.error());
        if (!m_zip.contains(QStringLiteral("content.xml")))
            return SheetResult::failure(
                QStringLiteral("%1 is not an OpenDocument spreadsheet: it holds no content part")
                    .arg(m_file));
        // A document saved with a password has its parts encrypted; the manifest says so.
        if (const std::optional<QByteArray> manifest =
                m_zip.read(QStringLiteral("META-INF/manifest.xml"));
            manifest && manifest->contains("encryption-data"))
            return SheetResult::failure(QStringLiteral("%1 is password-protected").arg(m_file));
        const std::optional<QByteArray> content = m_zip.read(QStringLiteral("content.xml"));
        if (!content)
            return SheetResult::failure(m_zip.error());
        return readContent(*content);
    }

private:
    SheetResult readContent(const QByteArray& content) {
        QXmlStreamReader xml(content);
        Sheet sheet;
        bool inTable = false;
        int tableDepth = 0;
        int row = 0;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && inTable &&
                xml.name() == QLatin1String("table") && --tableDepth == 0)
                break; // the first table is all that is read
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("table")) {
                if (!inTable)
                    sheet.name = attribute(xml, QLatin1StringView("name"));
                inTable = true;
                ++tableDepth;
            } else if (inTable && tableDepth == 1 && xml.name() == QLatin1String("table-row")) {
                const int repeat = repeatCount(xml, QLatin1StringView("number-rows-repeated"));
                QVariantList cells;
                if (QString error = readRow(xml, &cells); !error.isEmpty())
                    return SheetResult::failure(error);
                bool empty = true;
                for (const QVariant& v : cells)
                    empty = empty && !v.isValid();
                // Files end with a run of a million empty rows; only rows with cells count.
                if (!empty) {
                    if (row + qint64(repeat) > kMaxRows)
                        return SheetResult::failure(
                            QStringLiteral("%1 has more rows than a spreadsheet can hold")
                                .arg(m_file));
                    for (int i = 0; i < repeat; ++i)
                        for (int c = 0; c < cells.size(); ++c)
                            sheet.setCell(row + i, c, cells[c]);
                }
                row = int(std::min<qint64>(row + qint64(repeat), kMaxRows));
            }
        }
        if (xml.hasError())
            return SheetResult::failure(
                QStringLiteral("%1 is damaged: its content is not well-formed (line %2: %3)")
                    .arg(m_file)
                    .arg(xml.lineNumber())
                    .arg(xml.errorString()));
        if (!inTable)
            return SheetResult::failure(QStringLiteral("%1 holds no sheet").arg(m_file));
        return {std::move(sheet), {}};
    }

    // The reader stands on <table:table-row>; it ends on its end.
    QString readRow(QXmlStreamReader& xml, QVariantList* cells) {
        int column = 0;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("table-row"))
                return {};
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() != QLatin1String("table-cell") &&
                xml.name() != QLatin1String("covered-table-cell")) {
                xml.skipCurrentElement();
                continue;
            }
            const int repeat = repeatCount(xml, QLatin1StringView("number-columns-repeated"));
            const QVariant value = readCell(xml);
            if (value.isValid()) {
                if (column + qint64(repeat) > kMaxColumns)
                    return QStringLiteral("%1 has more columns than a spreadsheet can hold")
                        .arg(m_file);
                while (cells->size() < column)
                    cells->append(QVariant());
                for (int i = 0; i < repeat; ++i)
                    cells->append(value);
            }
            column = int(std::min<qint64>(column + qint64(repeat), kMaxColumns));
        }
        return {};
    }

    // The reader stands on a cell; it ends on the cell's end.
    static QVariant readCell(QXmlStreamReader& xml) {
        const QString type = attribute(xml, QLatin1StringView("value-type"));
        const QString stringValue = attribute(xml, QLatin1StringView("string-value"));
        QVariant value;
        if (type == QLatin1String("float") || type == QLatin1String("percentage") ||
            type == QLatin1String("currency")) {
            bool ok = false;
            const double d = attribute(xml, QLatin1StringView("value")).toDouble(&ok);
            if (ok)
                value = d;
        } else if (type == QLatin1String("boolean")) {
            value = attribute(xml, QLatin1StringView("boolean-value")) == QLatin1String("true");
        }
        QString shown;
        bool haveText = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement &&
                (xml.name() == QLatin1String("table-cell") ||
                 xml.name() == QLatin1String("covered-table-cell")))
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("p")) {
                if (haveText)
                    shown += u'\n';
                shown += readParagraph(xml);
                haveText = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        // A string cell may carry its text in an attribute instead of paragraphs.
        if (!value.isValid() && !stringValue.isEmpty())
            value = stringValue;
        if (!value.isValid() && haveText && !shown.isEmpty())
            value = shown;
        return value;
    }

    QString m_path;
    QString m_file;
    ZipArchive m_zip;
};

} // namespace

SheetResult readOds(const QString& path) {
    return OdsFile(path).read();
}

} // namespace jt::exchange

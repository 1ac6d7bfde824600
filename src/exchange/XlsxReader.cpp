#include "XlsxReader.h"

#include "ZipArchive.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

namespace jt::exchange {

namespace {

// Spreadsheet programs stop here; a cell said to lie beyond is a sign of damage.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// Texts in these files write some characters as "_xHHHH_".
QString decodeEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const ushort code = text.mid(i + 2, 4).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QString attribute(const QXmlStreamReader& xml, QLatin1StringView localName) {
    for (const QXmlStreamAttribute& a : xml.attributes())
        if (a.name() == localName)
            return a.value().toString();
    return {};
}

// Text of a string item (<si> or <is>): its <t>, or the <t> of each run, without the
// phonetic guides (<rPh>). The reader stands on the item's start and ends on its end.
QString readStringItem(QXmlStreamReader& xml) {
    QString text;
    int depth = 1;
    bool inPhonetic = false;
    while (depth > 0 && !xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (xml.name() == QLatin1String("rPh"))
                inPhonetic = true;
            else if (xml.name() == QLatin1String("t") && !inPhonetic) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == QLatin1String("rPh"))
                inPhonetic = false;
        }
    }
    return decodeEscapes(text);
}

QString xmlError(const QString& file, const QString& part, const QXmlStreamReader& xml) {
    return QStringLiteral("%1 is damaged: its part %2 is not well-formed (line %3: %4)")
        .arg(file, part)
        .arg(xml.lineNumber())
        .arg(xml.errorString());
}

// Joins a relationship target to the folder of the part it belongs to.
QString resolveTarget(const QString& baseFolder, const QString& target) {
    if (target.startsWith(u'/'))
        return QDir::cleanPath(target.mid(1));
    return QDir::cleanPath(baseFolder + QLatin1Char('/') + target);
}

struct Relationship {
    QString type;
    QString target;
};

class XlsxFile {
public:
    explicit XlsxFile(const QString& path) : m_path(path), m_file(QDir::toNativeSeparators(path)) {}

    SheetResult read() {
        if (!m_zip.open(m_path))
            return SheetResult::failure(m_zip.error());
        if (!m_zip.contains(QStringLiteral("xl/workbook.xml")))
            return SheetResult::failure(
                QStringLiteral("%1 is not an Excel workbook: it holds no workbook part")
                    .arg(m_file));
        QString sheetName;
        QString sheetRelId;
        if (QString error = readWorkbook(&sheetName, &sheetRelId); !error.isEmpty())
            return SheetResult::failure(error);
        QHash<QString, Relationship> rels;
        if (QString error = readRelationships(&rels); !error.isEmpty())
            return SheetResult::failure(error);
        const auto found = rels.constFind(sheetRelId);
        if (found == rels.constEnd())
            return SheetResult::failure(
                QStringLiteral("%1 is damaged: its first sheet has no part").arg(m_file));
        for (const Relationship& r : rels)
            if (r.type.endsWith(QLatin1String("/sharedStrings")))
                if (QString error =
                        readSharedStrings(resolveTarget(QStringLiteral("xl"), r.target));
                    !error.isEmpty())
                    return SheetResult::failure(error);
        Sheet sheet;
        sheet.name = sheetName;
        if (QString error = readSheet(resolveTarget(QStringLiteral("xl"), found->target), &sheet);
            !error.isEmpty())
            return SheetResult::failure(error);
        return {std::move(sheet), {}};
    }

private:
    std::optional<QByteArray> part(const QString& name, QString* error) {
        std::optional<QByteArray> bytes = m_zip.read(name);
        if (!bytes)
            *error = m_zip.error();
        return bytes;
    }

    QString readWorkbook(QString* name, QString* relId) {
        QString error;
        const std::optional<QByteArray> bytes = part(QStringLiteral("xl/workbook.xml"), &error);
        if (!bytes)
            return error;
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("sheet")) {
                *name = attribute(xml, QLatin1StringView("name"));
                *relId = attribute(xml, QLatin1StringView("id"));
                return {};
            }
        }
        if (xml.hasError())
            return xmlError(m_file, QStringLiteral("xl/workbook.xml"), xml);
        return QStringLiteral("%1 holds no worksheet").arg(m_file);
    }

    QString readRelationships(QHash<QString, Relationship>* rels) {
        const QString name = QStringLiteral("xl/_rels/workbook.xml.rels");
        QString error;
        const std::optional<QByteArray> bytes = part(name, &error);
        if (!bytes)
            return error;
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("Relationship"))
                rels->insert(attribute(xml, QLatin1StringView("Id")),
                             {attribute(xml, QLatin1StringView("Type")),
                              attribute(xml, QLatin1StringView("Target"))});
        return xml.hasError() ? xmlError(m_file, name, xml) : QString();
    }

    QString readSharedStrings(const QString& name) {
        QString error;
        const std::optional<QByteArray> bytes = part(name, &error);
        if (!bytes)
            return error;
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.name() == QLatin1String("si"))
                m_strings.append(readStringItem(xml));
        return xml.hasError() ? xmlError(m_file, name, xml) : QString();
    }

    QString readSheet(const QString& name, Sheet* sheet) {
        QString error;
        const std::optional<QByteArray> bytes = part(name, &error);
        if (!bytes)
            return error;
        QXmlStreamReader xml(*bytes);
        int row = -1;
        int column = -1;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("row")) {
                bool ok = false;
                const int r = attribute(xml, QLatin1StringView("r")).toInt(&ok);
                row = ok ? r - 1 : row + 1;
                column = -1;
                if (row < 0 || row >= kMaxRows)
                    return QStringLiteral("%1 is damaged: its sheet names row %2")
                        .arg(m_file)
                        .arg(row + 1);
            } else if (xml.name() == QLatin1String("c")) {
                const QString ref = attribute(xml, QLatin1StringView("r"));
                const int c = ref.isEmpty() ? column + 1 : columnOfReference(ref);
                if (c < 0 || c >= kMaxColumns || row < 0)
                    return QStringLiteral("%1 is damaged: its sheet has a cell at %2")
                        .arg(m_file, ref.isEmpty() ? QStringLiteral("?") : ref);
                column = c;
                QVariant value;
                if (QString cellError = readCell(xml, &value); !cellError.isEmpty())
                    return QStringLiteral("%1 is damaged: cell %2%3 %4")
                        .arg(m_file, columnName(column))
                        .arg(row + 1)
                        .arg(cellError);
                sheet->setCell(row, column, value);
            }
        }
        return xml.hasError() ? xmlError(m_file, name, xml) : QString();
    }

    // The reader stands on <c>; it ends on </c>.
    QString readCell(QXmlStreamReader& xml, QVariant* value) {
        const QString type = attribute(xml, QLatin1StringView("t"));
        QString raw;
        bool haveRaw = false;
        QString inlineText;
        bool haveInline = false;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("c"))
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("v")) {
                raw = xml.readElementText();
                haveRaw = true;
            } else if (xml.name() == QLatin1String("is")) {
                inlineText = readStringItem(xml);
                haveInline = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError())
            return {};
        if (type == QLatin1String("inlineStr")) {
            if (haveInline)
                *value = inlineText;
            return {};
        }
        if (!haveRaw)
            return {};
        if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = raw.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_strings.size())
                return QStringLiteral("refers to shared text %1, which does not exist").arg(raw);
            *value = m_strings[index];
        } else if (type == QLatin1String("str") || type == QLatin1String("e") ||
                   type == QLatin1String("d")) {
            *value = decodeEscapes(raw);
        } else if (type == QLatin1String("b")) {
            *value = raw.trimmed() == QLatin1String("1");
        } else {
            bool ok = false;
            const double d = raw.trimmed().toDouble(&ok);
            if (!ok)
                return QStringLiteral("holds '%1', which is not a number").arg(raw);
            *value = d;
        }
        return {};
    }

    QString m_path;
    QString m_file;
    ZipArchive m_zip;
    QStringList m_strings;
};

} // namespace

SheetResult readXlsx(const QString& path) {
    return XlsxFile(path).read();
}

} // namespace jt::exchange

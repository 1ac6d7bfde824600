#include "ImportSource.h"

#include "MarkupTables.h"
#include "OdsReader.h"
#include "XlsReader.h"
#include "XlsxReader.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace jt::exchange {

namespace {

struct FormatInfo {
    SourceFormat format;
    const char* key;
    const char* name;
};

constexpr FormatInfo kFormats[] = {
    {SourceFormat::Delimited, "text", "Delimited text / CSV"},
    {SourceFormat::Xls, "xls", "Excel 97-2003 (.xls)"},
    {SourceFormat::Xlsx, "xlsx", "Excel 2007 (.xlsx)"},
    {SourceFormat::Ods, "ods", "OpenDocument spreadsheet (.ods)"},
    {SourceFormat::Dbase, "dbase", "dBASE table (.dbf)"},
    {SourceFormat::Html, "html", "HTML table"},
    {SourceFormat::Xml, "xml", "XML"},
    {SourceFormat::Clipboard, "clipboard", "Clipboard"},
};

const FormatInfo& info(SourceFormat format) {
    for (const FormatInfo& f : kFormats)
        if (f.format == format)
            return f;
    return kFormats[0];
}

// A dBASE header: a known version byte, a plausible date, and header and record
// lengths that fit the file.
bool looksLikeDbf(const QByteArray& head, qint64 size) {
    if (head.size() < 32)
        return false;
    const auto byte = [&](int i) { return static_cast<unsigned char>(head[i]); };
    const unsigned version = byte(0);
    if (version != 0x03 && version != 0x83 && version != 0x30 && version != 0xF5 &&
        version != 0x8B && version != 0x04)
        return false;
    if (byte(2) < 1 || byte(2) > 12 || byte(3) < 1 || byte(3) > 31)
        return false;
    const qint64 headerLength = byte(8) | (byte(9) << 8);
    return headerLength >= 33 && headerLength <= size && (headerLength - 1) % 32 == 0;
}

SheetResult readFile(const QString& path, qint64 limit, QByteArray* bytes) {
    const QString file = QDir::toNativeSeparators(path);
    QFile f(path);
    if (!QFileInfo::exists(path))
        return SheetResult::failure(QStringLiteral("%1 does not exist").arg(file));
    if (!f.open(QIODevice::ReadOnly))
        return SheetResult::failure(
            QStringLiteral("%1 cannot be opened: %2").arg(file, f.errorString()));
    if (f.size() > limit)
        return SheetResult::failure(QStringLiteral("%1 is too large to import").arg(file));
    *bytes = f.readAll();
    if (f.error() != QFile::NoError)
        return SheetResult::failure(
            QStringLiteral("%1 cannot be read: %2").arg(file, f.errorString()));
    if (bytes->isEmpty())
        return SheetResult::failure(QStringLiteral("%1 is empty").arg(file));
    return {Sheet{}, {}};
}

constexpr qint64 kMaxTextBytes = qint64(256) * 1024 * 1024;

SheetResult readDbf(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        return SheetResult::failure(QStringLiteral("%1 does not exist").arg(file));
    engine::Table table;
    table.setTableName(QFileInfo(path).absoluteFilePath());
    try {
        table.open();
        Sheet sheet;
        sheet.name = QFileInfo(path).completeBaseName();
        const engine::FieldDefs& defs = table.structure().fields;
        for (int c = 0; c < int(defs.size()); ++c)
            sheet.setCell(0, c, defs[std::size_t(c)].name);
        for (int r = 0; r < table.rowCount(); ++r) {
            sheet.rows.append(QVariantList());
            for (int c = 0; c < int(defs.size()); ++c) {
                QVariant v = table.valueAt(r, c);
                if (v.typeId() == QMetaType::QDate)
                    v = v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
                sheet.setCell(r + 1, c, v);
            }
        }
        table.close();
        return {sheet, {}};
    } catch (const engine::EngineError& e) {
        return SheetResult::failure(
            QStringLiteral("%1 cannot be read as a dBASE table: %2").arg(file, e.message()));
    }
}

} // namespace

QList<SourceFormat> sourceFormats() {
    QList<SourceFormat> all;
    for (const FormatInfo& f : kFormats)
        all.append(f.format);
    return all;
}

QString sourceFormatName(SourceFormat format) {
    return QString::fromLatin1(info(format).name);
}

QString sourceFormatKey(SourceFormat format) {
    return QString::fromLatin1(info(format).key);
}

std::optional<SourceFormat> sourceFormatFromKey(const QString& key) {
    for (const FormatInfo& f : kFormats)
        if (key == QLatin1StringView(f.key))
            return f.format;
    return std::nullopt;
}

QString sourceFilter() {
    return QStringLiteral("All supported files (*.csv *.txt *.tab *.xls *.xlsx *.ods *.dbf *.htm "
                          "*.html *.xml);;Text files (*.csv *.txt *.tab);;Excel files (*.xls "
                          "*.xlsx);;OpenDocument spreadsheets (*.ods);;dBASE tables (*.dbf);;"
                          "HTML files (*.htm *.html);;XML files (*.xml);;All files (*)");
}

std::optional<SourceFormat> detectSourceFormat(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = f.read(4096);
    if (head.isEmpty())
        return std::nullopt;
    static const QByteArray compoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (head.startsWith(compoundFile))
        return SourceFormat::Xls;
    if (head.startsWith("PK")) {
        // The zip's first member names the package: OpenDocument puts "mimetype" first.
        if (head.contains("opendocument.spreadsheet") || head.contains("content.xml"))
            return SourceFormat::Ods;
        return SourceFormat::Xlsx;
    }
    if (looksLikeDbf(head, f.size()))
        return SourceFormat::Dbase;
    QString start = QString::fromLatin1(head).trimmed();
    if (start.startsWith(QChar(0xEF)))
        start = start.mid(3);
    if (start.startsWith(QStringLiteral("<?xml"), Qt::CaseInsensitive)) {
        return start.contains(QStringLiteral("<html"), Qt::CaseInsensitive) ? SourceFormat::Html
                                                                            : SourceFormat::Xml;
    }
    if (start.startsWith(u'<') &&
        (start.contains(QStringLiteral("<html"), Qt::CaseInsensitive) ||
         start.contains(QStringLiteral("<table"), Qt::CaseInsensitive) ||
         start.startsWith(QStringLiteral("<!DOCTYPE html"), Qt::CaseInsensitive)))
        return SourceFormat::Html;
    if (start.startsWith(u'<'))
        return SourceFormat::Xml;
    return SourceFormat::Delimited;
}

SheetResult readSource(const QString& path, const SourceOptions& options) {
    switch (options.format) {
    case SourceFormat::Xls:
        return readXls(path);
    case SourceFormat::Xlsx:
        return readXlsx(path);
    case SourceFormat::Ods:
        return readOds(path);
    case SourceFormat::Dbase:
        return readDbf(path);
    case SourceFormat::Delimited:
    case SourceFormat::Clipboard:
    case SourceFormat::Html:
    case SourceFormat::Xml: {
        QByteArray bytes;
        if (SheetResult r = readFile(path, kMaxTextBytes, &bytes); !r.sheet)
            return r;
        if (options.format == SourceFormat::Html)
            return parseHtmlTable(bytes, path);
        if (options.format == SourceFormat::Xml)
            return parseXmlTable(bytes, path);
        const std::optional<QString> text = decodeText(bytes, options.text.encoding);
        if (!text)
            return SheetResult::failure(
                QStringLiteral("%1 is not text in the character set %2")
                    .arg(QDir::toNativeSeparators(path), options.text.encoding));
        return readSourceText(*text, options);
    }
    }
    return SheetResult::failure(QStringLiteral("Unknown format"));
}

SheetResult readSourceText(const QString& text, const SourceOptions& options) {
    Sheet sheet = parseDelimited(text, options.text);
    if (sheet.rows.isEmpty())
        return SheetResult::failure(QStringLiteral("There is nothing to import"));
    return {sheet, {}};
}

QStringList sourceColumns(const Sheet& sheet, bool headingRow) {
    int columns = 0;
    for (const QVariantList& row : sheet.rows)
        columns = std::max(columns, int(row.size()));
    QStringList names;
    for (int c = 0; c < columns; ++c) {
        const QString heading = headingRow ? sheet.cell(0, c).toString().trimmed() : QString();
        names.append(heading.isEmpty() ? columnName(c) : heading);
    }
    return names;
}

} // namespace jt::exchange

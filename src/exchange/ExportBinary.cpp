// The binary export formats: Excel 2007 through libxlsxwriter, OpenDocument through
// minizip, dBASE through the table engine's codec.
#include "ExportWriters.h"
#include "engine/DbfCodec.h"
#include "engine/DbfFile.h"
#include "engine/EngineError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <xlsxwriter.h>
#include <zip.h>

namespace jt::exchange {

namespace {

ExportResult failed(const QString& text) {
    return {false, 0, text};
}

// Written beside the target and renamed over it, so a failed export leaves the old file.
QString partPath(const QString& path) {
    return path + QStringLiteral(".part");
}

ExportResult putInPlace(const QString& part, const QString& path, int rows) {
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        return failed(QStringLiteral("%1 cannot be written.").arg(QDir::toNativeSeparators(path)));
    }
    return {true, rows, {}};
}

QString sheetName(const QString& tableName) {
    static const QRegularExpression bad(QStringLiteral("[\\[\\]:*?/\\\\]"));
    QString name = tableName;
    name.remove(bad);
    name = name.left(31);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

QString xmlEscape(const QString& text) {
    QString out = text;
    out.replace(u'&', QStringLiteral("&amp;"));
    out.replace(u'<', QStringLiteral("&lt;"));
    out.replace(u'>', QStringLiteral("&gt;"));
    out.replace(u'"', QStringLiteral("&quot;"));
    return out;
}

} // namespace

ExportResult writeXlsx(const ExportRows& rows, const ExportSettings& s, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    const QString part = partPath(path);
    const QByteArray partName = QFile::encodeName(part);
    lxw_workbook* book = workbook_new(partName.constData());
    if (!book)
        return failed(QStringLiteral("%1 cannot be written.").arg(file));
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, sheetName(s.tableName).toUtf8().constData());
    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    lxw_row_t row = 0;
    const QList<ExportColumn> columns = rows.columns();
    if (sheet && s.fieldNames) {
        for (int c = 0; c < columns.size() && !error; ++c)
            error = worksheet_write_string(sheet, row, lxw_col_t(c),
                                           columns[c].title.toUtf8().constData(), nullptr);
        ++row;
    }
    for (int r = 0; sheet && r < rows.rowCount() && !error; ++r, ++row) {
        for (int c = 0; c < columns.size() && !error; ++c) {
            const QVariant v = rows.value(r, c);
            switch (v.typeId()) {
            case QMetaType::UnknownType:
                break;
            case QMetaType::Double:
                if (!(s.blankZeros && v.toDouble() == 0))
                    error = worksheet_write_number(sheet, row, lxw_col_t(c), v.toDouble(), nullptr);
                break;
            case QMetaType::Bool:
                error = worksheet_write_boolean(sheet, row, lxw_col_t(c), v.toBool(), nullptr);
                break;
            default: {
                const QString text = valueText(v, s);
                if (!text.isEmpty())
                    error = worksheet_write_string(sheet, row, lxw_col_t(c),
                                                   text.toUtf8().constData(), nullptr);
            }
            }
        }
    }
    const lxw_error closed = workbook_close(book);
    if (error || closed) {
        QFile::remove(part);
        return failed(QStringLiteral("%1 cannot be written: %2")
                          .arg(file, QString::fromUtf8(lxw_strerror(error ? error : closed))));
    }
    return putInPlace(part, path, rows.rowCount());
}

ExportResult writeOds(const ExportRows& rows, const ExportSettings& s, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    QString content = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
        "<office:body><office:spreadsheet>");
    content +=
        QStringLiteral("<table:table table:name=\"%1\">").arg(xmlEscape(sheetName(s.tableName)));
    auto textCell = [](const QString& t) {
        return QStringLiteral("<table:table-cell "
                              "office:value-type=\"string\"><text:p>%1</text:p></table:table-cell>")
            .arg(xmlEscape(t));
    };
    const QList<ExportColumn> columns = rows.columns();
    if (s.fieldNames) {
        content += QStringLiteral("<table:table-row>");
        for (const ExportColumn& c : columns)
            content += textCell(c.title);
        content += QStringLiteral("</table:table-row>");
    }
    for (int r = 0; r < rows.rowCount(); ++r) {
        content += QStringLiteral("<table:table-row>");
        for (int c = 0; c < columns.size(); ++c) {
            const QVariant v = rows.value(r, c);
            if (!v.isValid() ||
                (s.blankZeros && v.typeId() == QMetaType::Double && v.toDouble() == 0))
                content += QStringLiteral("<table:table-cell/>");
            else if (v.typeId() == QMetaType::Double)
                content +=
                    QStringLiteral("<table:table-cell office:value-type=\"float\" "
                                   "office:value=\"%1\"><text:p>%1</text:p></table:table-cell>")
                        .arg(engine::shortestNumberText(v.toDouble()));
            else if (v.typeId() == QMetaType::Bool)
                content += QStringLiteral(
                               "<table:table-cell office:value-type=\"boolean\" "
                               "office:boolean-value=\"%1\"><text:p>%2</text:p></table:table-cell>")
                               .arg(v.toBool() ? QStringLiteral("true") : QStringLiteral("false"),
                                    valueText(v, s));
            else
                content += textCell(valueText(v, s));
        }
        content += QStringLiteral("</table:table-row>");
    }
    content += QStringLiteral(
        "</table:table></office:spreadsheet></office:body></office:document-content>\n");

    const QByteArray mimetype("application/vnd.oasis.opendocument.spreadsheet");
    const QByteArray manifest(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\">"
        "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
        "</manifest:manifest>\n");
    const QString part = partPath(path);
    zipFile zip = zipOpen(QFile::encodeName(part).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return failed(QStringLiteral("%1 cannot be written.").arg(file));
    bool ok = true;
    auto add = [&](const char* name, const QByteArray& bytes, bool stored) {
        zip_fileinfo info{};
        ok = ok &&
             zipOpenNewFileInZip(zip, name, &info, nullptr, 0, nullptr, 0, nullptr,
                                 stored ? 0 : Z_DEFLATED,
                                 stored ? 0 : Z_DEFAULT_COMPRESSION) == ZIP_OK &&
             zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    };
    // The mimetype member comes first and uncompressed, so the kind shows at a fixed place.
    add("mimetype", mimetype, true);
    add("META-INF/manifest.xml", manifest, false);
    add("content.xml", content.toUtf8(), false);
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    if (!ok) {
        QFile::remove(part);
        return failed(QStringLiteral("%1 cannot be written.").arg(file));
    }
    return putInPlace(part, path, rows.rowCount());
}

ExportResult writeDbase(const ExportRows& rows, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    engine::FieldDefs defs;
    for (int c = 0; c < rows.columnCount(); ++c)
        defs.push_back(rows.fieldDef(c));
    try {
        const engine::DbfStructure structure =
            engine::DbfStructure::fromFields(defs, QFileInfo(path).fileName());
        QByteArray records(qsizetype(structure.recordLength) * rows.rowCount(), ' ');
        for (int r = 0; r < rows.rowCount(); ++r) {
            char* record = records.data() + qsizetype(structure.recordLength) * r;
            record[0] = engine::kLiveFlag;
            for (int c = 0; c < rows.columnCount(); ++c)
                engine::encodeField(defs[std::size_t(c)], rows.value(r, c),
                                    record + structure.offsets[std::size_t(c)], file);
        }
        engine::DbfFile::writeWholeTable(path, structure, records, std::uint32_t(rows.rowCount()));
    } catch (const engine::EngineError& e) {
        return failed(QStringLiteral("%1 cannot be written: %2").arg(file, e.message()));
    }
    return {true, rows.rowCount(), {}};
}

} // namespace jt::exchange

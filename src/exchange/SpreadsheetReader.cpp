#include "SpreadsheetReader.h"

#include "OdsReader.h"
#include "XlsReader.h"
#include "XlsxReader.h"
#include "ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace jt::exchange {

namespace {

bool hasSuffix(const QString& path, QLatin1StringView suffix) {
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0;
}

QString notASpreadsheet(const QString& file) {
    return QStringLiteral("%1 is not a spreadsheet that can be imported "
                          "(Excel .xls or .xlsx, or OpenDocument .ods)")
        .arg(file);
}

} // namespace

SheetResult readFirstSheet(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return SheetResult::failure(QStringLiteral("%1 does not exist").arg(file));
    if (info.isDir())
        return SheetResult::failure(QStringLiteral("%1 is a folder, not a spreadsheet").arg(file));
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        return SheetResult::failure(
            QStringLiteral("%1 cannot be opened: %2").arg(file, probe.errorString()));
    const QByteArray head = probe.read(8);
    if (probe.error() != QFile::NoError)
        return SheetResult::failure(
            QStringLiteral("%1 cannot be read: %2").arg(file, probe.errorString()));
    probe.close();
    if (head.isEmpty())
        return SheetResult::failure(QStringLiteral("%1 is empty").arg(file));

    static const QByteArray compoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (head == compoundFile)
        return readXls(path);
    if (head.startsWith("PK")) {
        ZipArchive zip;
        if (!zip.open(path))
            return SheetResult::failure(zip.error());
        if (zip.contains(QStringLiteral("xl/workbook.xml")))
            return readXlsx(path);
        if (zip.contains(QStringLiteral("content.xml")))
            return readOds(path);
        return SheetResult::failure(notASpreadsheet(file));
    }
    // Excel 2 to 4 wrote bare workbook streams; FreeXL reads those it can.
    if (hasSuffix(path, QLatin1StringView("xls")))
        if (SheetResult old = readXls(path); old.sheet)
            return old;
    if (hasSuffix(path, QLatin1StringView("xls")))
        return SheetResult::failure(QStringLiteral("%1 is not an Excel file").arg(file));
    return SheetResult::failure(notASpreadsheet(file));
}

QString spreadsheetFilter() {
    return QStringLiteral(
        "Excel Files (*.xls);;Excel 2007 Files (*.xlsx);;"
        "OpenDocument Spreadsheets (*.ods);;All Spreadsheets (*.xls *.xlsx *.ods)");
}

} // namespace jt::exchange

#include "XlsReader.h"

#include <QDir>
#include <QFile>

#include <freexl.h>

namespace jt::exchange {

namespace {

// A file saved with a password to open keeps its contents in an "EncryptedPackage"
// stream (Excel 2007 and later) instead of a workbook: FreeXL finds no workbook there.
bool looksEncrypted(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray name = [] {
        QByteArray utf16;
        for (const char c : QByteArrayView("EncryptedPackage")) {
            utf16.append(c);
            utf16.append('\0');
        }
        return utf16;
    }();
    // The stream names stand in the file's directory, which is small and is read in pieces.
    QByteArray tail;
    while (!file.atEnd()) {
        const QByteArray chunk = tail + file.read(1 << 20);
        if (chunk.contains(name))
            return true;
        tail = chunk.right(name.size());
        if (file.error() != QFile::NoError)
            return false;
    }
    return false;
}

QString openError(int code, const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    switch (code) {
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
        return QStringLiteral("%1 is not an Excel file").arg(file);
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        if (looksEncrypted(path))
            return QStringLiteral("%1 is password-protected").arg(file);
        return QStringLiteral("%1 holds no Excel workbook").arg(file);
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("%1 is too large to import").arg(file);
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("%1 cannot be opened").arg(file);
    default:
        return QStringLiteral("%1 is damaged (FreeXL error %2)").arg(file).arg(code);
    }
}

struct Handle {
    const void* xls = nullptr;
    ~Handle() {
        if (xls)
            freexl_close(xls);
    }
};

} // namespace

SheetResult readXls(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    Handle handle;
    const QByteArray native = QFile::encodeName(path);
    if (const int rc = freexl_open(native.constData(), &handle.xls); rc != FREEXL_OK)
        return SheetResult::failure(openError(rc, path));
    unsigned int info = 0;
    if (freexl_get_info(handle.xls, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        return SheetResult::failure(QStringLiteral("%1 is password-protected").arg(file));
    if (freexl_get_info(handle.xls, FREEXL_BIFF_SHEET_COUNT, &info) != FREEXL_OK || info == 0)
        return SheetResult::failure(QStringLiteral("%1 holds no worksheet").arg(file));
    if (freexl_select_active_worksheet(handle.xls, 0) != FREEXL_OK)
        return SheetResult::failure(
            QStringLiteral("%1 is damaged: its first sheet cannot be read").arg(file));
    Sheet sheet;
    if (const char* name = nullptr;
        freexl_get_worksheet_name(handle.xls, 0, &name) == FREEXL_OK && name)
        sheet.name = QString::fromUtf8(name);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle.xls, &rows, &columns) != FREEXL_OK)
        return SheetResult::failure(
            QStringLiteral("%1 is damaged: its first sheet cannot be read").arg(file));
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell{};
            const int rc = freexl_get_cell_value(handle.xls, r, c, &cell);
            if (rc != FREEXL_OK)
                return SheetResult::failure(
                    QStringLiteral("%1 is damaged: cell %2%3 cannot be read")
                        .arg(file, columnName(c))
                        .arg(r + 1));
            QVariant value;
            switch (cell.type) {
            case FREEXL_CELL_INT:
                value = double(cell.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                value = cell.value.double_value;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (cell.value.text_value)
                    value = QString::fromUtf8(cell.value.text_value);
                break;
            default:
                break;
            }
            sheet.setCell(int(r), int(c), value);
        }
    }
    return {std::move(sheet), {}};
}

} // namespace jt::exchange

#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace jt::exchange {

// One worksheet as read from a file: its cells by row and column, both from 0 (row 0
// is the sheet's row 1, column 0 its column A). A cell is empty (an invalid QVariant),
// a number (double), a text (QString) or a truth value (bool). Rows and columns past
// the last cell with something in it are left out.
struct Sheet {
    QString name;
    QList<QVariantList> rows;

    int rowCount() const { return int(rows.size()); }
    QVariant cell(int row, int column) const;
    // Sets a cell, growing the rows and columns as needed. An empty text is an empty
    // cell, and an empty value on a cell past the end changes nothing.
    void setCell(int row, int column, const QVariant& value);
};

// The result of reading a file: the sheet, or the reason it could not be read. The
// reason is a whole sentence that names the file.
struct SheetResult {
    std::optional<Sheet> sheet;
    QString error;

    static SheetResult failure(const QString& text) { return {std::nullopt, text}; }
};

// "A", "B", ... "Z", "AA": the column's name as a spreadsheet shows it.
QString columnName(int column);
// The column of a cell reference such as "C12" (2), or -1 when it has no letters.
int columnOfReference(QStringView reference);

} // namespace jt::exchange

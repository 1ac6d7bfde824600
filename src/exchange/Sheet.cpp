#include "Sheet.h"

namespace jt::exchange {

QVariant Sheet::cell(int row, int column) const {
    if (row < 0 || row >= rows.size() || column < 0)
        return {};
    const QVariantList& r = rows[row];
    return column < r.size() ? r[column] : QVariant();
}

void Sheet::setCell(int row, int column, const QVariant& given) {
    if (row < 0 || column < 0)
        return;
    const bool emptyText = given.typeId() == QMetaType::QString && given.toString().isEmpty();
    const QVariant value = emptyText ? QVariant() : given;
    if (!value.isValid() && (row >= rows.size() || column >= rows[row].size()))
        return;
    while (rows.size() <= row)
        rows.append(QVariantList());
    QVariantList& r = rows[row];
    while (r.size() <= column)
        r.append(QVariant());
    r[column] = value;
}

QString columnName(int column) {
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

int columnOfReference(QStringView reference) {
    int column = 0;
    int letters = 0;
    for (const QChar ch : reference) {
        const char16_t u = ch.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        column = column * 26 + (u - u'A' + 1);
        // Spreadsheets stop at XFD (16,384 columns); anything longer is not a reference.
        if (++letters > 3)
            return -1;
    }
    return letters == 0 ? -1 : column - 1;
}

} // namespace jt::exchange

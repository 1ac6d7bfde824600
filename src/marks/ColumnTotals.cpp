#include "ColumnTotals.h"

#include "engine/Field.h"
#include "engine/Table.h"

#include <cmath>

namespace jt::marks {

QString ColumnTotals::sumText() const {
    const std::int64_t whole = sumFixed4 / 10000;
    std::int64_t part = std::abs(sumFixed4 % 10000);
    QString text = QString::number(std::abs(whole));
    if (sumFixed4 < 0)
        text.prepend(QLatin1Char('-'));
    if (part != 0) {
        QString decimals = QStringLiteral("%1").arg(part, 4, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return text;
}

ColumnTotals columnTotals(const engine::Table& table, const QString& field) {
    const engine::Field* f = table.fieldByName(field);
    ColumnTotals totals;
    totals.field = f->fieldName();
    const int fieldNo = f->fieldNo();
    const int rows = table.rowCount();
    for (int row = 0; row < rows; ++row) {
        const QVariant value = table.valueAt(row, fieldNo);
        if (value.isNull() || !value.isValid()) {
            ++totals.blanks;
            continue;
        }
        ++totals.marks;
        totals.sumFixed4 += std::llround(value.toDouble() * 10000.0);
    }
    return totals;
}

} // namespace jt::marks

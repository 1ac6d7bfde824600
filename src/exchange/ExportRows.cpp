#include "ExportRows.h"

#include "engine/DbfCodec.h"
#include "engine/Table.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>

namespace jt::exchange {

TableRows::TableRows(const engine::Table& table, const QList<ExportColumn>& columns)
    : m_table(table), m_columns(columns) {
    for (const ExportColumn& c : columns)
        m_fieldNos.append(table.fieldByName(c.field)->fieldNo());
}

engine::FieldDef TableRows::fieldDef(int column) const {
    return m_table.fieldAt(m_fieldNos[column])->def();
}

int TableRows::rowCount() const {
    return m_table.rowCount();
}

QVariant TableRows::value(int row, int column) const {
    return m_table.valueAt(row, m_fieldNos[column]);
}

QString valueText(const QVariant& value, const ExportSettings& settings) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const double d = value.toDouble();
        if (d == 0 && settings.blankZeros)
            return {};
        QString text = engine::shortestNumberText(d);
        text.replace(u'.', settings.decimalSeparator);
        return text;
    }
    case QMetaType::Bool:
        return value.toBool() ? settings.trueText : settings.falseText;
    case QMetaType::QDate:
        return value.toDate().toString(settings.dateFormat);
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh%1mm%1ss").arg(settings.timeSeparator));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.date().toString(settings.dateFormat) + u' ' +
               dt.time().toString(QStringLiteral("hh%1mm%1ss").arg(settings.timeSeparator));
    }
    default:
        return value.toString();
    }
}

QString currencyText(double value, const ExportSettings& settings) {
    const qint64 pence = qint64(std::llround(std::fabs(value) * 100));
    QString whole = QString::number(pence / 100);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, settings.thousandSeparator);
    return QStringLiteral("%1%2%3%4%5")
        .arg(value < 0 && pence != 0 ? QStringLiteral("-") : QString(), settings.currencySymbol,
             whole, QString(settings.decimalSeparator))
        .arg(pence % 100, 2, 10, QChar(u'0'));
}

} // namespace jt::exchange

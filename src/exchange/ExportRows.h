#pragma once

#include "engine/FieldDef.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QVariant>

namespace jt::engine {
class Table;
}

namespace jt::exchange {

// A column to export: the field it comes from and the title it carries.
struct ExportColumn {
    QString field;
    QString title;
    friend bool operator==(const ExportColumn&, const ExportColumn&) = default;
};

// What the writers read: a list of columns with their field definitions and rows of
// values (null QVariant: an empty field; double, QString, bool or QDate otherwise).
class ExportRows {
public:
    virtual ~ExportRows() = default;
    virtual QList<ExportColumn> columns() const = 0;
    virtual engine::FieldDef fieldDef(int column) const = 0;
    virtual int rowCount() const = 0;
    virtual QVariant value(int row, int column) const = 0;
    int columnCount() const { return int(columns().size()); }
};

// Every row of an open table, in its current order, for the given columns. A column
// whose field the table lacks is refused by the constructor with an EngineError.
class TableRows final : public ExportRows {
public:
    TableRows(const engine::Table& table, const QList<ExportColumn>& columns);
    QList<ExportColumn> columns() const override { return m_columns; }
    engine::FieldDef fieldDef(int column) const override;
    int rowCount() const override;
    QVariant value(int row, int column) const override;

private:
    const engine::Table& m_table;
    QList<ExportColumn> m_columns;
    QList<int> m_fieldNos;
};

// Rows held in memory (the tests, and any producer that is not a table).
class MemoryRows final : public ExportRows {
public:
    MemoryRows(QList<ExportColumn> columns, engine::FieldDefs defs, QList<QVariantList> rows)
        : m_columns(std::move(columns)), m_defs(std::move(defs)), m_rows(std::move(rows)) {}
    QList<ExportColumn> columns() const override { return m_columns; }
    engine::FieldDef fieldDef(int column) const override { return m_defs[std::size_t(column)]; }
    int rowCount() const override { return int(m_rows.size()); }
    QVariant value(int row, int column) const override {
        return column < m_rows[row].size() ? m_rows[row][column] : QVariant();
    }

private:
    QList<ExportColumn> m_columns;
    engine::FieldDefs m_defs;
    QList<QVariantList> m_rows;
};

// How values are written. The defaults are the ones the SeeAll Spreadsheet asks for,
// and they never follow the computer's regional settings.
struct ExportSettings {
    bool fieldNames = false;                           // a first row of column titles
    QString lineEnd = QStringLiteral("\r\n");          // between records
    QString encoding = QStringLiteral("Windows-1252"); // of the text formats
    QString dateFormat = QStringLiteral("dd/MM/yyyy");
    QChar timeSeparator = u':';
    QChar decimalSeparator = u'.';
    QChar thousandSeparator = u','; // used by currency amounts only
    QString currencySymbol = QStringLiteral("\u00A3");
    QString trueText = QStringLiteral("True");
    QString falseText = QStringLiteral("False");
    bool blankZeros = false; // zeros are written as 0
    QChar delimiter = u'\t'; // of the delimited text format
    QChar quote = u'"';
    QString tableName = QStringLiteral("TABLE"); // SQL, XML, LDIF and sheet names
};

// A value as the text formats write it: numbers in their shortest exact form with the
// decimal separator, truth values as trueText / falseText, dates in dateFormat, an
// empty field as nothing.
QString valueText(const QVariant& value, const ExportSettings& settings);
// An amount of money: symbol, thousands grouped, two decimals ("£1,234.50").
QString currencyText(double value, const ExportSettings& settings);

} // namespace jt::exchange

#pragma once

#include "FieldDef.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

namespace jt::engine {

class Table;

// A column of an open table, read and written in the table's current record.
// Empty fields read as 0, empty text or false; value() gives a null QVariant.
class Field final {
public:
    QString fieldName() const { return m_def.name; }
    FieldType dataType() const { return m_def.type; }
    const FieldDef& def() const { return m_def; }
    int size() const { return m_def.width; }
    int decimals() const { return m_def.decimals; }
    bool isCalculated() const { return m_calculated; }
    bool isNumber() const { return m_def.isNumber(); }
    Table* table() const { return m_table; }
    // Position among the table's fields: the stored columns in file order, then the calculated
    // ones.
    int fieldNo() const { return m_fieldNo; }

    // Display format of number fields ("#.##", "0.##"); empty shows the plain number.
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString& format) { m_displayFormat = format; }

    bool isNull() const;
    QVariant value() const;
    double asFloat() const;
    // The value in ten-thousandths, rounded to the nearest: equal at four decimal places
    // means equal here.
    std::int64_t asFixed4() const;
    int asInteger() const;
    QString asString() const;
    bool asBoolean() const;
    // The value as grids and reports show it, display format applied.
    QString displayText() const;
    // The value as it is shown for editing: plain, without the display format.
    QString editText() const;

    // Writing needs the table in edit or insert mode (calculated fields: in the
    // calculation handler). A value that does not fit is refused with an EngineError.
    void setValue(const QVariant& value);
    void setAsFloat(double value) { setValue(value); }
    void setAsInteger(int value) { setValue(double(value)); }
    void setAsString(const QString& value);
    void setAsBoolean(bool value) { setValue(value); }
    void clear() { setValue(QVariant()); }
    // Text as a person typed it. A number field refuses text that does not read as a
    // number with "'<text>' is not a valid floating point value for field '<name>'".
    void setText(const QString& text);

private:
    friend class Table;
    Field(Table* table, FieldDef def, bool calculated)
        : m_table(table), m_def(std::move(def)), m_calculated(calculated) {}

    Table* m_table;
    FieldDef m_def;
    bool m_calculated;
    std::optional<FieldType> m_expectedType; // checked when the field is bound
    int m_fieldNo = -1;
    int m_column = -1; // stored column while the table is open, -1 when unbound
    QString m_displayFormat;
};

// Text of a number under a display format of '#', '0', '.' and ',' (as "#.##" or
// "0.##"): '0' digits always show, '#' digits only when needed, so 0 under "#.##" is
// empty and 0.5 is ".5".
QString formatNumber(double value, const QString& format);
// Text of a value as a person would read it; numbers in their shortest exact form.
QString plainText(const QVariant& value);

} // namespace jt::engine

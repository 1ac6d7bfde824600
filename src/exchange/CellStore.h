#pragma once

#include <QString>
#include <QVariant>

namespace jt::engine {
class Field;
class Table;
} // namespace jt::engine

namespace jt::exchange {

// Freezes the controls bound to the table for the length of a bulk change.
class ControlsFrozen final {
public:
    explicit ControlsFrozen(engine::Table& table);
    ~ControlsFrozen();
    ControlsFrozen(const ControlsFrozen&) = delete;
    ControlsFrozen& operator=(const ControlsFrozen&) = delete;

private:
    engine::Table& m_table;
};

// A source cell as text: numbers in their shortest plain form, booleans as TRUE/FALSE.
QString cellText(const QVariant& value);

// Stores one source cell in a field; an empty cell leaves the field as it is. Text in a
// number field is read with "." as the decimal point and "," as the thousands separator,
// whatever the machine's locale; one that is no number is refused with the program's
// number message.
void storeCell(engine::Field& field, const QVariant& value);

} // namespace jt::exchange

#pragma once

#include <QString>
#include <QVariant>

namespace jt::engine {
class Field;
}

namespace jt::dbcontrols {

// How a grid shows a value of this field in any row: the field's display format for
// numbers (as Field::displayText does for the current record); an empty value shows
// as nothing, whatever the format.
QString cellDisplayText(const engine::Field& field, const QVariant& value);
// How the value is shown for editing: plain, without the display format.
QString cellEditText(const QVariant& value);

} // namespace jt::dbcontrols

#include "CellText.h"

#include "engine/Field.h"

namespace jt::dbcontrols {

QString cellDisplayText(const engine::Field& field, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    if (field.isNumber() && !field.displayFormat().isEmpty())
        return engine::formatNumber(value.toDouble(), field.displayFormat());
    return engine::plainText(value);
}

QString cellEditText(const QVariant& value) {
    return engine::plainText(value);
}

} // namespace jt::dbcontrols

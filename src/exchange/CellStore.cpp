#include "CellStore.h"

#include "NumberText.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

namespace jt::exchange {

ControlsFrozen::ControlsFrozen(engine::Table& table) : m_table(table) {
    m_table.disableControls();
}

ControlsFrozen::~ControlsFrozen() {
    m_table.enableControls();
}

QString cellText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Double:
        return engine::plainText(value);
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default:
        return value.toString();
    }
}

void storeCell(engine::Field& field, const QVariant& value) {
    if (!value.isValid())
        return;
    if (field.isNumber()) {
        if (value.typeId() == QMetaType::Double) {
            field.setValue(value);
            return;
        }
        const QString text = cellText(value);
        const std::optional<double> number =
            value.typeId() == QMetaType::QString ? parseNumber(text) : std::nullopt;
        if (!number)
            throw engine::EngineError(
                QStringLiteral("'%1' is not a valid floating point value for field '%2'")
                    .arg(text, field.fieldName()));
        field.setValue(*number);
        return;
    }
    if (field.dataType() == engine::FieldType::Character)
        field.setValue(cellText(value));
    else
        field.setText(cellText(value).trimmed());
}

} // namespace jt::exchange

#pragma once

#include <QString>

#include <vector>

namespace jt::engine {

enum class FieldType : char {
    Character = 'C',
    Numeric = 'N',
    Float = 'F',
    Logical = 'L',
    Date = 'D',
};

// One column of a dBASE table as its header describes it.
struct FieldDef {
    QString name;
    FieldType type = FieldType::Character;
    int width = 1;
    int decimals = 0;

    bool isNumber() const { return type == FieldType::Numeric || type == FieldType::Float; }
    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

using FieldDefs = std::vector<FieldDef>;

// Numeric and floating columns read and write alike, whatever their width and decimals;
// a column of another family holds another kind of value.
inline bool sameTypeFamily(FieldType a, FieldType b) {
    const auto number = [](FieldType t) {
        return t == FieldType::Numeric || t == FieldType::Float;
    };
    return a == b || (number(a) && number(b));
}
// "Field 'A1' has type C (text), where a number field (N or F) is expected"
QString wrongTypeText(const QString& field, FieldType found, FieldType expected);

} // namespace jt::engine

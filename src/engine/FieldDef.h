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

} // namespace jt::engine

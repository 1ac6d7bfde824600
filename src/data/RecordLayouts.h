#pragma once

#include "engine/FieldDef.h"

#include <QString>

namespace jt::data {

// The adjudicator letters in the order every pass handles them.
inline constexpr char kAdjudicatorLetters[] = {'A', 'B', 'C', 'D', 'E'};

// Field list of a competition results table, in the template's order.
const engine::FieldDefs& resultsFields();
// Field list of a competition info table.
const engine::FieldDefs& compInfoFields();
// Display format of a results field: "#.##", "0.##" or empty for the plain number.
QString resultsDisplayFormat(const QString& fieldName);

} // namespace jt::data

#pragma once

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::scoring {

// Name of the working index of the tie-marking pass.
inline const QString kTieIndexName = QStringLiteral("gridtie");

// Writes pointsField of every record from the order of keyField, highest first: each
// group of keys equal at four decimal places shares the Irish points of the places it
// covers (summed and divided as 32-bit floats); keys of 0, below 0 or empty get 0.
// Runs under the working index indexName. Throws EngineError; records already
// posted keep their new values.
void RankGrid(engine::Table& results, const QString& keyField, const QString& pointsField,
              const QString& indexName);

// Writes markField of every record: "T" on the first and "=" on the others of each run
// of two or more equal positive totals (four decimal places) in descending order, " "
// everywhere else. Runs under the working index "gridtie".
void MarkTies(engine::Table& results, const QString& totalField, const QString& markField);

} // namespace jt::scoring

#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace jt::engine {
class Table;
}

namespace jt::data {

// Opens a closed table for the look and closes it again, also when the look fails.
class OpenForLook final {
public:
    explicit OpenForLook(engine::Table& table);
    ~OpenForLook();
    OpenForLook(const OpenForLook&) = delete;
    OpenForLook& operator=(const OpenForLook&) = delete;

private:
    engine::Table& m_table;
    bool m_opened;
};

// A mark stored for an adjudicator or a round that the competition does not have
// (NUMADJS "3" has no adjudicators D and E; NUMROUNDS "3" has no round 3). The scoring
// counts it all the same; the checks before scoring or printing list it.
struct StrayMark {
    std::uint32_t record = 0; // record number in the file, from 1
    QString field;            // "D1", "ESET", "A3"
    double mark = 0;
    bool noSuchAdjudicator = false; // otherwise the round is the one missing
    // "u12.dbf: record 2 holds 80 in D1, but the competition has no adjudicator D; the
    // scoring counts it"
    QString text(const QString& table) const;
};

// The stray marks of the results table in its current order and filter; a closed table
// is opened for the look and closed again. Other values of the two counts leave nothing
// stray. A table of the wrong shape is refused with the engine's error.
std::vector<StrayMark> strayMarks(engine::Table& results, const QString& numAdjs,
                                  const QString& numRounds);

// What selecting a competition checks of its results table, which it opens for the look:
// a table of the wrong shape is refused with the engine's error; records after the ones
// the header counts and stray marks come back as warnings to show.
QStringList resultsWarnings(engine::Table& results, const QString& numAdjs,
                            const QString& numRounds);

} // namespace jt::data

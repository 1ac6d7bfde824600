#pragma once

#include <QString>

#include <functional>

namespace jt::engine {
class Table;
}

namespace jt::reports {

// A named index a report adds to a table for its run and deletes again.
struct WorkingIndex {
    QString name;
    QString field;
    bool descending = false;
};

inline const WorkingIndex kRecallIndex{QStringLiteral("recall"), QStringLiteral("RECALLTTL"), true};
inline const WorkingIndex kFinalIndex{QStringLiteral("final"), QStringLiteral("GRIDTOTAL"), true};
inline const WorkingIndex kDancerIndex{QStringLiteral("dancer"), QStringLiteral("COMP_NO"), false};
inline const WorkingIndex kRecalTmpIndex{QStringLiteral("recaltmp"), QStringLiteral("SEQUENCE"),
                                         false};
// The solo index's key is the mark field the user chose.
inline WorkingIndex soloIndex(const QString& markField) {
    return {QStringLiteral("solo"), markField, true};
}

// The life cycle of a report's working index: close the table, add the index, open the
// table for sole use, make the index current and go to the first record; run body (the
// report's work and preview); then, also when any step failed, make no index current,
// switch a filter off and clear it, delete the index, close the table and give up sole
// use. The first error is thrown again afterwards.
void runWithWorkingIndex(engine::Table& table, const WorkingIndex& index,
                         const std::function<void()>& body);

} // namespace jt::reports

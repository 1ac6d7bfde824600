#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace jt::engine {
class Table;
}

namespace jt::data {

// The change log of a competition: "<name>.log" beside its results table "<name>.dbf",
// a CSV file (RFC 4180, UTF-8, CR LF line ends) that only ever grows. Its first row
// names the columns; then every post that changes a logged field of a dancer adds one
// row per changed field, written and synced before the table is written, so that no
// change that reached the table lacks its row.
//
// Logged fields: the dancer's identity (COMP_NO, NAME, SCHOOL), the dancing order
// (SEQUENCE, since a mark typed down a sheet belongs to whoever stands at that place)
// and every mark (A1 to E3, ASET to ESET). What the calculation and the reports write
// (totals, points, tie marks, POSITION, RECALLED, the solo fields) is not logged: it is
// worked out again from the logged fields.
//
// An added dancer gives a row "(dancer added)" followed by a row per logged field that
// is not blank; a deleted dancer gives "(dancer deleted)" followed by a row per logged
// field it held, so that its marks can be typed in again from the log.

inline const QStringList kChangeLogColumns = {QStringLiteral("Time"),   QStringLiteral("Field"),
                                              QStringLiteral("Dancer"), QStringLiteral("Old"),
                                              QStringLiteral("New"),    QStringLiteral("Window")};
inline const QString kDancerAdded = QStringLiteral("(dancer added)");
inline const QString kDancerDeleted = QStringLiteral("(dancer deleted)");

struct ChangeLine {
    QString time; // local time, "2026-12-11 14:05:09"
    QString field;
    QString dancer; // the dancer number (after the change; before it for a deletion)
    QString oldValue;
    QString newValue;
    QString window; // the window whose handler posted, "Enter Marks", "Import"
    QStringList cells() const { return {time, field, dancer, oldValue, newValue, window}; }
};

// True for the fields whose changes are logged.
bool isLoggedField(const QString& fieldName);

// The log of the results table at this path: same folder, same name, ".log"; an
// existing log whose name differs only in letter case is that log.
QString changeLogPath(const QString& resultsPath);

// Deletes the log of the results table at this path, if there is one. Throws an
// EngineError of kind Io when it exists and cannot be deleted.
void deleteChangeLog(const QString& resultsPath);

// One CSV row, fields quoted where they hold a comma, a quote or a line break.
QByteArray csvRow(const QStringList& cells);

// Adds the rows at the end of the log and, unless told otherwise, syncs them; a new log
// starts with the column row. A log whose last row was cut off by a crash gets its next
// rows on a line of their own. Throws an EngineError of kind Io that names the file when
// the log cannot be written; the file then holds what it held before. Rows written
// without a sync survive the program being killed, not a power cut, until
// syncChangeLog().
// Returns where the rows were put: from and to, as byte offsets.
std::pair<qint64, qint64> appendChangeLog(const QString& path, const QList<ChangeLine>& lines,
                                          bool sync = true);
void syncChangeLog(const QString& path);
// Takes back rows written for a post that then failed: the log is cut back to `from` when
// it still ends at `to` (nothing was added after them). Quiet: a log that cannot be cut
// keeps the rows.
void retractChangeLog(const QString& path, qint64 from, qint64 to);

// The rows that a post of the table's current record would add: the record is being
// edited or inserted, the fields give the new values.
QList<ChangeLine> postChanges(const engine::Table& results, const QString& time,
                              const QString& window);
// The rows that deleting the table's current record would add.
QList<ChangeLine> deleteChanges(const engine::Table& results, const QString& time,
                                const QString& window);

} // namespace jt::data

#pragma once

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::marks {

// The order button of the marks windows: its caption names the order on show, its hint
// says what a click will show.
inline const QString kAsDanced = QStringLiteral("As Danced");
inline const QString kAsEntered = QStringLiteral("As Entered");
inline const QString kAsDancedHint =
    QStringLiteral("Click to show dancers in the order they were entered onto the system");
inline const QString kAsEnteredHint =
    QStringLiteral("Click to show dancers in the order they danced in");
// The results table's index on SEQUENCE.
inline const QString kDancedIndex = QStringLiteral("seqno");

// "As Danced": by ascending sequence number; "As Entered": entry order. Either way the
// first dancer becomes current (a changed record is saved on the way).
void showAsDanced(engine::Table& results);
void showAsEntered(engine::Table& results);

// The competition display name: the table's file name without folder and extension, in
// capitals (u12girls.dbf shows as U12GIRLS).
QString competitionDisplayName(const QString& tableName);

} // namespace jt::marks

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace jt::marks {

// The competition's numbers as the info table stores them: NUMADJS "5" is five
// adjudicators and "3" three; NUMROUNDS "4" is three rounds and "3" two (the set dance
// counted). Anything else has not been chosen yet.
std::optional<int> storedAdjudicators(const QString& numAdjs);
std::optional<int> storedRounds(const QString& numRounds);

// The choices Enter Marks offers: "A" to "C" or "A" to "E"; "1", "2", "3" when there are
// three rounds, and "Set" last.
QStringList adjudicatorItems(int adjudicators);
QStringList roundItems(int rounds);

// What one pair of choices shows.
struct MarkChoice {
    QString field;      // "A1" .. "E3", "ASET" .. "ESET"
    QString nameField;  // info table: "ADJANAME" ..
    QString titleField; // info table: "RD1TITLE" .. "RD4TITLE"
    bool recalledOnly = false;
    bool valid() const { return !field.isEmpty(); }
};
// By item positions; the round item's meaning depends on whether "3" is offered. An
// item out of range gives an invalid choice.
MarkChoice markChoice(int adjudicatorItem, int roundItem, int rounds);

// The twenty mark fields, adjudicator by adjudicator: A1, A2, A3, ASET, B1, ...
const QStringList& markFields();
bool isMarkField(const QString& field);

} // namespace jt::marks

#pragma once

#include <QString>

namespace jt::engine {
class Table;
}

namespace jt::engine::IndexStore {

// Working indexes: a calculation pass or a report adds one to a table's definitions,
// uses it with the table in sole use and deletes it again. Before the first of them goes
// into the definitions, the definitions as they are ("<name>.jix-undo") are saved beside
// them and held locked by this program until its last working index of the table is
// deleted. When the program dies meanwhile (killed, a crash), the next read of the
// definitions, in any program, finds the saved ones held by nobody and puts them back,
// so a dead recalculation or report leaves no index behind that would stop the next run.
//
// Call beginWorking before adding the index, and endWorking after deleting it (or when
// adding it failed).
void beginWorking(const QString& tablePath, const QString& name);
void endWorking(const QString& tablePath, const QString& name);
QString undoPathFor(const QString& tablePath);

// Table::addIndex and Table::deleteIndex of a working index, with the above around them.
void addWorkingIndex(Table& table, const QString& name, const QString& field, bool descending);
void deleteWorkingIndex(Table& table, const QString& name);

} // namespace jt::engine::IndexStore

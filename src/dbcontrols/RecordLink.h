#pragma once

#include <functional>

class QObject;

namespace jt::engine {
class Table;
}

namespace jt::dbcontrols {

// Controls that hold typed text before it reaches the record (a grid's cell editor,
// an edit box) register here with their table. Before the record is saved or left,
// updateRecord() has each of them write its text into the record's field.
//
// A control's writer returns false when the field refused the text; the control has
// then shown the refusal and kept its text open for correction.
void registerRecordEditor(engine::Table* table, QObject* control, std::function<bool()> writer);
void unregisterRecordEditor(engine::Table* table, QObject* control);

// Writes every bound control's pending text into the current record. False when a
// control refused its text: the caller must not save or leave the record.
bool updateRecord(engine::Table& table);
// updateRecord(), then saves the record when it is being edited. Windows call this
// where they save a mark still being typed (on closing, before changing the order).
// Engine errors from the save are thrown.
bool postRecord(engine::Table& table);

} // namespace jt::dbcontrols

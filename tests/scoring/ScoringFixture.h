#pragma once

#include <QList>
#include <QStringList>
#include <QVariantMap>

namespace jt::engine {
class Table;
}

namespace jt::test {

// Records as field name to value; a field left out stays empty.
using Records = QList<QVariantMap>;

// Appends the records in order and closes the table again.
void appendRecords(engine::Table& table, const Records& records);
// Every stored field of every record, in record order.
Records readRecords(engine::Table& table);
// One field of every record, in record order.
QVariantList readColumn(engine::Table& table, const QString& field);
// Names of the indexes defined on the table's file.
QStringList indexNames(const engine::Table& table);
// Fails the current test unless the table is as every pass leaves it: closed, not in
// sole use, in record order, no index but "seqno" defined.
void verifyLeftClosed(engine::Table& results);

// The worked example: three adjudicators, two rounds, dancers P, Q, R, S and U (no
// marks) in record order. With set marks, P, Q and R have danced the set.
Records exampleDancers(bool withSetMarks);

} // namespace jt::test

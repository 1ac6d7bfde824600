#include "ScoringFixture.h"

#include "engine/IndexDefs.h"
#include "engine/Table.h"

#include <QTest>

namespace jt::test {

void appendRecords(engine::Table& table, const Records& records) {
    table.close();
    table.open();
    for (const QVariantMap& record : records) {
        table.append();
        for (auto it = record.begin(); it != record.end(); ++it)
            table.fieldByName(it.key())->setValue(it.value());
        table.post();
    }
    table.close();
}

Records readRecords(engine::Table& table) {
    table.close();
    table.open();
    Records records;
    for (table.first(); !table.eof(); table.next()) {
        QVariantMap record;
        for (int i = 0; i < table.fieldCount(); ++i)
            if (!table.fieldAt(i)->isCalculated())
                record.insert(table.fieldAt(i)->fieldName(), table.fieldAt(i)->value());
        records.append(record);
    }
    table.close();
    return records;
}

QVariantList readColumn(engine::Table& table, const QString& field) {
    QVariantList values;
    for (const QVariantMap& record : readRecords(table))
        values.append(record.value(field));
    return values;
}

QStringList indexNames(const engine::Table& table) {
    QStringList names;
    for (const engine::IndexDef& def : engine::IndexStore::read(table.resolvedPath()))
        names.append(def.name);
    return names;
}

Records exampleDancers(bool withSetMarks) {
    const auto dancer = [](const char* name, QList<double> a, QList<double> b, QList<double> c) {
        QVariantMap r{{QStringLiteral("NAME"), QString::fromLatin1(name)}};
        r.insert(QStringLiteral("A1"), a[0]);
        r.insert(QStringLiteral("A2"), a[1]);
        r.insert(QStringLiteral("B1"), b[0]);
        r.insert(QStringLiteral("B2"), b[1]);
        r.insert(QStringLiteral("C1"), c[0]);
        r.insert(QStringLiteral("C2"), c[1]);
        return r;
    };
    Records records{
        dancer("P", {80, 82}, {79, 80}, {84, 80}),
        dancer("Q", {79, 81}, {80, 81}, {82, 82}),
        dancer("R", {80, 78}, {79, 77}, {75, 76}),
        dancer("S", {70, 72}, {70, 70}, {77, 74}),
        QVariantMap{{QStringLiteral("NAME"), QStringLiteral("U")}},
    };
    if (withSetMarks) {
        const QList<QList<double>> sets{{85, 80, 78}, {80, 84, 82}, {88, 83, 80}};
        for (int i = 0; i < sets.size(); ++i) {
            records[i].insert(QStringLiteral("ASET"), sets[i][0]);
            records[i].insert(QStringLiteral("BSET"), sets[i][1]);
            records[i].insert(QStringLiteral("CSET"), sets[i][2]);
        }
    }
    return records;
}

void verifyLeftClosed(engine::Table& results) {
    QVERIFY(!results.active());
    QVERIFY(!results.exclusive());
    QCOMPARE(results.indexName(), QString());
    for (const QString& name : indexNames(results))
        QVERIFY2(name == QLatin1String("seqno"), qPrintable(name));
}

} // namespace jt::test

// The definitions saved before a working index goes in: what a read does with them when
// the program that saved them is gone.
#include "EngineFixture.h"
#include "engine/IndexDefs.h"
#include "engine/WorkingIndexes.h"

#include <QTest>

using namespace jt;
using namespace jt::engine;
using jt::test::EngineFolder;

namespace {

const FieldDefs kFields = {{QStringLiteral("NAME"), FieldType::Character, 10, 0},
                           {QStringLiteral("MARK"), FieldType::Numeric, 10, 4}};

QStringList names(const IndexDefList& defs) {
    QStringList list;
    for (const IndexDef& def : defs)
        list << def.name;
    return list;
}

} // namespace

class WorkingIndexesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The saved definitions of a run that died: kept as the dead program left them
    // (copied while held, put back once this program let go of them).
    void deadRunsDefinitions_data() {
        QTest::addColumn<QStringList>("lasting"); // definitions before the run
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QStringList>("expected"); // what the next read gives
        QTest::addColumn<bool>("jixAfter");        // whether a definitions file is left
        const QStringList none;
        const QStringList seqno{QStringLiteral("seqno")};
        const QStringList both{QStringLiteral("seqno"), QStringLiteral("adjasub")};
        QTest::addRow("definitions put back") << seqno << "" << seqno << true;
        QTest::addRow("no definitions before") << none << "" << none << false;
        // Torn by a power cut: the definitions stay as they are; a selection tidies them.
        QTest::addRow("torn") << seqno << "torn" << both << true;
        QTest::addRow("checksum") << seqno << "checksum" << both << true;
    }
    void deadRunsDefinitions() {
        QFETCH(QStringList, lasting);
        QFETCH(QString, damage);
        QFETCH(QStringList, expected);
        QFETCH(bool, jixAfter);
        EngineFolder folder;
        auto table = folder.create(QStringLiteral("w.dbf"), kFields);
        table->close();
        const QString path = table->resolvedPath();
        for (const QString& name : lasting)
            table->addIndex(name, QStringLiteral("NAME"));

        IndexStore::addWorkingIndex(*table, QStringLiteral("adjasub"), QStringLiteral("MARK"),
                                    true);
        QByteArray saved = test::fileBytes(IndexStore::undoPathFor(path));
        const QByteArray jixDuringRun = test::fileBytes(IndexStore::pathFor(path));
        // While this program holds them, a read leaves them alone.
        QCOMPARE(names(IndexStore::read(path)), QStringList(lasting) << QStringLiteral("adjasub"));
        QVERIFY(QFile::exists(IndexStore::undoPathFor(path)));
        IndexStore::deleteWorkingIndex(*table, QStringLiteral("adjasub"));
        QVERIFY(!QFile::exists(IndexStore::undoPathFor(path)));

        // As the dead program left them.
        QVERIFY(saved.size() > 8);
        if (damage == QLatin1String("torn"))
            saved.truncate(saved.size() - 3);
        else if (damage == QLatin1String("checksum"))
            saved[saved.size() - 1] = char(saved[saved.size() - 1] ^ 0x20);
        QVERIFY(test::writeBytes(IndexStore::undoPathFor(path), saved));
        QVERIFY(test::writeBytes(IndexStore::pathFor(path), jixDuringRun));

        QCOMPARE(names(IndexStore::read(path)), expected);
        QVERIFY(!QFile::exists(IndexStore::undoPathFor(path)));
        QCOMPARE(QFile::exists(IndexStore::pathFor(path)), jixAfter);
        QCOMPARE(names(IndexStore::read(path)), expected);
    }

    // A working index that cannot be added (its name is taken by a lasting one) leaves
    // nothing saved behind, and the lasting one stays.
    void refusedWorkingIndexSavesNothing() {
        EngineFolder folder;
        auto table = folder.create(QStringLiteral("w.dbf"), kFields);
        table->close();
        const QString path = table->resolvedPath();
        table->addIndex(QStringLiteral("adjasub"), QStringLiteral("NAME"));
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 IndexStore::addWorkingIndex(*table, QStringLiteral("adjasub"),
                                                             QStringLiteral("MARK"), true));
        QVERIFY(!QFile::exists(IndexStore::undoPathFor(path)));
        QCOMPARE(names(IndexStore::read(path)), QStringList{QStringLiteral("adjasub")});
    }
};

QTEST_GUILESS_MAIN(WorkingIndexesTest)

#include "tst_workingindexes.moc"

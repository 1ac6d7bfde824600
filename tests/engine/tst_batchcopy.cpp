// Batch copy: all records, or at most N from the current record in the current order,
// into a new or replaced destination.
#include "EngineFixture.h"
#include "engine/BatchCopy.h"
#include "engine/DbfFile.h"
#include "engine/IndexDefs.h"

#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace jt::engine;
using namespace jt::test;

namespace {

const FieldDefs kFields = {{QStringLiteral("ID"), FieldType::Numeric, 3, 0},
                           {QStringLiteral("TOTAL"), FieldType::Numeric, 10, 4},
                           {QStringLiteral("NAME"), FieldType::Character, 12, 0}};

void fill(const EngineFolder& folder) {
    auto t = folder.create(QStringLiteral("src.dbf"), kFields);
    const double totals[] = {30, 10, 50, 20, 40};
    for (int i = 0; i < 5; ++i) {
        t->append();
        t->fieldByName(QStringLiteral("ID"))->setAsInteger(i + 1);
        t->fieldByName(QStringLiteral("TOTAL"))->setAsFloat(totals[i]);
        t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("Dáithí %1").arg(i + 1));
        t->post();
    }
    t->deleteRecord(); // the deleted last record is not copied
}

} // namespace

class BatchCopyTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copies_data();
    void copies();
    void replacesDestination();
    void refusals();
    void failedWrites_data();
    void failedWrites();
};

void BatchCopyTest::copies_data() {
    QTest::addColumn<bool>("openSource");
    QTest::addColumn<QString>("index");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("maxRecords");
    QTest::addColumn<QStringList>("ids");
    QTest::addRow("closed source, all")
        << false << "" << 0 << -1 << QStringList({"1", "2", "3", "4"});
    QTest::addRow("open source, all from the first")
        << true << "" << 2 << -1 << QStringList({"1", "2", "3", "4"});
    QTest::addRow("at most 2 from the current") << true << "" << 1 << 2 << QStringList({"2", "3"});
    QTest::addRow("more than there are") << true << "" << 2 << 10 << QStringList({"3", "4"});
    QTest::addRow("none") << true << "" << 0 << 0 << QStringList();
    QTest::addRow("in index order") << true << "byTotal" << 0 << 3 << QStringList({"3", "1", "4"});
    QTest::addRow("in index order from the second")
        << true << "byTotal" << 1 << 2 << QStringList({"1", "4"});
    QTest::addRow("closed source with an index")
        << false << "byTotal" << 0 << 2 << QStringList({"3", "1"});
}

void BatchCopyTest::copies() {
    QFETCH(bool, openSource);
    QFETCH(QString, index);
    QFETCH(int, startRow);
    QFETCH(int, maxRecords);
    QFETCH(QStringList, ids);
    EngineFolder folder;
    fill(folder);
    auto source = folder.handle(QStringLiteral("src.dbf"));
    source->addIndex(QStringLiteral("byTotal"), QStringLiteral("TOTAL"), true);
    source->setIndexName(index);
    if (openSource) {
        source->open();
        source->moveToRow(startRow);
    }
    auto dest = folder.handle(QStringLiteral("dest.dbf"));
    QCOMPARE(batchCopy(*source, *dest, maxRecords), int(ids.size()));
    QCOMPARE(source->active(), openSource);
    dest->open();
    QCOMPARE(dest->structure().fields, kFields);
    QCOMPARE(column(*dest, QStringLiteral("ID")), ids);
    if (!ids.isEmpty())
        QCOMPARE(dest->fieldByName(QStringLiteral("NAME"))->asString(),
                 QStringLiteral("Dáithí %1").arg(ids.first()));
    QVERIFY(dest->indexDefs().empty());
}

void BatchCopyTest::replacesDestination() {
    EngineFolder folder;
    fill(folder);
    {
        auto old = folder.create(QStringLiteral("dest.dbf"),
                                 {{QStringLiteral("OTHER"), FieldType::Character, 3, 0}});
        old->append();
        old->fieldByName(QStringLiteral("OTHER"))->setAsString(QStringLiteral("old"));
        old->post();
        old->close();
        old->addIndex(QStringLiteral("oldIndex"), QStringLiteral("OTHER"));
    }
    auto source = folder.handle(QStringLiteral("src.dbf"));
    auto dest = folder.handle(QStringLiteral("dest.dbf"));
    QCOMPARE(batchCopy(*source, *dest), 4);
    QVERIFY(!QFile::exists(IndexStore::pathFor(folder.filePath(QStringLiteral("dest.dbf")))));
    dest->updateIndexDefs();
    QVERIFY(dest->indexDefs().empty());
    dest->open();
    QCOMPARE(dest->rowCount(), 4);
    QVERIFY(!dest->findField(QStringLiteral("OTHER")));
    // No temporary file is left behind.
    QCOMPARE(
        QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("tmp")),
        QStringList());
}

void BatchCopyTest::refusals() {
    EngineFolder folder;
    fill(folder);
    auto source = folder.handle(QStringLiteral("src.dbf"));
    auto dest = folder.handle(QStringLiteral("dest.dbf"));
    batchCopy(*source, *dest);
    dest->addIndex(QStringLiteral("keep"), QStringLiteral("ID"));
    const QByteArray before = fileBytes(dest->resolvedPath());
    // A destination that another handle holds open is in use; it and its index stay.
    auto holder = folder.handle(QStringLiteral("dest.dbf"));
    holder->open();
    try {
        batchCopy(*source, *dest, 1);
        QFAIL("copied over a table in use");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::InUse);
        QVERIFY(e.message().contains(QLatin1String("dest.dbf")));
    }
    holder->close();
    QCOMPARE(fileBytes(dest->resolvedPath()), before);
    dest->updateIndexDefs();
    QCOMPARE(dest->indexDefs().size(), std::size_t(1));
    // Onto itself, and into an open handle.
    QVERIFY_THROWS_EXCEPTION(EngineError, batchCopy(*source, *source));
    dest->open();
    QVERIFY_THROWS_EXCEPTION(EngineError, batchCopy(*source, *dest));
    QCOMPARE(fileBytes(dest->resolvedPath()), before);
}

// A copy whose write fails (a full disk, an I/O error) says which table and why, leaves
// the old destination and its index as they were and no temporary file behind.
void BatchCopyTest::failedWrites_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("error");
    QTest::addRow("write, disk full") << int(IoEvent::Kind::Write) << ENOSPC;
    QTest::addRow("sync, I/O error") << int(IoEvent::Kind::Sync) << EIO;
    QTest::addRow("rename, disk full") << int(IoEvent::Kind::Rename) << ENOSPC;
}

void BatchCopyTest::failedWrites() {
    QFETCH(int, kind);
    QFETCH(int, error);
    EngineFolder folder;
    fill(folder);
    auto source = folder.handle(QStringLiteral("src.dbf"));
    auto dest = folder.handle(QStringLiteral("dest.dbf"));
    batchCopy(*source, *dest, 1);
    dest->addIndex(QStringLiteral("keep"), QStringLiteral("ID"));
    const QByteArray before = fileBytes(dest->resolvedPath());
    DbfFile::setIoObserver([&](const IoEvent& e) { return int(e.kind) == kind ? error : 0; });
    QString message;
    try {
        batchCopy(*source, *dest);
    } catch (const EngineError& e) {
        message = e.message();
    }
    DbfFile::setIoObserver({});
    QVERIFY2(message.contains(dest->resolvedPath() + QStringLiteral(": ")) &&
                 message.contains(QString::fromLocal8Bit(strerror(error))),
             qPrintable(message));
    QCOMPARE(fileBytes(dest->resolvedPath()), before);
    dest->updateIndexDefs();
    QCOMPARE(dest->indexDefs().size(), std::size_t(1));
    QCOMPARE(
        QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("tmp")),
        QStringList());
}

QTEST_GUILESS_MAIN(BatchCopyTest)
#include "tst_batchcopy.moc"

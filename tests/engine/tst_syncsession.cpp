// Sync sessions: a recalculation's many sole-use passes reach the disk once, and a
// session that dies on the way leaves the table as it was before the session.
#include "EngineFixture.h"
#include "engine/DbfFile.h"
#include "engine/SyncSession.h"
#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace jt;
using namespace jt::engine;
using jt::test::EngineFolder;

namespace {

const FieldDefs kFields = {{QStringLiteral("NAME"), FieldType::Character, 10, 0},
                           {QStringLiteral("MARK"), FieldType::Numeric, 10, 4}};

// One sole-use pass that sets MARK of every record, as a scoring pass does.
void markEveryRecord(const QString& path, double mark) {
    Table t;
    t.setTableName(path);
    t.setExclusive(true);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.fieldByName(QStringLiteral("MARK"))->setAsFloat(mark);
        t.post();
    }
    t.close();
}

QList<double> marks(const QString& path) {
    Table t;
    t.setTableName(path);
    t.open();
    QList<double> values;
    for (t.first(); !t.eof(); t.next())
        values << t.fieldByName(QStringLiteral("MARK"))->asFloat();
    return values;
}

QString undoOf(const QString& path) {
    return path + QStringLiteral("-undo");
}

// The other process ("session PATH"): runs a session with two passes and then waits,
// never finishing it, until it is killed.
int sessionChild(const QStringList& args) {
    if (args.size() != 2 || args[0] != QLatin1String("session"))
        return 2;
    try {
        SyncSession session;
        markEveryRecord(args[1], 50);
        markEveryRecord(args[1], 99);
        test::tellParent(QStringLiteral("written"));
        test::waitForParent();
        return 0;
    } catch (const EngineError& e) {
        test::tellParent(QStringLiteral("error: ") + e.message());
        return 1;
    }
}

} // namespace

class SyncSessionTest : public QObject {
    Q_OBJECT

private:
    QString makeTable(const EngineFolder& folder) {
        auto t = folder.create(QStringLiteral("marks.dbf"), kFields);
        for (int i = 1; i <= 3; ++i) {
            t->append();
            t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("d%1").arg(i));
            t->fieldByName(QStringLiteral("MARK"))->setAsFloat(i);
            t->post();
        }
        t->close();
        return folder.filePath(QStringLiteral("marks.dbf"));
    }

private Q_SLOTS:
    void cleanup() { DbfFile::setIoObserver({}); }

    void finishedSessionSyncsOnceAndLeavesNothing() {
        EngineFolder folder;
        const QString path = makeTable(folder);
        int tableSyncs = 0;
        DbfFile::setIoObserver([&](const IoEvent& e) {
            if (e.kind == IoEvent::Kind::Sync && e.path == path)
                ++tableSyncs;
            return 0;
        });
        SyncSession session;
        for (int pass = 0; pass < 5; ++pass)
            markEveryRecord(path, 10 + pass);
        QCOMPARE(tableSyncs, 0);
        QVERIFY(QFile::exists(undoOf(path)));
        QCOMPARE(marks(path), QList<double>({14, 14, 14}));
        session.finish();
        QCOMPARE(tableSyncs, 1);
        QVERIFY(!QFile::exists(undoOf(path)));
        QCOMPARE(marks(path), QList<double>({14, 14, 14}));
    }

    void innerSessionLeavesTheSyncToTheOuter() {
        EngineFolder folder;
        const QString path = makeTable(folder);
        SyncSession outer;
        {
            SyncSession inner;
            markEveryRecord(path, 7);
            inner.finish();
            QVERIFY(QFile::exists(undoOf(path)));
        }
        outer.finish();
        QVERIFY(!QFile::exists(undoOf(path)));
        QCOMPARE(marks(path), QList<double>({7, 7, 7}));
    }

    void killedSessionIsRolledBack() {
        EngineFolder folder;
        const QString path = makeTable(folder);
        test::ChildProcess child;
        QCOMPARE(child.startChild({QStringLiteral("session"), path}), QStringLiteral("written"));

        // While the session lives, others see its writes and leave its undo file alone.
        QVERIFY(QFile::exists(undoOf(path)));
        QCOMPARE(marks(path), QList<double>({99, 99, 99}));
        QVERIFY(QFile::exists(undoOf(path)));

        child.kill();
        // The next open puts back the table as it was before the session began.
        QCOMPARE(marks(path), QList<double>({1, 2, 3}));
        QVERIFY(!QFile::exists(undoOf(path)));
    }

    // A write of the session that fails (a full disk, an I/O error) leaves the table as
    // it was before the session, told with a message that names the file; where even
    // putting it back fails, the undo file stays and the next open does it.
    void failedWritePutsTheTableBack_data() {
        QTest::addColumn<QString>("failing"); // the file whose writes fail
        QTest::addColumn<int>("failedWrite"); // its n-th write fails (each pass writes twice)
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("syncFails"); // the table's syncs fail as well
        QTest::addColumn<bool>("undoStays");
        QTest::addRow("undo file, disk full") << "-undo" << 1 << ENOSPC << false << false;
        QTest::addRow("table, second pass") << ".dbf" << 3 << EIO << false << false;
        QTest::addRow("table, put back fails") << ".dbf" << 3 << EIO << true << true;
    }
    void failedWritePutsTheTableBack() {
        QFETCH(QString, failing);
        QFETCH(int, failedWrite);
        QFETCH(int, error);
        QFETCH(bool, syncFails);
        QFETCH(bool, undoStays);
        EngineFolder folder;
        const QString path = makeTable(folder);
        const QByteArray before = test::fileBytes(path);
        const QString failingPath = failing == QLatin1String(".dbf") ? path : undoOf(path);
        int writes = 0;
        DbfFile::setIoObserver([&](const IoEvent& e) {
            if (e.path != failingPath && !(syncFails && e.path == path))
                return 0;
            if (e.kind == IoEvent::Kind::Write && e.path == failingPath && ++writes == failedWrite)
                return error;
            if (e.kind == IoEvent::Kind::Sync && syncFails && writes >= failedWrite)
                return error;
            return 0;
        });
        QString message;
        {
            SyncSession session;
            try {
                for (int pass = 0; pass < 3; ++pass)
                    markEveryRecord(path, 50 + pass);
                session.finish();
            } catch (const EngineError& e) {
                message = e.message();
            }
        }
        DbfFile::setIoObserver({});
        QVERIFY2(message.contains(failingPath) &&
                     message.contains(QString::fromLocal8Bit(strerror(error))),
                 qPrintable(message));
        QCOMPARE(QFile::exists(undoOf(path)), undoStays);
        if (!undoStays)
            QCOMPARE(test::fileBytes(path), before);
        QCOMPARE(marks(path), QList<double>({1, 2, 3}));
        QVERIFY(!QFile::exists(undoOf(path)));
        QCOMPARE(test::fileBytes(path), before);
    }

    void unusableUndoFilesAreDropped_data() {
        QTest::addColumn<QString>("damage");
        QTest::addRow("torn") << "torn";
        QTest::addRow("checksum") << "checksum";
        QTest::addRow("another file's") << "other";
    }
    void unusableUndoFilesAreDropped() {
        QFETCH(QString, damage);
        EngineFolder folder;
        const QString path = makeTable(folder);
        // A real undo file, left by a session that died after writing 99 everywhere.
        {
            SyncSession session;
            markEveryRecord(path, 99);
            QFile::copy(undoOf(path), path + QStringLiteral("-saved"));
        }
        QByteArray undo = test::fileBytes(path + QStringLiteral("-saved"));
        QVERIFY(undo.size() > 64);
        if (damage == QLatin1String("torn"))
            undo.truncate(undo.size() / 2);
        else if (damage == QLatin1String("checksum"))
            undo[undo.size() - 10] = char(undo[undo.size() - 10] ^ 0x55);
        if (damage == QLatin1String("other")) {
            // The table was replaced by another file of the same name since.
            const QByteArray table = test::fileBytes(path);
            QFile::remove(path);
            QVERIFY(test::writeBytes(path, table));
        }
        QVERIFY(test::writeBytes(undoOf(path), undo));
        const QByteArray before = test::fileBytes(path);
        QCOMPARE(marks(path), QList<double>({99, 99, 99}));
        QVERIFY(!QFile::exists(undoOf(path)));
        QCOMPARE(test::fileBytes(path), before);
    }

    void readingOnlyRollsBackInMemory() {
        EngineFolder folder;
        const QString path = makeTable(folder);
        {
            SyncSession session;
            markEveryRecord(path, 99);
            QFile::copy(undoOf(path), path + QStringLiteral("-saved"));
        }
        QVERIFY(test::writeBytes(undoOf(path), test::fileBytes(path + QStringLiteral("-saved"))));
        const QByteArray before = test::fileBytes(path);
        DbfFile reader;
        reader.open(path, DbfFile::Mode::ReadOnly);
        QCOMPARE(decodeField(reader.structure().fields[1],
                             reader.record(1) + reader.structure().offsets[1])
                     .toDouble(),
                 2.0);
        reader.close();
        QCOMPARE(test::fileBytes(path), before);
        QVERIFY(QFile::exists(undoOf(path)));
    }
};

JT_TEST_MAIN_WITH_CHILD(SyncSessionTest, sessionChild)

#include "tst_syncsession.moc"

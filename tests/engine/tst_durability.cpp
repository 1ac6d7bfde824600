// What reaches the disk, in which order, and what a crash leaves.
#include "EngineChild.h"
#include "EngineFixture.h"
#include "engine/BatchCopy.h"

#include <QtTest>

#include <functional>

using namespace jt::engine;
using namespace jt::test;

namespace {

const FieldDefs kFields = {{QStringLiteral("NAME"), FieldType::Character, 8, 0},
                           {QStringLiteral("MARK"), FieldType::Numeric, 10, 4}};
constexpr int kHeader = 32 * 3 + 1;
constexpr int kRecord = 1 + 8 + 10;

// Records the file operations as short texts: "write journal", "sync table",
// "write table 97+20" (offset and length of table writes), "rename table", "sync folder".
class IoLog final {
public:
    explicit IoLog(const QString& tablePath) : m_table(tablePath) {
        DbfFile::setIoObserver([this](const IoEvent& e) {
            m_events << describe(e);
            return m_failOn.isEmpty() || !m_events.last().startsWith(m_failOn) ? 0 : EIO;
        });
    }
    ~IoLog() { DbfFile::setIoObserver({}); }
    QStringList take() { return std::exchange(m_events, {}); }
    void failOn(const QString& prefix) { m_failOn = prefix; }

private:
    QString describe(const IoEvent& e) const {
        static const char* const kinds[] = {"write", "sync", "rename", "unlink"};
        QString what = QLatin1String(kinds[int(e.kind)]) + QLatin1Char(' ');
        if (e.path == m_table)
            what += QStringLiteral("table");
        else if (e.path == DbfFile::journalPath(m_table))
            what += QStringLiteral("journal");
        else if (e.path == QFileInfo(m_table).absolutePath())
            what += QStringLiteral("folder");
        else if (e.path.contains(QLatin1String(".tmp-")))
            what += QStringLiteral("temporary");
        else
            what += e.path;
        if (e.kind == IoEvent::Kind::Write && e.path == m_table)
            what += QStringLiteral(" %1+%2").arg(e.offset).arg(e.length);
        return what;
    }
    QString m_table;
    QString m_failOn;
    QStringList m_events;
};

QString nameAt(const QString& path, int record) {
    return QString::fromLatin1(fileBytes(path).mid(kHeader + record * kRecord + 1, 8)).trimmed();
}

} // namespace

class DurabilityTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writeOrder_data();
    void writeOrder();
    void killedRightAfterPost_data();
    void killedRightAfterPost();
    void journalRecovery_data();
    void journalRecovery();
    void journalOfReplacedTableIgnored();

private:
    std::unique_ptr<EngineFolder> m_folder;
    QString m_path;
};

void DurabilityTest::init() {
    m_folder = std::make_unique<EngineFolder>();
    auto t = m_folder->create(QStringLiteral("dur.dbf"), kFields);
    for (const char* name : {"one", "two"}) {
        t->append();
        t->fieldByName(QStringLiteral("NAME"))->setAsString(QLatin1String(name));
        t->post();
    }
    m_path = t->resolvedPath();
}

// One way of changing the table: it acts on `t` (opened first unless the case says
// otherwise) and returns the file operations it caused, or an empty list with `failure`
// set when what it left behind is wrong.
using WriteAction =
    std::function<QStringList(Table& t, IoLog& log, EngineFolder& folder, QString& failure)>;
Q_DECLARE_METATYPE(WriteAction)

void DurabilityTest::writeOrder_data() {
    QTest::addColumn<bool>("soleUse");
    QTest::addColumn<bool>("openFirst");
    QTest::addColumn<WriteAction>("action");
    QTest::addColumn<QStringList>("events");
    const QString rec0 = QStringLiteral("write table %1+%2").arg(kHeader).arg(kRecord);
    const QString rec1 = QStringLiteral("write table %1+%2").arg(kHeader + kRecord).arg(kRecord);
    const QString appended =
        QStringLiteral("write table %1+%2").arg(kHeader + 2 * kRecord).arg(kRecord + 1);
    const QString appended2 =
        QStringLiteral("write table %1+%2").arg(kHeader + 2 * kRecord).arg(2 * kRecord + 1);
    const QString count = QStringLiteral("write table 1+7");

    const WriteAction post = [](Table& t, IoLog& log, EngineFolder&, QString&) {
        t.edit();
        t.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("new"));
        t.post();
        t.fieldByName(QStringLiteral("NAME"))->asString(); // reading back writes nothing
        return log.take();
    };
    const WriteAction append = [](Table& t, IoLog& log, EngineFolder&, QString&) {
        t.append();
        t.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("three"));
        t.post();
        return log.take();
    };
    const WriteAction remove = [](Table& t, IoLog& log, EngineFolder&, QString&) {
        t.deleteRecord();
        return log.take();
    };
    const WriteAction soleUse = [](Table& t, IoLog& log, EngineFolder&, QString& failure) {
        for (int pass = 0; pass < 10; ++pass) {
            for (t.first(); !t.eof(); t.next()) {
                t.edit();
                t.fieldByName(QStringLiteral("MARK"))->setAsFloat(pass);
                t.post();
            }
        }
        for (int i = 0; i < 2; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("new"));
            t.post();
        }
        // Whatever reached the disk before the close stands ahead of "close".
        QStringList seen = log.take();
        t.close();
        seen << QStringLiteral("close") << log.take();
        t.open();
        t.first();
        if (t.rowCount() != 4 || t.fieldByName(QStringLiteral("MARK"))->asFloat() != 9.0)
            failure = QStringLiteral("the batch did not reach the table whole");
        return seen;
    };
    const WriteAction create = [](Table& t, IoLog& log, EngineFolder&, QString&) {
        t.createTable(kFields);
        return log.take();
    };
    const WriteAction copy = [](Table& t, IoLog& log, EngineFolder& folder, QString&) {
        auto source = folder.create(QStringLiteral("src.dbf"), kFields);
        source->close();
        log.take();
        batchCopy(*source, t);
        return log.take();
    };

    // A post is journaled and synced, then written and synced, before it returns. The
    // first one makes the journal, and syncs the folder that holds it.
    QTest::addRow("post") << false << true << post
                          << QStringList({"sync folder", "write journal", "sync journal", rec0,
                                          "sync table"});
    // The record and its end marker go before the header that counts them.
    QTest::addRow("append") << false << true << append
                            << QStringList({"sync folder", "write journal", "sync journal",
                                            appended, count, "sync table"});
    QTest::addRow("delete") << false << true << remove
                            << QStringList({"sync folder", "write journal", "sync journal", rec0,
                                            "sync table"});
    // Sole use: nothing until close, then one batch through the journal.
    QTest::addRow("sole use") << true << true << soleUse
                              << QStringList({"close", "sync folder", "write journal",
                                              "sync journal", rec0, rec1, appended2, count,
                                              "sync table", "unlink journal"});
    // Whole tables go to a synced temporary file that is renamed into place.
    QTest::addRow("create") << false << false << create
                            << QStringList({"write temporary", "sync temporary", "rename table",
                                            "sync folder"});
    QTest::addRow("copy") << false << false << copy
                          << QStringList({"write temporary", "sync temporary", "rename table",
                                          "sync folder"});
}

void DurabilityTest::writeOrder() {
    QFETCH(bool, soleUse);
    QFETCH(bool, openFirst);
    QFETCH(WriteAction, action);
    QFETCH(QStringList, events);
    auto t = m_folder->handle(QStringLiteral("dur.dbf"));
    t->setExclusive(soleUse);
    if (openFirst)
        t->open();
    IoLog log(m_path);
    QString failure;
    const QStringList seen = action(*t, log, *m_folder, failure);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(seen, events);
}

void DurabilityTest::killedRightAfterPost_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("closeFirst");
    QTest::addColumn<QString>("stored");
    QTest::addRow("shared post") << "shared" << false << "killed";
    // Sole-use posts are held until close: killed before, the table has the old
    // record, whole; after close, the new one.
    QTest::addRow("sole use, killed before close") << "exclusive" << false << "one";
    QTest::addRow("sole use, closed") << "exclusive" << true << "killed";
}

void DurabilityTest::killedRightAfterPost() {
    QFETCH(QString, mode);
    QFETCH(bool, closeFirst);
    QFETCH(QString, stored);
    ChildProcess child;
    QStringList args = {QStringLiteral("post"), m_path, mode, QStringLiteral("NAME"),
                        QStringLiteral("killed")};
    if (closeFirst)
        args << QStringLiteral("close");
    QCOMPARE(child.startChild(args), QStringLiteral("posted"));
    child.kill();
    QCOMPARE(nameAt(m_path, 0), stored);
    auto t = m_folder->handle(QStringLiteral("dur.dbf"));
    t->open();
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), stored);
    QCOMPARE(t->rowCount(), 2);
}

void DurabilityTest::journalRecovery_data() {
    QTest::addColumn<bool>("append");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("exclusive");
    QTest::addColumn<QString>("expected");
    for (const bool exclusive : {false, true}) {
        const char* how = exclusive ? "sole use" : "shared";
        // The post got as far as a complete journal; the table holds half the record.
        QTest::addRow("torn record, %s", how) << false << "tear table" << exclusive << "new";
        QTest::addRow("record not written, %s", how) << false << "" << exclusive << "new";
        QTest::addRow("torn append, %s", how) << true << "tear table" << exclusive << "new";
        // The post got cut off while writing the journal: the table was not touched.
        QTest::addRow("torn journal, %s", how) << false << "tear journal" << exclusive << "one";
        QTest::addRow("journal bit flipped, %s", how)
            << false << "flip journal" << exclusive << "one";
        QTest::addRow("journal cut short, %s", how) << true << "cut journal" << exclusive << "one";
    }
}

void DurabilityTest::journalRecovery() {
    QFETCH(bool, append);
    QFETCH(QString, damage);
    QFETCH(bool, exclusive);
    QFETCH(QString, expected);
    const QByteArray old = fileBytes(m_path);
    {
        // A crash stands in for a table that cannot be written: the journal is complete,
        // the table untouched.
        auto t = m_folder->handle(QStringLiteral("dur.dbf"));
        t->open();
        append ? t->append() : t->edit();
        t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("new"));
        IoLog log(m_path);
        log.failOn(QStringLiteral("write table"));
        QVERIFY_THROWS_EXCEPTION(EngineError, t->post());
        t->cancel();
        QCOMPARE(fileBytes(m_path), old);
        log.failOn(QStringLiteral("unlink"));
        t->close(); // the journal stays, as after a crash
    }
    const QString jpath = DbfFile::journalPath(m_path);
    QByteArray journal = fileBytes(jpath);
    QVERIFY(journal.size() > 32);
    const int target = append ? 2 : 0;
    if (damage == QLatin1String("tear table")) {
        QByteArray bytes = old;
        const QByteArray half = QByteArray(" new").leftJustified(kRecord / 2, ' ');
        if (bytes.size() < kHeader + (target + 1) * kRecord)
            bytes.resize(kHeader + (target + 1) * kRecord, ' ');
        bytes.replace(kHeader + target * kRecord, half.size(), half);
        QVERIFY(writeBytes(m_path, bytes));
    } else if (damage == QLatin1String("tear journal")) {
        journal.resize(journal.size() - 5);
        QVERIFY(writeBytes(jpath, journal));
    } else if (damage == QLatin1String("flip journal")) {
        journal[journal.size() - 3] = char(journal[journal.size() - 3] ^ 0x40);
        QVERIFY(writeBytes(jpath, journal));
    } else if (damage == QLatin1String("cut journal")) {
        QVERIFY(writeBytes(jpath, journal.left(20)));
    }
    const QByteArray damaged = fileBytes(m_path);
    auto t = m_folder->handle(QStringLiteral("dur.dbf"));
    t->setExclusive(exclusive);
    t->open();
    const QStringList names = column(*t, QStringLiteral("NAME"));
    QCOMPARE(names.value(target),
             expected == QLatin1String("one") && append ? QString() : expected);
    QCOMPARE(t->rowCount(), append && expected == QLatin1String("new") ? 3 : 2);
    if (expected == QLatin1String("one"))
        QCOMPARE(fileBytes(m_path), damaged); // an unusable journal changes nothing
    t->close();
    QVERIFY(!QFile::exists(jpath)); // gone once nobody has the table open
    // The recovered state is on disk, not just in memory.
    t->open();
    QCOMPARE(column(*t, QStringLiteral("NAME")), names);
}

void DurabilityTest::journalOfReplacedTableIgnored() {
    {
        auto t = m_folder->handle(QStringLiteral("dur.dbf"));
        t->open();
        t->edit();
        t->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("stale"));
        IoLog log(m_path);
        log.failOn(QStringLiteral("write table"));
        QVERIFY_THROWS_EXCEPTION(EngineError, t->post());
        t->cancel();
        log.failOn(QStringLiteral("unlink"));
        t->close();
    }
    const QString jpath = DbfFile::journalPath(m_path);
    const QByteArray journal = fileBytes(jpath);
    // The table is replaced by a copy with the same layout; the old journal, put back,
    // belongs to the old file and must not be applied to the new one.
    auto source = m_folder->create(QStringLiteral("src.dbf"), kFields);
    source->append();
    source->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("fresh"));
    source->post();
    auto t = m_folder->handle(QStringLiteral("dur.dbf"));
    batchCopy(*source, *t);
    QVERIFY(!QFile::exists(jpath));
    QVERIFY(writeBytes(jpath, journal));
    t->open();
    QCOMPARE(column(*t, QStringLiteral("NAME")), QStringList({"fresh"}));
}

JT_TEST_MAIN_WITH_CHILD(DurabilityTest, jt::test::engineChild)
#include "tst_durability.moc"

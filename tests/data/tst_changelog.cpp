// The change log written by posts and deletes on the results table.
#include "data/ChangeLog.h"
#include "data/ProgramState.h"
#include "engine/DbfCodec.h"
#include "engine/DbfFile.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "exchange/DelimitedText.h"
#include "scoring/Recalculation.h"
#include "support/ChildProcess.h"
#include "support/Competition.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

using namespace jt;

namespace {

// Something done to the open competition through the data module of the state.
using Action = std::function<void(ProgramState&)>;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The log's rows as a CSV reader sees them, the column row included; the reader leaves
// empty cells at a row's end out, so they are put back.
QList<QStringList> csvRows(const QString& path) {
    const exchange::Sheet sheet =
        exchange::parseDelimited(QString::fromUtf8(readFile(path)), exchange::DelimitedOptions{});
    QList<QStringList> rows;
    for (const QVariantList& row : sheet.rows) {
        QStringList cells;
        for (const QVariant& c : row)
            cells << c.toString();
        if (cells.isEmpty())
            continue;
        while (cells.size() < data::kChangeLogColumns.size())
            cells << QString();
        rows << cells;
    }
    return rows;
}

// The rows without the column row and without the time: "Field|Dancer|Old|New|Window".
QStringList changes(const QString& path) {
    QStringList out;
    const QList<QStringList> rows = csvRows(path);
    for (qsizetype i = 1; i < rows.size(); ++i)
        out << rows[i].mid(1).join(QLatin1Char('|'));
    return out;
}

void editFirst(data::TDataModule1& m, const std::function<void()>& change) {
    m.results->first();
    m.results->edit();
    change();
    m.results->post();
}

} // namespace

class TestChangeLog : public QObject {
    Q_OBJECT

    std::unique_ptr<test::Competition> m_comp;
    QString logPath() const { return m_comp->folder.filePath(QStringLiteral("u12.log")); }

private Q_SLOTS:
    void init() {
        // Dancers 101, 102, 103 (sequence 3, 2, 1), 101 with 70 in A1, added before the
        // log is looked at.
        m_comp = test::Competition::withDancers(3, {70});
        QFile::remove(logPath());
    }
    void cleanup() {
        engine::DbfFile::setIoObserver({});
        m_comp.reset();
    }

    void fieldsLogged_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("logged");
        for (const char* f : {"COMP_NO", "NAME", "SCHOOL", "SEQUENCE", "A1", "B2", "C3", "D1", "E3",
                              "ASET", "ESET"})
            QTest::newRow(f) << f << true;
        for (const char* f :
             {"ASUBTOTAL", "AGRID1", "ATOTAL", "AGRID2", "RECALLTTL", "RECALLCHAR", "GRIDTOTAL",
              "POSITION", "RECALLED", "SOLOPOSN", "SOLOCHAR", "RECALLTIE", "FINALTIE", "FINALCHAR",
              "QUALGRID", "QUALIFIER", "F1", "A4", "ASETX"})
            QTest::newRow(f) << f << false;
    }
    void fieldsLogged() {
        QFETCH(QString, field);
        QFETCH(bool, logged);
        QCOMPARE(data::isLoggedField(field), logged);
    }

    // What each kind of post or delete adds to the log.
    void postsAndDeletes_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("a mark typed where none was") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsB1->setAsFloat(72.5); });
        }) << QStringList{"B1|101||72.5|Enter Marks"};
        QTest::newRow("a mark corrected") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsA1->setAsFloat(71.25); });
        }) << QStringList{"A1|101|70|71.25|Enter Marks"};
        QTest::newRow("a mark emptied") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsA1->clear(); });
        }) << QStringList{"A1|101|70||Enter Marks"};
        QTest::newRow("a mark of 0 typed where none was") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsE3->setAsFloat(0); });
        }) << QStringList{"E3|101||0|Enter Marks"};
        QTest::newRow("the same mark typed again") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsA1->setAsFloat(70); });
        }) << QStringList{};
        QTest::newRow("a record posted unchanged") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [] {});
        }) << QStringList{};
        QTest::newRow("an edit cancelled") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            m.results->first();
            m.results->edit();
            m.resultsA1->setAsFloat(99);
            m.results->cancel();
        }) << QStringList{};
        QTest::newRow("two marks in one post, in field order") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] {
                m.resultsCSET->setAsFloat(80);
                m.resultsA2->setAsFloat(66);
            });
        }) << QStringList{"A2|101||66|Enter Marks", "CSET|101||80|Enter Marks"};
        QTest::newRow("name and school, with a comma and quotes")
            << Action([](ProgramState& s) {
                   data::TDataModule1& m = s.module();
                   editFirst(m, [&] {
                       m.resultsNAME->setAsString(QStringLiteral("Ní Bhriain, \"Róisín\""));
                       m.resultsSCHOOL->setAsString(QStringLiteral("Scoil Rince"));
                   });
               })
            << QStringList{"NAME|101|Dancer 1|Ní Bhriain, \"Róisín\"|Enter Marks",
                           "SCHOOL|101||Scoil Rince|Enter Marks"};
        QTest::newRow("a dancer renumbered is named by the new number")
            << Action([](ProgramState& s) {
                   data::TDataModule1& m = s.module();
                   editFirst(m, [&] { m.resultsCOMP_NO->setAsInteger(150); });
               })
            << QStringList{"COMP_NO|150|101|150|Enter Marks"};
        QTest::newRow("a dancer's number cleared is named by the old one")
            << Action([](ProgramState& s) {
                   data::TDataModule1& m = s.module();
                   editFirst(m, [&] { m.resultsCOMP_NO->clear(); });
               })
            << QStringList{"COMP_NO|101|101||Enter Marks"};
        QTest::newRow("the dancing order changed") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsSEQUENCE->clear(); });
        }) << QStringList{"SEQUENCE|101|3||Enter Marks"};
        QTest::newRow("computed fields and the recall are not logged")
            << Action([](ProgramState& s) {
                   data::TDataModule1& m = s.module();
                   editFirst(m, [&] {
                       m.resultsPOSITION->setAsInteger(1);
                       m.resultsRECALLED->setAsBoolean(true);
                       m.resultsASUBTOTAL->setAsFloat(140);
                       m.resultsAGRID1->setAsFloat(100);
                       m.resultsRECALLTTL->setAsFloat(300);
                       m.resultsFINALCHAR->setAsString(QStringLiteral("T"));
                   });
               })
            << QStringList{};
        QTest::newRow("a dancer added")
            << Action([](ProgramState& s) {
                   data::TDataModule1& m = s.module();
                   m.results->append();
                   m.resultsCOMP_NO->setAsInteger(104);
                   m.resultsNAME->setAsString(QStringLiteral("Aoife"));
                   m.resultsA1->setAsFloat(65);
                   m.resultsRECALLED->setAsBoolean(false);
                   m.results->post();
               })
            << QStringList{"(dancer added)|104|||Enter Marks", "COMP_NO|104||104|Enter Marks",
                           "NAME|104||Aoife|Enter Marks", "A1|104||65|Enter Marks"};
        QTest::newRow("a blank row added") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            m.results->append();
            m.results->post();
        }) << QStringList{"(dancer added)||||Enter Marks"};
        QTest::newRow("a dancer deleted keeps what it held in the log")
            << Action([](ProgramState& s) {
                   data::TDataModule1& m = s.module();
                   m.results->first();
                   m.results->deleteRecord();
               })
            << QStringList{"(dancer deleted)|101|||Enter Marks", "SEQUENCE|101|3||Enter Marks",
                           "COMP_NO|101|101||Enter Marks", "NAME|101|Dancer 1||Enter Marks",
                           "A1|101|70||Enter Marks"};
        QTest::newRow("the window is the one posting now") << Action([](ProgramState& s) {
            data::TDataModule1& m = s.module();
            editFirst(m, [&] { m.resultsA1->setAsFloat(1); });
            {
                const PostingWindowScope importing(s, kImportWindow);
                editFirst(m, [&] { m.resultsA1->setAsFloat(2); });
            }
            editFirst(m, [&] { m.resultsA1->setAsFloat(3); });
        }) << QStringList{"A1|101|70|1|Enter Marks", "A1|101|1|2|Import", "A1|101|2|3|Enter Marks"};
    }
    void postsAndDeletes() {
        QFETCH(Action, action);
        QFETCH(QStringList, expected);
        m_comp->state.PostingWindow = QStringLiteral("Enter Marks");
        action(m_comp->state);
        QCOMPARE(changes(logPath()), expected);
        if (expected.isEmpty()) {
            QVERIFY(!QFile::exists(logPath()));
            return;
        }
        // The column row first; every row whole, with a time of the form the log uses.
        const QList<QStringList> rows = csvRows(logPath());
        QCOMPARE(rows[0], data::kChangeLogColumns);
        // Every row whole: six cells (five commas outside quotes), CR LF at its end.
        QCOMPARE(readFile(logPath()).count("\r\n"), rows.size());
        for (qsizetype i = 1; i < rows.size(); ++i) {
            QCOMPARE(rows[i].size(), data::kChangeLogColumns.size());
            QVERIFY2(
                QDateTime::fromString(rows[i][0], QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid(),
                qPrintable(rows[i][0]));
        }
        QVERIFY(readFile(logPath()).endsWith("\r\n"));
    }

    // Posts append; nothing already in the log is rewritten.
    void onlyAppends() {
        data::TDataModule1& m = m_comp->module();
        editFirst(m, [&] { m.resultsA1->setAsFloat(80); });
        const QByteArray first = readFile(logPath());
        editFirst(m, [&] { m.resultsA1->setAsFloat(81); });
        const QByteArray second = readFile(logPath());
        QVERIFY(second.startsWith(first));
        QVERIFY(second.size() > first.size());
        QCOMPARE(changes(logPath()), (QStringList{"A1|101|70|80|", "A1|101|80|81|"}));
    }

    // A row cut off by a crash is not run on from: the next row has its own line.
    void cutOffRow() {
        {
            QFile f(logPath());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data::csvRow(data::kChangeLogColumns));
            f.write("2026-12-11 10:00:00,A1,101,70,7");
        }
        data::TDataModule1& m = m_comp->module();
        editFirst(m, [&] { m.resultsA1->setAsFloat(75); });
        QCOMPARE(changes(logPath()), (QStringList{"A1|101|70|7|", "A1|101|70|75|"}));
    }

    // The recalculation writes every record over and over; it adds nothing to the log.
    void recalculationLogsNothing() {
        data::TDataModule1& m = m_comp->module();
        editFirst(m, [&] { m.resultsB1->setAsFloat(60); });
        m.results->close();
        const QByteArray before = readFile(logPath());
        scoring::recalculate(*m.results);
        QVERIFY(m_comp->stored(0, QStringLiteral("RECALLTTL")).toDouble() > 0);
        QCOMPARE(readFile(logPath()), before);
    }

    // A log that cannot be written refuses the post: the table keeps its old value, the
    // record stays as typed, the message names the log, and the log holds no half row.
    void unwritableLog_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("disk full") << "write";
        QTest::newRow("sync fails") << "sync";
        QTest::newRow("log is a folder") << "folder";
    }
    void unwritableLog() {
        QFETCH(QString, how);
        data::TDataModule1& m = m_comp->module();
        editFirst(m, [&] { m.resultsA1->setAsFloat(80); });
        const QByteArray before = readFile(logPath());
        if (how == QLatin1String("folder")) {
            QVERIFY(QFile::remove(logPath()));
            QVERIFY(QDir(m_comp->folder.path()).mkdir(QStringLiteral("u12.log")));
        } else {
            const auto kind = how == QLatin1String("write") ? engine::IoEvent::Kind::Write
                                                            : engine::IoEvent::Kind::Sync;
            engine::DbfFile::setIoObserver([kind](const engine::IoEvent& e) {
                return e.kind == kind && e.path.endsWith(QLatin1String(".log")) ? ENOSPC : 0;
            });
        }
        m.results->first();
        m.results->edit();
        m.resultsA1->setAsFloat(90);
        m_comp->state.ReCalcFlag = false;
        try {
            m.results->post();
            QFAIL("the post went through");
        } catch (const engine::EngineError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral(
                         "The change was not saved, because the change log could not be written")),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(logPath()), qPrintable(e.message()));
        }
        QCOMPARE(m.results->state(), engine::Table::State::Edit);
        QCOMPARE(m.resultsA1->asFloat(), 90.0);
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 80.0);
        QVERIFY(!m_comp->state.ReCalcFlag);
        if (how != QLatin1String("folder"))
            QCOMPARE(readFile(logPath()), before);

        // A delete is refused the same way.
        m.results->cancel();
        try {
            m.results->deleteRecord();
            QFAIL("the delete went through");
        } catch (const engine::EngineError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("The dancer was not deleted")),
                     qPrintable(e.message()));
        }
        QCOMPARE(m.results->rowCount(), 3);
        QCOMPARE(m_comp->storedCount(), 3);

        // Once the log can be written, the same record posts, and is logged.
        engine::DbfFile::setIoObserver({});
        if (how == QLatin1String("folder")) {
            QVERIFY(QDir(m_comp->folder.path()).rmdir(QStringLiteral("u12.log")));
        }
        m.results->edit();
        m.resultsA1->setAsFloat(90);
        m.results->post();
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 90.0);
        QCOMPARE(changes(logPath()).last(), QStringLiteral("A1|101|80|90|"));
    }

    // A post whose table write fails after its rows were written takes them back, at the
    // next post or when the table closes: the log tells of no change the table lacks.
    void failedTableWriteTakesBackRows_data() {
        QTest::addColumn<bool>("closeNext"); // else the next post
        QTest::newRow("table closed next") << true;
        QTest::newRow("posted again") << false;
    }
    void failedTableWriteTakesBackRows() {
        QFETCH(bool, closeNext);
        data::TDataModule1& m = m_comp->module();
        editFirst(m, [&] { m.resultsA1->setAsFloat(80); });
        const QByteArray before = readFile(logPath());
        engine::DbfFile::setIoObserver([this](const engine::IoEvent& e) {
            return e.kind == engine::IoEvent::Kind::Write && e.path != logPath() ? ENOSPC : 0;
        });
        m.results->edit();
        m.resultsA1->setAsFloat(90);
        QVERIFY_THROWS_EXCEPTION(engine::EngineError, m.results->post());
        engine::DbfFile::setIoObserver({});
        QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 80.0);
        if (closeNext) {
            m.results->close();
            QCOMPARE(readFile(logPath()), before);
        } else {
            m.results->post();
            QCOMPARE(changes(logPath()).mid(1), QStringList{"A1|101|80|90|"});
            QCOMPARE(m_comp->stored(0, QStringLiteral("A1")).toDouble(), 90.0);
        }
    }

    // Under sole use (an import) the table holds its posts back until it closes; the
    // rows are in the log at once, synced once as the table closes, before it is written.
    void soleUseSyncsAtClose() {
        data::TDataModule1& m = m_comp->module();
        m.results->close();
        m.results->setExclusive(true);
        m.results->open();
        QList<engine::IoEvent> events;
        engine::DbfFile::setIoObserver([&](const engine::IoEvent& e) {
            events << e;
            return 0;
        });
        for (int row = 0; row < 3; ++row) {
            m.results->moveToRow(row);
            m.results->edit();
            m.resultsC2->setAsFloat(50 + row);
            m.results->post();
            QCOMPARE(changes(logPath()).size(), row + 1);
        }
        const auto logSyncs = [&] {
            int n = 0;
            for (const engine::IoEvent& e : events)
                n += e.kind == engine::IoEvent::Kind::Sync && e.path == logPath();
            return n;
        };
        QCOMPARE(logSyncs(), 0);
        m.results->close();
        m.results->setExclusive(false);
        QCOMPARE(logSyncs(), 1);
        qsizetype logSync = -1;
        qsizetype firstTableWrite = -1;
        for (qsizetype i = 0; i < events.size(); ++i) {
            if (events[i].path == logPath() && events[i].kind == engine::IoEvent::Kind::Sync)
                logSync = i;
            else if (events[i].path != logPath() && firstTableWrite < 0)
                firstTableWrite = i;
        }
        QVERIFY(firstTableWrite >= 0);
        QVERIFY2(logSync < firstTableWrite, "the table was written before its rows were synced");
        QCOMPARE(m_comp->stored(2, QStringLiteral("C2")).toDouble(), 52.0);
        // Shared use syncs each post's rows as it goes.
        m.results->open();
        events.clear();
        m.results->first();
        m.results->edit();
        m.resultsC2->setAsFloat(49);
        m.results->post();
        QCOMPARE(logSyncs(), 1);
    }

    // Each log is its competition's: same folder, same name, ".log"; an existing log is
    // found whatever its letter case.
    void logBesideTheTable() {
        QCOMPARE(data::changeLogPath(QStringLiteral("/data/u12.dbf")),
                 QStringLiteral("/data/u12.log"));
        QCOMPARE(data::changeLogPath(QStringLiteral("/data/U12Girls.DBF")),
                 QStringLiteral("/data/U12Girls.log"));
        QCOMPARE(data::changeLogPath(QStringLiteral("/data/under.12.dbf")),
                 QStringLiteral("/data/under.12.log"));
        QFile f(m_comp->folder.filePath(QStringLiteral("U12.LOG")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(data::changeLogPath(m_comp->folder.filePath(QStringLiteral("u12.dbf"))),
                 m_comp->folder.filePath(QStringLiteral("U12.LOG")));
    }

    // A posting program killed at any moment: every post that returned has its row, and
    // every change that reached the table has one.
    void killedWhilePosting_data() {
        QTest::addColumn<int>("afterMs");
        QTest::addColumn<bool>("soleUse");
        for (const bool soleUse : {false, true}) {
            const char* use = soleUse ? "sole use" : "shared";
            QTest::addRow("%s, at once", use) << 0 << soleUse;
            QTest::addRow("%s, after 30 ms", use) << 30 << soleUse;
            QTest::addRow("%s, after 150 ms", use) << 150 << soleUse;
        }
    }
    void killedWhilePosting() {
        QFETCH(int, afterMs);
        QFETCH(bool, soleUse);
        const QString progress = m_comp->folder.filePath(QStringLiteral("progress.txt"));
        m_comp->results().close();
        test::ChildProcess child;
        QCOMPARE(child.startChild({m_comp->folder.filePath(QStringLiteral("u12.dbf")), progress,
                                   soleUse ? QStringLiteral("sole") : QStringLiteral("shared")}),
                 QStringLiteral("posting"));
        QTest::qWait(afterMs);
        child.kill();

        // The child wrote the number of each post after it returned.
        const QList<QByteArray> returned = readFile(progress).split('\n');
        int lastReturned = 0;
        for (const QByteArray& line : returned)
            if (!line.isEmpty())
                lastReturned = line.toInt();
        QVERIFY(lastReturned >= 1);
        // Post n set the A1 of the dancer in entry place n % 3 to 100 + n.
        const QStringList rows = changes(logPath());
        QSet<int> logged;
        QHash<QString, QStringList> values; // dancer to the A1 marks logged, in order
        for (const QString& row : rows) {
            const QStringList cells = row.split(QLatin1Char('|'));
            QCOMPARE(cells[0], QStringLiteral("A1"));
            logged.insert(int(cells[3].toDouble()) - 100);
            values[cells[1]] << cells[3];
        }
        for (int n = 1; n <= lastReturned; ++n)
            QVERIFY2(logged.contains(n), qPrintable(QStringLiteral("post %1 has no row").arg(n)));
        // The table holds each dancer's last logged mark; only the very last row may stand
        // for a post that the kill cut off before the table was written.
        const QString lastDancer = rows.last().section(QLatin1Char('|'), 1, 1);
        for (int record = 0; record < 3; ++record) {
            const QString dancer = QString::number(101 + record);
            QStringList marks =
                QStringList{record == 0 ? QStringLiteral("70") : QString()} + values.value(dancer);
            const QVariant v = m_comp->stored(record, QStringLiteral("A1"));
            const QString stored =
                v.isNull() ? QString() : engine::shortestNumberText(v.toDouble());
            // Sole use held every post back: the kill took them all, the rows stay.
            const bool cutOff = soleUse ? stored == marks.first()
                                        : dancer == lastDancer && stored == marks[marks.size() - 2];
            QVERIFY2(stored == marks.last() || cutOff,
                     qPrintable(QStringLiteral("dancer %1 holds %2").arg(dancer, stored)));
        }
    }
};

// The child of killedWhilePosting: posts A1 marks round the three dancers, in shared or
// sole use, until it is killed, noting each post once it has returned.
static int postingChild(const QStringList& args) {
    if (args.size() < 3)
        return 2;
    try {
        ProgramState state;
        state.DataModule1 = std::make_unique<data::TDataModule1>(state);
        data::TDataModule1& m = *state.DataModule1;
        m.results->setTableName(args[0]);
        m.results->setExclusive(args[2] == QLatin1String("sole"));
        m.results->open();
        const int fd = ::open(QFile::encodeName(args[1]).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            return 3;
        for (int n = 1;; ++n) {
            m.results->moveToRow(n % 3);
            m.results->edit();
            m.resultsA1->setAsFloat(100 + n);
            m.results->post();
            const QByteArray line = QByteArray::number(n) + '\n';
            if (::write(fd, line.constData(), std::size_t(line.size())) != line.size())
                return 4;
            if (n == 1)
                test::tellParent(QStringLiteral("posting"));
        }
    } catch (const engine::EngineError& e) {
        test::tellParent(QStringLiteral("error: ") + e.message());
        return 1;
    }
}

JT_TEST_MAIN_WITH_CHILD(TestChangeLog, postingChild)
#include "tst_changelog.moc"

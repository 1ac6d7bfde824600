#include "cli/CliCommands.h"
#include "engine/Table.h"
#include "support/ChildProcess.h"
#include "support/TempDataFolder.h"

#include <QFile>
#include <QTest>
#include <QTextStream>

using namespace jt;
using engine::FieldDef;
using engine::FieldType;

namespace {

struct CliRun {
    int code = 0;
    QString out;
    QString err;
};

CliRun run(const QStringList& args) {
    CliRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return r;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private:
    test::TempDataFolder m_folder;

    QString makeTable() {
        const QString path = m_folder.filePath(QStringLiteral("dancers.dbf"));
        engine::Table t;
        t.setTableName(path);
        t.createTable({{QStringLiteral("NAME"), FieldType::Character, 20, 0},
                       {QStringLiteral("MARK"), FieldType::Numeric, 10, 4},
                       {QStringLiteral("POINTS"), FieldType::Float, 18, 8},
                       {QStringLiteral("RECALLED"), FieldType::Logical, 1, 0}});
        t.open();
        auto add = [&](const QVariant& name, const QVariant& mark, const QVariant& points,
                       const QVariant& recalled) {
            t.append();
            t.fieldByName(QStringLiteral("NAME"))->setValue(name);
            t.fieldByName(QStringLiteral("MARK"))->setValue(mark);
            t.fieldByName(QStringLiteral("POINTS"))->setValue(points);
            t.fieldByName(QStringLiteral("RECALLED"))->setValue(recalled);
            t.post();
        };
        add(QStringLiteral("Aoife Byrne"), 80.5, 66.66666412353516, true);
        add(QStringLiteral("O'Neill, \"Cat\""), 79.0, 100.0, false);
        add(QStringLiteral("Gone"), 1.0, 1.0, true);
        add(QVariant(), QVariant(), QVariant(), QVariant());
        add(QStringLiteral("  Róisín"), -0.25, 0.75, QVariant());
        t.moveToRow(2);
        t.deleteRecord();
        return path;
    }

private Q_SLOTS:
    void dumpPrintsLiveRecordsAsCsv() {
        const QString path = makeTable();
        const CliRun r = run({QStringLiteral("dump"), path});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.err, QString());
        const QStringList lines = r.out.split(QStringLiteral("\r\n"));
        const QStringList expected = {
            QStringLiteral("NAME,MARK,POINTS,RECALLED"),
            QStringLiteral("Aoife Byrne,80.5,66.66666412,T"),
            QStringLiteral("\"O'Neill, \"\"Cat\"\"\",79,100,F"),
            QStringLiteral(",,,"),
            QStringLiteral("  Róisín,-0.25,0.75,"),
            QString(),
        };
        QCOMPARE(lines, expected);
    }

    void checkAcceptsASoundTable() {
        const CliRun r = run({QStringLiteral("check"), makeTable()});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains(QStringLiteral("sound")), qPrintable(r.out));
        QVERIFY(r.out.contains(QStringLiteral("4 records (1 deleted)")));
    }

    void badFilesAreNamedAndRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("command");
        QTest::addRow("empty, check") << QByteArray() << "check";
        QTest::addRow("empty, dump") << QByteArray() << "dump";
        QTest::addRow("text file") << QByteArray("NAME,MARK\nAoife,80\n") << "check";
        QByteArray truncated;
        {
            QFile f(systemTablesCopy());
            QVERIFY(f.open(QIODevice::ReadOnly));
            truncated = f.readAll();
            truncated.chop(200);
        }
        QTest::addRow("truncated example, check") << truncated << "check";
        QTest::addRow("truncated example, dump") << truncated << "dump";
    }
    void badFilesAreNamedAndRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, command);
        const QString path = m_folder.filePath(QStringLiteral("bad.dbf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const CliRun r = run({command, path});
        QVERIFY(r.code != 0);
        QVERIFY2(r.err.contains(path), qPrintable(r.err));
        QCOMPARE(r.out, QString());
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), bytes);
    }

    void missingFileAndUsageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addRow("missing file")
            << QStringList{"check", "/nonexistent/x.dbf"} << 1 << "/nonexistent/x.dbf";
        QTest::addRow("no file") << QStringList{"dump"} << 2 << "usage: jigtally-cli dump";
        QTest::addRow("unknown command")
            << QStringList{"frobnicate"} << 2 << "unknown command 'frobnicate'";
        QTest::addRow("nothing") << QStringList{} << 2 << "usage: jigtally-cli COMMAND";
    }
    void missingFileAndUsageErrors() {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        const CliRun r = run(args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
    }

    void programHelpAndExitCodes() {
        const test::ProgramRun help =
            test::runProgram(QStringLiteral(JIGTALLY_CLI_PATH), {QStringLiteral("--help")});
        QVERIFY(help.finished);
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains(QStringLiteral("dump FILE.dbf")));
        QVERIFY(help.out.contains(QStringLiteral("check FILE.dbf")));

        const test::ProgramRun dump = test::runProgram(QStringLiteral(JIGTALLY_CLI_PATH),
                                                       {QStringLiteral("dump"), makeTable()});
        QVERIFY(dump.finished);
        QCOMPARE(dump.exitCode, 0);
        QVERIFY(dump.out.startsWith(QStringLiteral("NAME,MARK,POINTS,RECALLED\r\n")));
    }

private:
    QString systemTablesCopy() {
        return test::systemTablesFolder() + QStringLiteral("/example.dbf");
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

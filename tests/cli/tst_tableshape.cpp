// Tables of the wrong shape, written by another program (python3-dbf): each is refused
// or warned about with its exact message by the program's open, by check and by recalc,
// and the file is left as it was, byte for byte.
#include "cli/CliCommands.h"
#include "data/DataModule.h"
#include "data/ProgramState.h"
#include "data/RecordLayouts.h"
#include "data/ResultsCheck.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace jt;
using engine::FieldDef;
using engine::FieldType;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kScript = QStringLiteral(JIGTALLY_TABLE_SCRIPT);

QString typeCode(FieldType type, int width, int decimals) {
    switch (type) {
    case FieldType::Logical:
        return QStringLiteral("L");
    case FieldType::Date:
        return QStringLiteral("D");
    case FieldType::Numeric:
    case FieldType::Float:
        return QStringLiteral("%1(%2,%3)").arg(QChar(char(type))).arg(width).arg(decimals);
    case FieldType::Character:
        break;
    }
    return QStringLiteral("C(%1)").arg(width);
}

// The field list of a table in python3-dbf's notation, one field's type replaced.
QString fieldList(const engine::FieldDefs& fields, const QString& changed = {},
                  const QString& changedType = {}) {
    QStringList parts;
    for (const FieldDef& f : fields)
        parts << f.name + QLatin1Char(' ') +
                     (f.name == changed ? changedType : typeCode(f.type, f.width, f.decimals));
    return parts.join(QStringLiteral("; "));
}

QJsonObject tableEntry(const QString& path, const QString& fields, const QJsonArray& records) {
    return {{QStringLiteral("path"), path},
            {QStringLiteral("fields"), fields},
            {QStringLiteral("records"), records}};
}

bool writeTables(const QJsonArray& tables) {
    QProcess p;
    p.start(kPython, {kScript});
    p.write(QJsonDocument(tables).toJson());
    p.closeWriteChannel();
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct CliRun {
    int code = 0;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& args) {
    CliRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return r;
}

// The message the program's data module gives when it opens the table as results.
QString openAsResults(const QString& path) {
    ProgramState state;
    data::TDataModule1 module(state);
    module.results->setDatabaseName(QString());
    module.results->setTableName(path);
    try {
        module.results->open();
        module.results->close();
        return QStringLiteral("opened");
    } catch (const engine::EngineError& e) {
        return e.message();
    }
}

QJsonArray threeDancers() {
    return {QJsonObject{{"SEQUENCE", 1}, {"NAME", "Aoife"}, {"A1", 80}, {"B1", 70}},
            QJsonObject{{"SEQUENCE", 2}, {"NAME", "Bríd"}, {"A1", 75}, {"B1", 72}},
            QJsonObject{{"SEQUENCE", 3}, {"NAME", "Cáit"}, {"A1", 70}, {"B1", 74}}};
}

// The three dancers with the changed field's values of the kind its new type holds: a
// number column turned text holds the numbers as text ("80"), a text column turned
// number holds 1, 2, 3.
QJsonArray threeDancersWith(const QString& field, const QString& type) {
    QJsonArray records = threeDancers();
    for (qsizetype i = 0; i < records.size(); ++i) {
        QJsonObject r = records[i].toObject();
        if (r.contains(field))
            r.insert(field, type.startsWith(QLatin1Char('C'))
                                ? QJsonValue(QString::number(r.value(field).toDouble()))
                                : QJsonValue(double(i + 1)));
        records[i] = r;
    }
    return records;
}

} // namespace

class TestTableShape final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (!QFileInfo::exists(kPython) ||
            test::runProgram(kPython, {QStringLiteral("-c"), QStringLiteral("import dbf")})
                    .exitCode != 0)
            QSKIP("python3 with the dbf module (Debian package python3-dbf) is not installed");
    }

    // Every results field in turn of another type family than the layout's.
    void wrongTypeFamilyIsRefused_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("wrongType");
        QTest::addColumn<QString>("message");
        for (const FieldDef& f : data::resultsFields()) {
            QString wrong;
            QString expected;
            if (f.isNumber()) {
                wrong = QStringLiteral("C(10)");
                expected = QStringLiteral("has type C (text), where a number field (N or F)");
            } else if (f.type == FieldType::Logical) {
                wrong = QStringLiteral("C(1)");
                expected = QStringLiteral("has type C (text), where a logical field (L)");
            } else {
                wrong = QStringLiteral("N(10,0)");
                expected = QStringLiteral("has type N (number), where a text field (C)");
            }
            QTest::addRow("%s as %s", qPrintable(f.name), qPrintable(wrong))
                << f.name << wrong
                << QStringLiteral("Field '%1' %2 is expected").arg(f.name, expected);
        }
    }
    void wrongTypeFamilyIsRefused() {
        QFETCH(QString, field);
        QFETCH(QString, wrongType);
        QFETCH(QString, message);
        const QString path = m_dir.filePath(field.toLower() + QStringLiteral(".dbf"));
        QVERIFY(writeTables({tableEntry(path, fieldList(data::resultsFields(), field, wrongType),
                                        threeDancersWith(field, wrongType))}));
        const QByteArray before = bytesOf(path);
        QVERIFY(before.size() > 0);
        const QString expected = path + QStringLiteral(": ") + message;

        QCOMPARE(openAsResults(path), expected);
        const CliRun check = runCli({QStringLiteral("check"), path});
        QCOMPARE(check.code, 1);
        QCOMPARE(check.err, QStringLiteral("jigtally-cli: ") + expected + QLatin1Char('\n'));
        const CliRun recalc = runCli({QStringLiteral("recalc"), path});
        QCOMPARE(recalc.code, 1);
        QCOMPARE(recalc.err, QStringLiteral("jigtally-cli: ") + expected + QLatin1Char('\n'));
        QCOMPARE(bytesOf(path), before);
    }

    // Other widths and decimals of the same family are the user's choice.
    void otherWidthsAreAccepted() {
        const QString path = m_dir.filePath(QStringLiteral("widths.dbf"));
        QVERIFY(writeTables({tableEntry(
            path, fieldList(data::resultsFields(), QStringLiteral("A1"), QStringLiteral("N(5,0)")),
            threeDancers())}));
        QCOMPARE(openAsResults(path), QStringLiteral("opened"));
        QCOMPARE(runCli({QStringLiteral("check"), path}).code, 0);
    }

    // A header that counts one record fewer than the file holds: the count is what is
    // read, and check and the program's selection say so.
    void uncountedRecordIsWarned() {
        const QString path = m_dir.filePath(QStringLiteral("short.dbf"));
        QVERIFY(writeTables({tableEntry(path, fieldList(data::resultsFields()), threeDancers())}));
        QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes[4], char(3));
        bytes[4] = char(2);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();

        const QString warning =
            path + QStringLiteral(": the file holds 1 record after those its header counts; it "
                                  "is not read");
        const CliRun check = runCli({QStringLiteral("check"), path});
        QCOMPARE(check.code, 0);
        QVERIFY2(check.out.endsWith(QStringLiteral("warning: ") + warning + QLatin1Char('\n')),
                 qPrintable(check.out));
        QVERIFY(check.out.contains(QStringLiteral(": sound, 56 fields, 2 records, 0 indexes\n")));

        ProgramState state;
        data::TDataModule1 module(state);
        module.results->setDatabaseName(QString());
        module.results->setTableName(path);
        QCOMPARE(data::resultsWarnings(*module.results, QStringLiteral("5"), QStringLiteral("4")),
                 QStringList{warning});
        QVERIFY(!module.results->active());
        QCOMPARE(bytesOf(path), bytes);
    }

    // Marks for adjudicators D and E in a three-adjudicator competition, and for round 3
    // in a two-round one: scored as they are, and listed.
    void strayMarksAreWarned_data() {
        QTest::addColumn<QString>("numAdjs");
        QTest::addColumn<QString>("numRounds");
        QTest::addColumn<QStringList>("warnings");
        QTest::addRow("three adjudicators")
            << "3"
            << "4"
            << QStringList{"record 2 holds 80 in D1, but the competition has no adjudicator D",
                           "record 3 holds 62.5 in ESET, but the competition has no adjudicator E"};
        QTest::addRow("two rounds") << "5"
                                    << "3"
                                    << QStringList{"record 1 holds 77 in A3, but the competition "
                                                   "has no round 3"};
        QTest::addRow("five adjudicators, three rounds") << "5"
                                                         << "4" << QStringList{};
    }
    void strayMarksAreWarned() {
        QFETCH(QString, numAdjs);
        QFETCH(QString, numRounds);
        QFETCH(QStringList, warnings);
        const QString name = QStringLiteral("stray") + numAdjs + numRounds;
        const QString path = m_dir.filePath(name + QStringLiteral(".dbf"));
        const QString infoPath = m_dir.filePath(name + QStringLiteral("_inf.dbf"));
        QJsonArray dancers = threeDancers();
        QJsonObject first = dancers[0].toObject();
        first.insert(QStringLiteral("A3"), 77);
        dancers[0] = first;
        QJsonObject second = dancers[1].toObject();
        second.insert(QStringLiteral("D1"), 80);
        dancers[1] = second;
        QJsonObject third = dancers[2].toObject();
        third.insert(QStringLiteral("ESET"), 62.5);
        dancers[2] = third;
        // Records 2 and 3 carry D and E marks; record 1 a round-3 mark.
        QVERIFY(writeTables(
            {tableEntry(path, fieldList(data::resultsFields()), dancers),
             tableEntry(infoPath, fieldList(data::compInfoFields()),
                        {QJsonObject{{"NUMADJS", numAdjs}, {"NUMROUNDS", numRounds}}})}));
        const QByteArray before = bytesOf(path);

        QStringList expected;
        for (const QString& w : warnings)
            expected << QStringLiteral("warning: ") + path + QStringLiteral(": ") + w +
                            QStringLiteral("; the scoring counts it");
        const CliRun check = runCli({QStringLiteral("check"), path});
        QCOMPARE(check.code, 0);
        QStringList lines = check.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty());
        lines.removeFirst();
        QCOMPARE(lines, expected);

        ProgramState state;
        data::TDataModule1 module(state);
        module.results->setDatabaseName(QString());
        module.results->setTableName(path);
        QStringList found;
        for (const data::StrayMark& m : data::strayMarks(*module.results, numAdjs, numRounds))
            found << QStringLiteral("warning: ") + m.text(path);
        QCOMPARE(found, expected);
        QCOMPARE(bytesOf(path), before);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestTableShape)
#include "tst_tableshape.moc"

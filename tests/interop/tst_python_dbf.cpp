// Tables written here are read by python3-dbf with every value intact, and tables
// python3-dbf writes are read here.
#include "engine/AliasRegistry.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "support/ChildProcess.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace jt::engine;

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kScript = QStringLiteral(JIGTALLY_INTEROP_SCRIPT);

// Runs the peer script; returns its JSON, or an error text in "error".
QJsonObject peer(const QStringList& args) {
    const jt::test::ProgramRun run = jt::test::runProgram(kPython, QStringList{kScript} + args);
    if (!run.finished || run.exitCode != 0)
        return {{QStringLiteral("error"), run.err}};
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// What the peer should see for one of our values.
QJsonValue expected(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QJsonValue::Null;
    switch (v.typeId()) {
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::Bool:
        return v.toBool();
    default:
        return v.toString();
    }
}

} // namespace

class PythonDbfTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void oursReadByPython();
    void pythonsReadByUs();

private:
    QTemporaryDir m_dir;
};

void PythonDbfTest::initTestCase() {
    if (!QFileInfo::exists(kPython))
        QSKIP("/usr/bin/python3 is not installed");
    if (jt::test::runProgram(kPython, {kScript, QStringLiteral("check")}).exitCode != 0)
        QSKIP("the python3 dbf module (Debian package python3-dbf) is not installed");
}

void PythonDbfTest::init() {
    AliasRegistry::instance().setConfigFile(m_dir.path() + QStringLiteral("/aliases.ini"));
}

void PythonDbfTest::oursReadByPython() {
    const QString path = m_dir.path() + QStringLiteral("/ours.dbf");
    Table t;
    t.setTableName(path);
    t.createTable({{QStringLiteral("NAME"), FieldType::Character, 40, 0},
                   {QStringLiteral("SCHOOL"), FieldType::Character, 1, 0},
                   {QStringLiteral("A1"), FieldType::Numeric, 10, 4},
                   {QStringLiteral("AGRID1"), FieldType::Numeric, 18, 8},
                   {QStringLiteral("SEQUENCE"), FieldType::Numeric, 5, 0},
                   {QStringLiteral("FLT"), FieldType::Float, 12, 3},
                   {QStringLiteral("RECALLED"), FieldType::Logical, 1, 0}});
    t.open();
    const std::vector<std::vector<QVariant>> rows = {
        {QStringLiteral("Siobhán Ó Súilleabháin"), QStringLiteral("C"), 81.255, 100.0 / 3, 1.0,
         -2.5, true},
        {QStringLiteral("Éabha Nic Giolla Phádraig"), QVariant(), 0.0, 65.0, 99999.0, 0.125, false},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {QStringLiteral("€ “Œ” – fin"), QStringLiteral("x"), -0.0001, 1e-8, 2.0, 12345678.5, true},
        {QStringLiteral("gone"), QVariant(), 1.0, 1.0, 1.0, 1.0, true},
    };
    for (const auto& row : rows) {
        t.append();
        for (int f = 0; f < int(row.size()); ++f)
            t.fieldAt(f)->setValue(row[std::size_t(f)]);
        t.post();
    }
    t.last();
    t.deleteRecord();
    t.close();

    const QJsonObject seen = peer({QStringLiteral("read"), path});
    QVERIFY2(!seen.contains(QStringLiteral("error")),
             qPrintable(seen.value(QStringLiteral("error")).toString()));
    t.open();
    QStringList names;
    for (int f = 0; f < t.fieldCount(); ++f)
        names << t.fieldAt(f)->fieldName();
    QCOMPARE(seen.value(QStringLiteral("fields")).toVariant().toStringList(), names);
    const QJsonArray records = seen.value(QStringLiteral("records")).toArray();
    QCOMPARE(records.size(), t.rowCount());
    QCOMPARE(records.size(), 4);
    for (int r = 0; r < t.rowCount(); ++r) {
        const QJsonObject record = records[r].toObject();
        for (int f = 0; f < t.fieldCount(); ++f) {
            QJsonValue want = expected(t.valueAt(r, f));
            if (want.isNull() && t.fieldAt(f)->dataType() == FieldType::Character)
                want = QString(); // an empty text field is empty text to both

            const QJsonValue got = record.value(names[f]);
            const QString where =
                QStringLiteral("record %1 field %2: ours %3, theirs %4")
                    .arg(r + 1)
                    .arg(names[f], QJsonDocument(QJsonArray{want}).toJson(QJsonDocument::Compact),
                         QJsonDocument(QJsonArray{got}).toJson(QJsonDocument::Compact));
            if (want.isDouble())
                QVERIFY2(got.isDouble() && got.toDouble() == want.toDouble(), qPrintable(where));
            else
                QVERIFY2(got == want, qPrintable(where));
        }
    }
    // The stored values are the ones written, to the field's decimals.
    QCOMPARE(records[0].toObject().value(QStringLiteral("A1")).toDouble(), 81.255);
    QCOMPARE(records[0].toObject().value(QStringLiteral("AGRID1")).toDouble(), 33.33333333);
    QCOMPARE(records[3].toObject().value(QStringLiteral("NAME")).toString(),
             QStringLiteral("€ “Œ” – fin"));
}

void PythonDbfTest::pythonsReadByUs() {
    const QString path = m_dir.path() + QStringLiteral("/theirs.dbf");
    const QJsonObject written = peer({QStringLiteral("write"), path});
    QVERIFY2(!written.contains(QStringLiteral("error")),
             qPrintable(written.value(QStringLiteral("error")).toString()));
    const QJsonArray records = written.value(QStringLiteral("records")).toArray();
    QCOMPARE(records.size(), 4);
    Table t;
    t.setTableName(path);
    t.open();
    QCOMPARE(t.rowCount(), 4);
    const QStringList names = written.value(QStringLiteral("fields")).toVariant().toStringList();
    QCOMPARE(names, QStringList({"NAME", "MARK", "PTS", "OK", "DAY", "SEQ"}));
    for (int r = 0; r < t.rowCount(); ++r) {
        t.moveToRow(r);
        const QJsonObject record = records[r].toObject();
        for (const QString& name : names) {
            Field* field = t.fieldByName(name);
            const QJsonValue theirs = record.value(name);
            const QString where = QStringLiteral("record %1 field %2").arg(r + 1).arg(name);
            if (theirs.isNull() || (theirs.isString() && theirs.toString().isEmpty())) {
                QVERIFY2(field->isNull(), qPrintable(where));
            } else if (theirs.isDouble()) {
                QVERIFY2(std::fabs(field->asFloat() - theirs.toDouble()) < 1e-9, qPrintable(where));
            } else if (theirs.isBool()) {
                QVERIFY2(!field->isNull() && field->asBoolean() == theirs.toBool(),
                         qPrintable(where));
            } else {
                QCOMPARE(field->asString(), theirs.toString());
            }
        }
    }
    t.first();
    QCOMPARE(t.fieldByName(QStringLiteral("NAME"))->asString(), QStringLiteral("Seán Ó Dálaigh"));
    QCOMPARE(t.fieldByName(QStringLiteral("DAY"))->value().toDate(), QDate(2024, 5, 1));
    // And what we post to their table they read back.
    t.edit();
    t.fieldByName(QStringLiteral("MARK"))->setAsFloat(72.5);
    t.post();
    t.close();
    const QJsonObject again = peer({QStringLiteral("read"), path});
    QCOMPARE(again.value(QStringLiteral("records"))
                 .toArray()[0]
                 .toObject()
                 .value(QStringLiteral("MARK"))
                 .toDouble(),
             72.5);
}

QTEST_GUILESS_MAIN(PythonDbfTest)
#include "tst_python_dbf.moc"

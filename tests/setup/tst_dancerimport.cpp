// Dancer Setup's import into the results table from files written by other programs'
// libraries: columns A to C, the heading row, overwrite and append, and files or rows
// that cannot be imported.
#include "SetupFixture.h"
#include "engine/EngineError.h"
#include "exchange/SheetPeer.h"
#include "setup/DancerImport.h"

#include <QDir>
#include <QLocale>
#include <QTest>

using namespace jt;
using exchange::ImportMode;
using test::SheetPeer;

Q_DECLARE_METATYPE(QList<QVariantList>)

namespace {

QVariant none() {
    return QVariant();
}

const QList<QVariantList> kDancers{
    {QStringLiteral("No"), QStringLiteral("Name"), QStringLiteral("School")},
    {101, QStringLiteral("Aoife Ní Bhriain"), QStringLiteral("St Anne's")},
    {102, QStringLiteral("Brid Ó Sé"), QStringLiteral("St Mary's")},
    {103, QStringLiteral("Ciara Walsh"), none()},
};

} // namespace

class TestDancerImport : public QObject {
    Q_OBJECT

    std::unique_ptr<test::SetupFixture> m_fx;
    QString m_kind = QStringLiteral("xlsx");

    engine::Table& results() { return *m_fx->dm().results; }
    QString file(const QString& name) const { return m_fx->folder.filePath(name); }
    QString write(const QList<QVariantList>& rows, const QString& kind = QStringLiteral("xlsx")) {
        const QString path = file(QStringLiteral("dancers.") + kind);
        const QString failed = SheetPeer::write(kind, path, rows);
        if (!failed.isEmpty())
            qFatal("%s", qPrintable(failed));
        return path;
    }
    void addExisting(int count) {
        results().open();
        for (int i = 0; i < count; ++i) {
            results().append();
            m_fx->dm().resultsSEQUENCE->setAsInteger(i + 1);
            m_fx->dm().resultsCOMP_NO->setAsInteger(1 + i);
            m_fx->dm().resultsNAME->setAsString(QStringLiteral("Existing %1").arg(i + 1));
            m_fx->dm().resultsA1->setAsFloat(70 + i);
            results().post();
        }
        results().first();
        m_fx->state.ReCalcFlag = false;
    }
    QStringList storedNames() {
        QStringList names;
        for (int i = 0; i < m_fx->storedCount(); ++i)
            names << m_fx->stored(i, QStringLiteral("NAME")).toString();
        return names;
    }
    exchange::ImportResult import(const QString& path, ImportMode mode = ImportMode::Append) {
        if (!results().active())
            results().open();
        return setup::importDancers(results(), path, mode);
    }

private Q_SLOTS:
    void initTestCase() {
        if (const QString why = SheetPeer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
    }
    void init() { m_fx = std::make_unique<test::SetupFixture>(); }
    void cleanup() { m_fx.reset(); }

    void importsColumnsAToC_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("xlsx") << "xlsx";
        QTest::newRow("xlsx with shared texts") << "xlsx-shared";
        QTest::newRow("xls") << "xls";
        QTest::newRow("ods") << "ods";
    }
    void importsColumnsAToC() {
        QFETCH(QString, kind);
        QList<QVariantList> rows = kDancers;
        rows[1] << QStringLiteral("ignored column D") << 99;
        const QString path = m_fx->folder.filePath(
            QStringLiteral("dancers.") +
            (kind.startsWith(QLatin1String("xlsx")) ? QStringLiteral("xlsx") : kind));
        QVERIFY(SheetPeer::write(kind, path, rows).isEmpty());
        m_fx->state.ReCalcFlag = false;
        const exchange::ImportResult r = import(path);
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(r.stored, 3);
        QCOMPARE(m_fx->storedCount(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(m_fx->stored(i, QStringLiteral("COMP_NO")).toDouble(),
                     rows[i + 1][0].toDouble());
            QCOMPARE(m_fx->stored(i, QStringLiteral("NAME")).toString(), rows[i + 1][1].toString());
            QCOMPARE(m_fx->stored(i, QStringLiteral("SCHOOL")).toString(),
                     rows[i + 1][2].toString());
            // Every other field stays blank, the sequence number included.
            for (const char* f : {"SEQUENCE", "A1", "ESET", "RECALLTTL", "POSITION", "RECALLED"})
                QVERIFY2(m_fx->stored(i, QString::fromLatin1(f)).isNull(), f);
        }
        QVERIFY(m_fx->state.ReCalcFlag);
        QVERIFY(results().active());
        QVERIFY(!results().exclusive());
        QCOMPARE(results().currentRow(), 0);
    }

    void theHeadingRow_data() {
        QTest::addColumn<QVariant>("firstA");
        QTest::addColumn<bool>("imported");
        QTest::newRow("a word") << QVariant(QStringLiteral("Dancer No")) << false;
        QTest::newRow("empty") << QVariant() << false;
        QTest::newRow("a number") << QVariant(100) << true;
        QTest::newRow("a number written as text") << QVariant(QStringLiteral("1,100")) << true;
    }
    void theHeadingRow() {
        QFETCH(QVariant, firstA);
        QFETCH(bool, imported);
        const QList<QVariantList> rows{{firstA, QStringLiteral("First"), QStringLiteral("S")},
                                       {200, QStringLiteral("Second"), QStringLiteral("S")}};
        const exchange::ImportResult r = import(write(rows));
        QVERIFY2(r.completed, qPrintable(r.error));
        const QStringList expected =
            imported ? QStringList{"First", "Second"} : QStringList{"Second"};
        QCOMPARE(storedNames(), expected);
    }

    void overwriteOrAppend_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("names");
        const QStringList imported{"Aoife Ní Bhriain", "Brid Ó Sé", "Ciara Walsh"};
        QTest::newRow("overwrite keeps only the imported")
            << int(ImportMode::Overwrite) << imported;
        QTest::newRow("append adds them after the others")
            << int(ImportMode::Append) << (QStringList{"Existing 1", "Existing 2"} + imported);
    }
    void overwriteOrAppend() {
        QFETCH(int, mode);
        QFETCH(QStringList, names);
        addExisting(2);
        const exchange::ImportResult r = import(write(kDancers), ImportMode(mode));
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(storedNames(), names);
        QCOMPARE(results().rowCount(), int(names.size()));
    }

    // The first row that cannot be stored stops the import; the rows before it stay.
    void stopsAtARowThatCannotBeStored_data() {
        QTest::addColumn<QVariantList>("badRow");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a name longer than its field")
            << QVariantList{104, QString(41, u'x'), QStringLiteral("S")} << "B"
            << "too wide";
        QTest::newRow("a school longer than its field")
            << QVariantList{104, QStringLiteral("Dee"), QString(45, u'y')} << "C"
            << "too wide";
        QTest::newRow("a dancer number that is not a number")
            << QVariantList{QStringLiteral("10a"), QStringLiteral("Dee"), QStringLiteral("S")}
            << "A"
            << "'10a' is not a valid floating point value for field 'COMP_NO'";
        QTest::newRow("a dancer number with a decimal comma")
            << QVariantList{QStringLiteral("104,5"), QStringLiteral("Dee"), QStringLiteral("S")}
            << "A"
            << "'104,5' is not a valid floating point value";
        QTest::newRow("a dancer number too big for its field")
            << QVariantList{12345678, QStringLiteral("Dee"), QStringLiteral("S")} << "A"
            << "too wide";
    }
    void stopsAtARowThatCannotBeStored() {
        QFETCH(QVariantList, badRow);
        QFETCH(QString, column);
        QFETCH(QString, reason);
        for (int mode : {int(ImportMode::Append), int(ImportMode::Overwrite)}) {
            m_fx.reset(); // one alias at a time
            m_fx = std::make_unique<test::SetupFixture>();
            addExisting(2);
            QList<QVariantList> rows = kDancers;
            rows.insert(3, badRow); // sheet row 4
            const QString path = write(rows);
            const exchange::ImportResult r = import(path, ImportMode(mode));
            QVERIFY(!r.completed);
            QCOMPARE(r.stored, 2);
            QVERIFY2(r.error.contains(QDir::toNativeSeparators(path)), qPrintable(r.error));
            QVERIFY2(r.error.contains(QStringLiteral("row 4, column ") + column),
                     qPrintable(r.error));
            QVERIFY2(r.error.contains(reason), qPrintable(r.error));
            const QStringList imported{"Aoife Ní Bhriain", "Brid Ó Sé"};
            const QStringList expected = mode == int(ImportMode::Append)
                                             ? QStringList{"Existing 1", "Existing 2"} + imported
                                             : imported;
            QCOMPARE(storedNames(), expected);
            QVERIFY(results().active());
            QVERIFY(!results().editing());
        }
    }

    // A file that cannot be read changes nothing, in either mode.
    void aFileThatCannotBeReadChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << ""
                                 << "does not exist";
        QTest::newRow("password-protected xls") << "xls-password"
                                                << "password-protected";
        QTest::newRow("password-protected xlsx") << "xlsx-encrypted"
                                                 << "password-protected";
        QTest::newRow("damaged") << "xlsx-badxml"
                                 << "is damaged";
        QTest::newRow("of another kind") << "zip-other"
                                         << "not a spreadsheet";
    }
    void aFileThatCannotBeReadChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        addExisting(3);
        const QString path = file(QStringLiteral("bad.xlsx"));
        if (!kind.isEmpty())
            QVERIFY(SheetPeer::write(kind, path, kDancers).isEmpty());
        const exchange::ImportResult r = import(path, ImportMode::Overwrite);
        QVERIFY(!r.completed);
        QVERIFY2(r.error.contains(reason), qPrintable(r.error));
        QCOMPARE(storedNames(), (QStringList{"Existing 1", "Existing 2", "Existing 3"}));
        QVERIFY(!m_fx->state.ReCalcFlag);
    }

    void numbersIgnoreTheRegionalSettings() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QList<QVariantList> rows{
            {QStringLiteral("1,234"), QStringLiteral("Thousands"), QStringLiteral("S")},
            {QStringLiteral("12.0"), QStringLiteral("Point"), QStringLiteral("S")},
            {55.0, 3.5, QStringLiteral("Number in a text field")}};
        const exchange::ImportResult r = import(write(rows));
        QLocale::setDefault(QLocale::c());
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(m_fx->stored(0, QStringLiteral("COMP_NO")).toDouble(), 1234.0);
        QCOMPARE(m_fx->stored(1, QStringLiteral("COMP_NO")).toDouble(), 12.0);
        QCOMPARE(m_fx->stored(2, QStringLiteral("NAME")).toString(), QStringLiteral("3.5"));
    }

    void rowsWithAToCEmptyArePassedOver() {
        const QList<QVariantList> rows{{101, QStringLiteral("One")},
                                       {none(), none(), none(), QStringLiteral("only D")},
                                       {},
                                       {none(), QStringLiteral("No number")}};
        const exchange::ImportResult r = import(write(rows, QStringLiteral("xls")));
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(storedNames(), (QStringList{"One", "No number"}));
        QVERIFY(m_fx->stored(1, QStringLiteral("COMP_NO")).isNull());
    }

    void aRowBeingTypedIsSavedFirst() {
        addExisting(1);
        results().edit();
        m_fx->dm().resultsNAME->setAsString(QStringLiteral("Typed"));
        const exchange::ImportResult r = import(write(kDancers));
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(storedNames().first(), QStringLiteral("Typed"));
    }

    // Someone else has the table open: the import shares it and still completes.
    void sharesATableOthersHaveOpen() {
        addExisting(1);
        engine::Table other;
        other.setDatabaseName(data::TDataModule1::kAlias);
        other.setTableName(QStringLiteral("u12.dbf"));
        other.open();
        const exchange::ImportResult r = import(write(kDancers));
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(m_fx->storedCount(), 4);
        other.refresh();
        QCOMPARE(other.rowCount(), 4);
    }

    // Someone holds it for sole use: nothing is imported, nothing lost, and it says why.
    void aTableHeldBySomeoneElse() {
        addExisting(2);
        const QString path = write(kDancers);
        results().close();
        engine::Table holder;
        holder.setDatabaseName(data::TDataModule1::kAlias);
        holder.setTableName(QStringLiteral("u12.dbf"));
        holder.setExclusive(true);
        holder.open();
        const exchange::ImportResult r =
            setup::importDancers(results(), path, ImportMode::Overwrite);
        QVERIFY(!r.completed);
        QVERIFY2(r.error.contains(QLatin1String("in use")), qPrintable(r.error));
        holder.close();
        QCOMPARE(storedNames(), (QStringList{"Existing 1", "Existing 2"}));
    }

    void tellsItsProgress() {
        QList<QVariantList> rows{{QStringLiteral("No")}};
        for (int i = 0; i < 120; ++i)
            rows.append({i + 1, QStringLiteral("D%1").arg(i)});
        results().open();
        QList<int> done;
        int total = 0;
        const exchange::ImportResult r =
            setup::importDancers(results(), write(rows), ImportMode::Append, [&](int d, int t) {
                done << d;
                total = t;
            });
        QVERIFY2(r.completed, qPrintable(r.error));
        QCOMPARE(total, 121);
        QVERIFY(!done.isEmpty());
        QCOMPARE(done.last(), 121);
        QVERIFY(std::is_sorted(done.begin(), done.end()));
    }
};

QTEST_GUILESS_MAIN(TestDancerImport)
#include "tst_dancerimport.moc"

// Malformed and truncated tables are refused (or read safely) with a message that
// names the file, and opening them never changes them.
#include "EngineFixture.h"

#include <QtTest>

#include <functional>

using namespace jt::engine;
using namespace jt::test;

namespace {

const FieldDefs kFields = {{QStringLiteral("NAME"), FieldType::Character, 8, 0},
                           {QStringLiteral("MARK"), FieldType::Numeric, 6, 2},
                           {QStringLiteral("FLAG"), FieldType::Logical, 1, 0},
                           {QStringLiteral("DAY"), FieldType::Date, 8, 0}};

QByteArray sound() {
    return tableImage(kFields, {{"Aoife", "1.50", "T", "20240501"}, {"Brid", "", "F", ""}});
}

// Descriptor byte of field f (0-based) at position p within its 32 bytes.
char& descriptor(QByteArray& b, int f, int p) {
    return b[32 + 32 * f + p];
}

void putU16(QByteArray& b, int at, int v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

} // namespace

using Damage = std::function<void(QByteArray&)>;
Q_DECLARE_METATYPE(Damage)

class BadFilesTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refused_data();
    void refused();
    void readSafely_data();
    void readSafely();
    void notATable();
};

void BadFilesTest::refused_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("problem");
    const int header = 32 * 5 + 1;
    QTest::addRow("empty file") << Damage([](QByteArray& b) { b.clear(); })
                                << "too short for a header (0 bytes)";
    QTest::addRow("short header") << Damage([](QByteArray& b) { b.truncate(20); })
                                  << "too short for a header";
    QTest::addRow("cut in the field list")
        << Damage([](QByteArray& b) { b.truncate(70); }) << "header length 161";
    QTest::addRow("unknown version")
        << Damage([](QByteArray& b) { b[0] = char(0x02); }) << "unknown version byte 0x02";
    QTest::addRow("header length too long")
        << Damage([](QByteArray& b) { putU16(b, 8, 60000); }) << "header length 60000 does not fit";
    QTest::addRow("header length too short")
        << Damage([](QByteArray& b) { putU16(b, 8, 20); }) << "header length 20";
    QTest::addRow("header length mid field")
        << Damage([](QByteArray& b) { putU16(b, 8, 100); }) << "the field list has no terminator";
    QTest::addRow("wrong record length") << Damage([](QByteArray& b) { putU16(b, 10, 30); })
                                         << "record length of 30 but the fields need 24";
    QTest::addRow("record count beyond the file")
        << Damage([](QByteArray& b) { b[4] = 3; })
        << "the header counts 3 records but the file holds only 2";
    QTest::addRow("huge record count")
        << Damage([](QByteArray& b) { b[7] = char(0xFF); }) << "records but the file holds only 2";
    QTest::addRow("truncated records")
        << Damage([header](QByteArray& b) { b.truncate(header + 30); })
        << "the header counts 2 records but the file holds only 1";
    QTest::addRow("field width 0") << Damage([](QByteArray& b) { descriptor(b, 0, 16) = 0; })
                                   << "character field NAME has width 0";
    QTest::addRow("number too wide")
        << Damage([](QByteArray& b) { descriptor(b, 1, 16) = char(40); })
        << "number field MARK has width 40 (1 to 20 allowed)";
    QTest::addRow("decimals fill the number")
        << Damage([](QByteArray& b) { descriptor(b, 1, 17) = 6; })
        << "number field MARK has 6 decimals in a width of 6";
    QTest::addRow("logical width 2") << Damage([](QByteArray& b) { descriptor(b, 2, 16) = 2; })
                                     << "logical field FLAG has width 2";
    QTest::addRow("unknown type") << Damage([](QByteArray& b) { descriptor(b, 1, 11) = 'M'; })
                                  << "field MARK has the unsupported type 'M'";
    QTest::addRow("binary type") << Damage([](QByteArray& b) { descriptor(b, 1, 11) = char(0xC3); })
                                 << "unsupported type 0xc3";
    QTest::addRow("missing terminator") << Damage([header](QByteArray& b) { b[header - 1] = ' '; })
                                        << "the field list has no terminator";
    QTest::addRow("no fields") << Damage([](QByteArray& b) {
        b = b.left(32) + char(0x0D);
        putU16(b, 8, 33);
        putU16(b, 10, 1);
        b[4] = 0;
    }) << "the table has no fields";
    QTest::addRow("junk in a number")
        << Damage([header](QByteArray& b) { b.replace(header + 24 + 9, 6, "  1x.5"); })
        << "record 2 holds '1x.5' in field MARK";
    QTest::addRow("junk in a logical")
        << Damage([header](QByteArray& b) { b[header + 24 + 15] = 'X'; })
        << "record 2 holds 'X' in field FLAG";
    QTest::addRow("junk in a date")
        << Damage([header](QByteArray& b) { b.replace(header + 16, 8, "2024-5-1"); })
        << "record 1 holds '2024-5-1' in field DAY";
    QTest::addRow("duplicate field names")
        << Damage([](QByteArray& b) { b.replace(32 + 32, 4, "NAME"); })
        << "Duplicate field name NAME";
    QTest::addRow("non-ASCII field name")
        << Damage([](QByteArray& b) { descriptor(b, 0, 1) = char(0xC9); })
        << "field 1 has an invalid name";
    QTest::addRow("empty field name")
        << Damage([](QByteArray& b) { std::memset(&descriptor(b, 0, 0), 0, 11); })
        << "field 1 has an invalid name";
}

// Each case: refused with a BadFile error naming the file, and the bytes unchanged,
// opened shared and for sole use.
void BadFilesTest::refused() {
    QFETCH(Damage, damage);
    QFETCH(QString, problem);
    EngineFolder folder;
    const QString path = folder.filePath(QStringLiteral("bad.dbf"));
    QByteArray bytes = sound();
    damage(bytes);
    QVERIFY(writeBytes(path, bytes));
    for (const bool exclusive : {false, true}) {
        auto t = folder.handle(QStringLiteral("bad.dbf"));
        t->setExclusive(exclusive);
        try {
            t->open();
            QFAIL("a bad table was opened");
        } catch (const EngineError& e) {
            QCOMPARE(e.kind(), EngineError::Kind::BadFile);
            QVERIFY2(e.message().startsWith(path + QStringLiteral(" is not a sound dBASE table: ")),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(problem), qPrintable(e.message()));
        }
        QVERIFY(!t->active());
        QCOMPARE(fileBytes(path), bytes);
        QVERIFY(!QFile::exists(DbfFile::journalPath(path)));
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 t->addIndex(QStringLiteral("x"), QStringLiteral("NAME")));
    }
}

void BadFilesTest::readSafely_data() {
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("firstName");
    const int header = 32 * 5 + 1;
    QTest::addRow("sound") << Damage([](QByteArray&) {}) << 2 << "Aoife";
    QTest::addRow("no end marker") << Damage([](QByteArray& b) { b.chop(1); }) << 2 << "Aoife";
    QTest::addRow("junk after the records")
        << Damage([](QByteArray& b) { b += "garbage"; }) << 2 << "Aoife";
    QTest::addRow("count below the records")
        << Damage([](QByteArray& b) { b[4] = 1; }) << 1 << "Aoife";
    QTest::addRow("deleted record hidden")
        << Damage([header](QByteArray& b) { b[header] = '*'; }) << 1 << "Brid";
    QTest::addRow("NUL padded text")
        << Damage([header](QByteArray& b) { b.replace(header + 1 + 5, 3, QByteArray(3, '\0')); })
        << 2 << "Aoife";
    QTest::addRow("unknown language driver")
        << Damage([](QByteArray& b) { b[29] = char(0x57); }) << 2 << "Aoife";
    QTest::addRow("extra header bytes") << Damage([header](QByteArray& b) {
        b.insert(header, QByteArray(263, '\0'));
        putU16(b, 8, header + 263);
    }) << 2 << "Aoife";
    QTest::addRow("dBASE IV version byte")
        << Damage([](QByteArray& b) { b[0] = char(0x04); }) << 2 << "Aoife";
    QTest::addRow("invalid update date")
        << Damage([](QByteArray& b) { b[2] = char(13); }) << 2 << "Aoife";
}

void BadFilesTest::readSafely() {
    QFETCH(Damage, damage);
    QFETCH(int, rows);
    QFETCH(QString, firstName);
    EngineFolder folder;
    const QString path = folder.filePath(QStringLiteral("odd.dbf"));
    QByteArray bytes = sound();
    damage(bytes);
    QVERIFY(writeBytes(path, bytes));
    auto t = folder.handle(QStringLiteral("odd.dbf"));
    t->open();
    QCOMPARE(t->rowCount(), rows);
    QCOMPARE(t->fieldByName(QStringLiteral("NAME"))->asString(), firstName);
    for (int r = 0; r < t->rowCount(); ++r)
        for (int f = 0; f < t->fieldCount(); ++f)
            t->valueAt(r, f);
    t->close();
    QCOMPARE(fileBytes(path), bytes);
}

void BadFilesTest::notATable() {
    EngineFolder folder;
    QDir(folder.path()).mkdir(QStringLiteral("dir.dbf"));
    auto t = folder.handle(QStringLiteral("dir.dbf"));
    QVERIFY_THROWS_EXCEPTION(EngineError, t->open());
    QVERIFY(writeBytes(folder.filePath(QStringLiteral("text.dbf")), "Name,Mark\nAoife,1\n"));
    auto text = folder.handle(QStringLiteral("text.dbf"));
    try {
        text->open();
        QFAIL("a text file was opened");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::BadFile);
        QVERIFY(e.message().contains(folder.filePath(QStringLiteral("text.dbf"))));
    }
}

QTEST_GUILESS_MAIN(BadFilesTest)
#include "tst_badfiles.moc"

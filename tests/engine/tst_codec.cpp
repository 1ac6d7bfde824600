// Field values to bytes and back: every field type and width, empty fields, values
// that do not fit, and Windows-1252 text.
#include "EngineFixture.h"
#include "engine/Cp1252.h"
#include "engine/Field.h"

#include <QtTest>

using namespace jt::engine;
using namespace jt::test;

Q_DECLARE_METATYPE(jt::engine::FieldType)

class CodecTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodeAndDecode_data();
    void encodeAndDecode();
    void decodeStored_data();
    void decodeStored();
    void refusedValues_data();
    void refusedValues();
    void roundTripThroughTable_data();
    void roundTripThroughTable();
    void emptyFieldsReadAsNothing();
    void textTypedByAPerson_data();
    void textTypedByAPerson();
    void everyCp1252ByteSurvives();
    void numberTexts_data();
    void numberTexts();
    void displayFormats_data();
    void displayFormats();
};

void CodecTest::encodeAndDecode_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QVariant>("readBack");

    const auto C = FieldType::Character, N = FieldType::Numeric, F = FieldType::Float,
               L = FieldType::Logical;
    QTest::addRow("text padded") << C << 10 << 0 << QVariant("Aoife") << QByteArray("Aoife     ")
                                 << QVariant("Aoife");
    QTest::addRow("text trailing blanks dropped")
        << C << 6 << 0 << QVariant("Cork  ") << QByteArray("Cork  ") << QVariant("Cork");
    QTest::addRow("text width 1") << C << 1 << 0 << QVariant("T") << QByteArray("T")
                                  << QVariant("T");
    QTest::addRow("text width 255")
        << C << 255 << 0 << QVariant(QString(255, QLatin1Char('x'))) << QByteArray(255, 'x')
        << QVariant(QString(255, QLatin1Char('x')));
    QTest::addRow("Irish accents")
        << C << 16 << 0 << QVariant(QStringLiteral("Seán Ó Dálaigh"))
        << QByteArray("Se\xE1n \xD3 D\xE1laigh  ") << QVariant(QStringLiteral("Seán Ó Dálaigh"));
    QTest::addRow("euro sign and quotes") << C << 6 << 0 << QVariant(QStringLiteral("€5 ‘x’"))
                                          << QByteArray("\x80"
                                                        "5 \x91x\x92")
                                          << QVariant(QStringLiteral("€5 ‘x’"));
    QTest::addRow("empty text") << C << 4 << 0 << QVariant(QString()) << QByteArray("    ")
                                << QVariant();
    QTest::addRow("mark") << N << 10 << 4 << QVariant(81.255) << QByteArray("   81.2550")
                          << QVariant(81.255);
    QTest::addRow("negative") << N << 10 << 4 << QVariant(-2.5) << QByteArray("   -2.5000")
                              << QVariant(-2.5);
    QTest::addRow("zero is not empty")
        << N << 10 << 4 << QVariant(0.0) << QByteArray("    0.0000") << QVariant(0.0);
    QTest::addRow("tiny negative is zero")
        << N << 10 << 4 << QVariant(-0.00001) << QByteArray("    0.0000") << QVariant(0.0);
    QTest::addRow("points") << N << 18 << 8 << QVariant(0.33333333)
                            << QByteArray("        0.33333333") << QVariant(0.33333333);
    QTest::addRow("rounded to the decimals")
        << N << 8 << 2 << QVariant(2.345678) << QByteArray("    2.35") << QVariant(2.35);
    QTest::addRow("exact width") << N << 5 << 0 << QVariant(12345.0) << QByteArray("12345")
                                 << QVariant(12345.0);
    QTest::addRow("width 1") << N << 1 << 0 << QVariant(7.0) << QByteArray("7") << QVariant(7.0);
    QTest::addRow("decimals fill width")
        << N << 3 << 2 << QVariant(0.5) << QByteArray(".50") << QVariant(0.5);
    QTest::addRow("negative decimals fill width")
        << N << 4 << 2 << QVariant(-0.5) << QByteArray("-.50") << QVariant(-0.5);
    QTest::addRow("width 20") << N << 20 << 0 << QVariant(9007199254740992.0)
                              << QByteArray("    9007199254740992") << QVariant(9007199254740992.0);
    QTest::addRow("empty number") << N << 6 << 2 << QVariant() << QByteArray("      ")
                                  << QVariant();
    QTest::addRow("float type") << F << 12 << 3 << QVariant(3.25) << QByteArray("       3.250")
                                << QVariant(3.25);
    QTest::addRow("number from text") << N << 6 << 1 << QVariant(QStringLiteral(" 2.5 "))
                                      << QByteArray("   2.5") << QVariant(2.5);
    QTest::addRow("true") << L << 1 << 0 << QVariant(true) << QByteArray("T") << QVariant(true);
    QTest::addRow("false") << L << 1 << 0 << QVariant(false) << QByteArray("F") << QVariant(false);
    QTest::addRow("logical from text F")
        << L << 1 << 0 << QVariant(QStringLiteral("F")) << QByteArray("F") << QVariant(false);
    QTest::addRow("empty logical") << L << 1 << 0 << QVariant() << QByteArray(" ") << QVariant();
}

void CodecTest::encodeAndDecode() {
    QFETCH(FieldType, type);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, stored);
    QFETCH(QVariant, readBack);
    const FieldDef def{QStringLiteral("F1"), type, width, decimals};
    QByteArray bytes(width, '#');
    encodeField(def, value, bytes.data(), QStringLiteral("t.dbf"));
    QCOMPARE(bytes, stored);
    bool ok = false;
    const QVariant back = decodeField(def, bytes.constData(), &ok);
    QVERIFY(ok);
    QCOMPARE(back.isNull(), readBack.isNull());
    if (!readBack.isNull())
        QCOMPARE(back, readBack);
}

void CodecTest::decodeStored_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QVariant>("value");

    const auto C = FieldType::Character, N = FieldType::Numeric, L = FieldType::Logical,
               D = FieldType::Date;
    QTest::addRow("text padded with NULs")
        << C << QByteArray("Cork\0\0", 6) << true << QVariant("Cork");
    QTest::addRow("number with plus") << N << QByteArray("   +5") << true << QVariant(5.0);
    QTest::addRow("number left aligned") << N << QByteArray("5    ") << true << QVariant(5.0);
    QTest::addRow("number of NULs") << N << QByteArray(5, '\0') << true << QVariant();
    QTest::addRow("number with exponent") << N << QByteArray("1.5e2") << true << QVariant(150.0);
    QTest::addRow("junk number") << N << QByteArray(" 12a ") << false << QVariant();
    QTest::addRow("two numbers") << N << QByteArray(" 1 2 ") << false << QVariant();
    QTest::addRow("comma decimal") << N << QByteArray("  1,5") << false << QVariant();
    QTest::addRow("lone minus") << N << QByteArray("    -") << false << QVariant();
    QTest::addRow("infinity") << N << QByteArray("  inf") << false << QVariant();
    QTest::addRow("logical t") << L << QByteArray("t") << true << QVariant(true);
    QTest::addRow("logical Y") << L << QByteArray("Y") << true << QVariant(true);
    QTest::addRow("logical n") << L << QByteArray("n") << true << QVariant(false);
    QTest::addRow("logical ?") << L << QByteArray("?") << true << QVariant();
    QTest::addRow("logical blank") << L << QByteArray(" ") << true << QVariant();
    QTest::addRow("logical junk") << L << QByteArray("X") << false << QVariant();
    QTest::addRow("date") << D << QByteArray("20240131") << true << QVariant(QDate(2024, 1, 31));
    QTest::addRow("blank date") << D << QByteArray("        ") << true << QVariant();
    QTest::addRow("zero date") << D << QByteArray("00000000") << true << QVariant();
    QTest::addRow("impossible date") << D << QByteArray("20240231") << false << QVariant();
    QTest::addRow("junk date") << D << QByteArray("2024AB01") << false << QVariant();
    QTest::addRow("short date") << D << QByteArray(" 2024011") << false << QVariant();
}

void CodecTest::decodeStored() {
    QFETCH(FieldType, type);
    QFETCH(QByteArray, stored);
    QFETCH(bool, valid);
    QFETCH(QVariant, value);
    const FieldDef def{QStringLiteral("F1"), type, int(stored.size()), 0};
    bool ok = !valid;
    const QVariant v = decodeField(def, stored.constData(), &ok);
    QCOMPARE(ok, valid);
    QCOMPARE(v.isNull(), value.isNull());
    if (!value.isNull())
        QCOMPARE(v, value);
}

void CodecTest::refusedValues_data() {
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("message");

    const auto C = FieldType::Character, N = FieldType::Numeric, L = FieldType::Logical;
    QTest::addRow("number too wide")
        << N << 5 << 2 << QVariant(1000.0)
        << "The value '1000' is too wide for field F1 of table t.dbf (width 5)";
    QTest::addRow("negative too wide")
        << N << 3 << 0 << QVariant(-100.0)
        << "The value '-100' is too wide for field F1 of table t.dbf (width 3)";
    QTest::addRow("huge number") << N << 20 << 4 << QVariant(1e300) << "is too wide for field F1";
    QTest::addRow("text too wide")
        << C << 5 << 0 << QVariant("Aoife!")
        << "The value 'Aoife!' is too wide for field F1 of table t.dbf (width 5)";
    QTest::addRow("accented text too wide")
        << C << 4 << 0 << QVariant(QStringLiteral("Séan Óg")) << "is too wide for field F1";
    QTest::addRow("not in the code page")
        << C << 10 << 0 << QVariant(QStringLiteral("Łucja"))
        << "holds a character that field F1 of table t.dbf cannot store";
    QTest::addRow("Japanese") << C << 10 << 0 << QVariant(QStringLiteral("日本")) << "cannot store";
    QTest::addRow("not a number") << N << 6 << 0 << QVariant("abc")
                                  << "'abc' is not a valid number for field F1";
    QTest::addRow("infinite") << N << 6 << 0 << QVariant(qInf())
                              << "is not a valid number for field F1";
    QTest::addRow("not a logical")
        << L << 1 << 0 << QVariant("maybe") << "'maybe' is not a valid boolean value";
}

void CodecTest::refusedValues() {
    QFETCH(FieldType, type);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QVariant, value);
    QFETCH(QString, message);
    const FieldDef def{QStringLiteral("F1"), type, width, decimals};
    QByteArray bytes(width, '#');
    try {
        encodeField(def, value, bytes.data(), QStringLiteral("t.dbf"));
        QFAIL("the value was accepted");
    } catch (const EngineError& e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    // Nothing is cut or half-written.
    QCOMPARE(bytes, QByteArray(width, '#'));
}

void CodecTest::roundTripThroughTable_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("asString");
    QTest::addColumn<double>("asFloat");
    QTest::addColumn<bool>("asBoolean");

    QTest::addRow("text") << "NAME" << QVariant(QStringLiteral("Niamh Ní Bhriain"))
                          << "Niamh Ní Bhriain" << 0.0 << false;
    QTest::addRow("mark") << "MARK" << QVariant(72.5) << "72.5" << 72.5 << true;
    QTest::addRow("mark of zero") << "MARK" << QVariant(0.0) << "0" << 0.0 << false;
    QTest::addRow("points") << "POINTS" << QVariant(100.0 / 3) << "33.33333333" << 33.33333333
                            << true;
    QTest::addRow("whole") << "SEQ" << QVariant(42.0) << "42" << 42.0 << true;
    QTest::addRow("float") << "FLT" << QVariant(-1.125) << "-1.125" << -1.125 << true;
    QTest::addRow("logical") << "FLAG" << QVariant(true) << "T" << 1.0 << true;
}

// Written through a Field, posted, read back after the table is closed and opened.
void CodecTest::roundTripThroughTable() {
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, asString);
    QFETCH(double, asFloat);
    QFETCH(bool, asBoolean);
    EngineFolder folder;
    const FieldDefs fields = {{QStringLiteral("NAME"), FieldType::Character, 30, 0},
                              {QStringLiteral("MARK"), FieldType::Numeric, 10, 4},
                              {QStringLiteral("POINTS"), FieldType::Numeric, 18, 8},
                              {QStringLiteral("SEQ"), FieldType::Numeric, 5, 0},
                              {QStringLiteral("FLT"), FieldType::Float, 12, 3},
                              {QStringLiteral("FLAG"), FieldType::Logical, 1, 0}};
    auto t = folder.create(QStringLiteral("rt.dbf"), fields);
    t->append();
    t->fieldByName(field)->setValue(value);
    t->post();
    t->close();
    t->open();
    Field* f = t->fieldByName(field);
    QCOMPARE(f->asString(), asString);
    QCOMPARE(f->asFloat(), asFloat);
    QCOMPARE(f->asBoolean(), asBoolean);
    QVERIFY(!f->isNull());
    // The other fields stayed empty.
    for (int i = 0; i < t->fieldCount(); ++i)
        if (t->fieldAt(i) != f)
            QVERIFY2(t->fieldAt(i)->isNull(), qPrintable(t->fieldAt(i)->fieldName()));
}

void CodecTest::emptyFieldsReadAsNothing() {
    EngineFolder folder;
    auto t = folder.create(QStringLiteral("empty.dbf"),
                           {{QStringLiteral("N"), FieldType::Numeric, 10, 4},
                            {QStringLiteral("C"), FieldType::Character, 5, 0},
                            {QStringLiteral("L"), FieldType::Logical, 1, 0}});
    t->append();
    t->fieldByName(QStringLiteral("N"))->setAsFloat(3);
    t->fieldByName(QStringLiteral("C"))->setAsString(QStringLiteral("x"));
    t->fieldByName(QStringLiteral("L"))->setAsBoolean(true);
    t->post();
    t->edit();
    for (const char* name : {"N", "C", "L"})
        t->fieldByName(QLatin1String(name))->clear();
    t->post();
    QCOMPARE(fileBytes(t->resolvedPath()).right(t->structure().recordLength + 1),
             QByteArray(t->structure().recordLength, ' ') + char(0x1A));
    Field* n = t->fieldByName(QStringLiteral("N"));
    QVERIFY(n->isNull());
    QCOMPARE(n->asFloat(), 0.0);
    QCOMPARE(n->asInteger(), 0);
    QCOMPARE(n->asFixed4(), 0);
    QCOMPARE(n->asString(), QString());
    QCOMPARE(t->fieldByName(QStringLiteral("C"))->asString(), QString());
    QCOMPARE(t->fieldByName(QStringLiteral("L"))->asBoolean(), false);
    QCOMPARE(t->fieldByName(QStringLiteral("L"))->asString(), QString());
}

void CodecTest::textTypedByAPerson_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("error"); // empty: accepted
    QTest::addColumn<QString>("stored");

    QTest::addRow("number") << "MARK"
                            << " 72.5 "
                            << ""
                            << "72.5";
    QTest::addRow("blank clears") << "MARK"
                                  << "  "
                                  << ""
                                  << "";
    QTest::addRow("junk") << "MARK"
                          << "7a"
                          << "'7a' is not a valid floating point value for field 'MARK'"
                          << "";
    QTest::addRow("comma") << "MARK"
                           << "7,5"
                           << "'7,5' is not a valid floating point value for field 'MARK'"
                           << "";
    QTest::addRow("nan") << "MARK"
                         << "nan"
                         << "'nan' is not a valid floating point value for field 'MARK'"
                         << "";
    QTest::addRow("yes") << "FLAG"
                         << "yes"
                         << ""
                         << "T";
    QTest::addRow("n") << "FLAG"
                       << "n"
                       << ""
                       << "F";
    QTest::addRow("bad logical") << "FLAG"
                                 << "perhaps"
                                 << "'perhaps' is not a valid boolean value for field 'FLAG'"
                                 << "";
}

void CodecTest::textTypedByAPerson() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, error);
    QFETCH(QString, stored);
    EngineFolder folder;
    auto t = folder.create(QStringLiteral("typed.dbf"),
                           {{QStringLiteral("MARK"), FieldType::Numeric, 10, 4},
                            {QStringLiteral("FLAG"), FieldType::Logical, 1, 0}});
    t->append();
    Field* f = t->fieldByName(field);
    f->setValue(field == QLatin1String("MARK") ? QVariant(1.0) : QVariant(true));
    const QString before = f->asString();
    try {
        f->setText(typed);
        QVERIFY2(error.isEmpty(), "the text was accepted");
        QCOMPARE(f->asString(), stored);
    } catch (const EngineError& e) {
        QCOMPARE(e.message(), error);
        QCOMPARE(f->asString(), before);
    }
}

void CodecTest::everyCp1252ByteSurvives() {
    for (int b = 1; b < 256; ++b) {
        const char byte = char(b);
        const QString text = decodeCp1252(&byte, 1);
        const auto back = encodeCp1252(text);
        QVERIFY2(back && *back == QByteArray(1, byte), qPrintable(QString::number(b, 16)));
    }
    QVERIFY(!encodeCp1252(QStringLiteral("Ł")));
    QCOMPARE(*encodeCp1252(QStringLiteral("Ó")), QByteArray("\xD3"));
}

void CodecTest::numberTexts_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addRow("tenth") << 0.1 << "0.1";
    QTest::addRow("whole") << 100.0 << "100";
    QTest::addRow("negative zero") << -0.0 << "0";
    QTest::addRow("small") << 1e-7 << "0.0000001";
    QTest::addRow("large") << 1e21 << "1000000000000000000000";
    QTest::addRow("exact power") << 1e22 << "10000000000000000000000";
}

void CodecTest::numberTexts() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(shortestNumberText(value), text);
    // The longest plain forms fit as well (they once overran a small buffer).
    QCOMPARE(shortestNumberText(1e300).size(), 301);
    QCOMPARE(shortestNumberText(-1.7976931348623157e308).size(), 310);
}

void CodecTest::displayFormats_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::addRow("#.## zero") << "#.##" << 0.0 << "";
    QTest::addRow("#.## half") << "#.##" << 0.5 << ".5";
    QTest::addRow("#.## whole") << "#.##" << 3.0 << "3";
    QTest::addRow("#.## rounds the written digits") << "#.##" << 81.255 << "81.26";
    QTest::addRow("#.## tiny negative") << "#.##" << -0.001 << "";
    QTest::addRow("0.## zero") << "0.##" << 0.0 << "0";
    QTest::addRow("0.## half") << "0.##" << 0.5 << "0.5";
    QTest::addRow("0.## carry") << "0.##" << 9.999 << "10";
    QTest::addRow("0.## negative") << "0.##" << -2.25 << "-2.25";
}

void CodecTest::displayFormats() {
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, shown);
    QCOMPARE(formatNumber(value, format), shown);
}

QTEST_GUILESS_MAIN(CodecTest)
#include "tst_codec.moc"

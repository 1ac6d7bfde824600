// The export writers against in-memory buffers, byte for byte, and the files they write
// read back by other programs' libraries (openpyxl, python3-dbf, Python's csv module).
#include "ExchangePeer.h"
#include "exchange/DelimitedText.h"
#include "exchange/ExportWriters.h"
#include "exchange/MarkupTables.h"
#include "exchange/OdsReader.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTime>

using namespace jt;
using namespace jt::exchange;

namespace {

engine::FieldDef def(const char* name, engine::FieldType type, int width, int decimals = 0) {
    return {QString::fromLatin1(name), type, width, decimals};
}

// Four columns as the SeeAll grid hands them: a number, a name with accents and
// delimiters, a mark and a truth value; the third row is empty throughout.
MemoryRows dancers() {
    using T = engine::FieldType;
    return MemoryRows({{QStringLiteral("COMP_NO"), QStringLiteral("No.")},
                       {QStringLiteral("NAME"), QStringLiteral("Name")},
                       {QStringLiteral("A1"), QStringLiteral("Adj A Rd 1")},
                       {QStringLiteral("RECALLED"), QStringLiteral("Recalled")}},
                      {def("COMP_NO", T::Numeric, 6), def("NAME", T::Character, 40),
                       def("A1", T::Numeric, 10, 4), def("RECALLED", T::Logical, 1)},
                      {{101.0, QStringLiteral("Aoife Ní Bhriain"), 0.0, true},
                       {102.0, QStringLiteral("Seán, \"Jr\""), 72.5, false},
                       {QVariant(), QVariant(), QVariant(), QVariant()}});
}

QByteArray cp1252(const char* utf8) {
    QByteArray out;
    for (const QChar c : QString::fromUtf8(utf8))
        out.append(char(c.unicode() == 0x20AC ? 0x80 : c.unicode()));
    return out;
}

} // namespace

class TstExchangeExport final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fixedSettings_data();
    void fixedSettings();
    void valueTexts_data();
    void valueTexts();
    void refusesWhatWindows1252CannotHold();
    void markupReadsBack_data();
    void markupReadsBack();
    void xlsxReadByOpenpyxl();
    void odsReadByOurReader();
    void dbaseReadByPythonDbf();
    void csvBothWaysWithPython();
    void pdfAndRtf();
    void unwritableTarget_data();
    void unwritableTarget();
};

void TstExchangeExport::fixedSettings_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("fieldNames");
    QTest::addColumn<QByteArray>("expected");
    QTest::addRow("text, no field names") << int(TargetFormat::Text) << false
                                          << cp1252("101\tAoife Ní Bhriain\t0\tTrue\r\n"
                                                    "102\t\"Seán, \"\"Jr\"\"\"\t72.5\tFalse\r\n"
                                                    "\t\t\t\r\n");
    QTest::addRow("text, field names ticked") << int(TargetFormat::Text) << true
                                              << cp1252("No.\tName\tAdj A Rd 1\tRecalled\r\n"
                                                        "101\tAoife Ní Bhriain\t0\tTrue\r\n"
                                                        "102\t\"Seán, \"\"Jr\"\"\"\t72.5\tFalse\r\n"
                                                        "\t\t\t\r\n");
    QTest::addRow("csv") << int(TargetFormat::Csv) << false
                         << cp1252("101,Aoife Ní Bhriain,0,True\r\n"
                                   "102,\"Seán, \"\"Jr\"\"\",72.5,False\r\n"
                                   ",,,\r\n");
    QTest::addRow("sql") << int(TargetFormat::Sql) << false
                         << cp1252("INSERT INTO U12 (COMP_NO, NAME, A1, RECALLED) VALUES (101, "
                                   "'Aoife Ní Bhriain', 0, True);\r\n"
                                   "INSERT INTO U12 (COMP_NO, NAME, A1, RECALLED) VALUES (102, "
                                   "'Seán, \"Jr\"', 72.5, False);\r\n"
                                   "INSERT INTO U12 (COMP_NO, NAME, A1, RECALLED) VALUES (NULL, "
                                   "NULL, NULL, NULL);\r\n");
    QTest::addRow("ldif") << int(TargetFormat::Ldif) << false
                          << QByteArray("version: 1\r\n\r\n"
                                        "dn: cn=1,ou=U12\r\nCOMP_NO: 101\r\nNAME:: " +
                                        QString::fromUtf8("Aoife Ní Bhriain").toUtf8().toBase64() +
                                        "\r\nA1: 0\r\nRECALLED: True\r\n\r\n"
                                        "dn: cn=2,ou=U12\r\nCOMP_NO: 102\r\nNAME:: " +
                                        QString::fromUtf8("Seán, \"Jr\"").toUtf8().toBase64() +
                                        "\r\nA1: 72.5\r\nRECALLED: False\r\n\r\n"
                                        "dn: cn=3,ou=U12\r\n");
}

void TstExchangeExport::fixedSettings() {
    QFETCH(int, format);
    QFETCH(bool, fieldNames);
    QFETCH(QByteArray, expected);
    ExportSettings s;
    s.fieldNames = fieldNames;
    s.tableName = QStringLiteral("U12");
    QByteArray out;
    const ExportResult r = exportBytes(TargetFormat(format), dancers(), s, &out);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.rows, 3);
    QCOMPARE(out, expected);
}

void TstExchangeExport::valueTexts_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::addRow("zero is a number") << QVariant(0.0) << QStringLiteral("0");
    QTest::addRow("no thousands grouping in plain numbers")
        << QVariant(1234567.5) << QStringLiteral("1234567.5");
    QTest::addRow("negative fraction") << QVariant(-0.25) << QStringLiteral("-0.25");
    QTest::addRow("a third of 200, exact")
        << QVariant(200.0 / 3) << QStringLiteral("66.66666666666667");
    QTest::addRow("true") << QVariant(true) << QStringLiteral("True");
    QTest::addRow("false") << QVariant(false) << QStringLiteral("False");
    QTest::addRow("date day first") << QVariant(QDate(2026, 3, 7)) << QStringLiteral("07/03/2026");
    QTest::addRow("four-digit year") << QVariant(QDate(987, 1, 2)) << QStringLiteral("02/01/0987");
    QTest::addRow("time") << QVariant(QTime(9, 5, 3)) << QStringLiteral("09:05:03");
    QTest::addRow("empty field") << QVariant() << QString();
}

void TstExchangeExport::valueTexts() {
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    // Regional settings that differ in every respect must not change a thing.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString text = valueText(value, ExportSettings{});
    QLocale::setDefault(before);
    QCOMPARE(text, expected);
    QCOMPARE(currencyText(1234.5, ExportSettings{}), QStringLiteral("\u00A31,234.50"));
    QCOMPARE(currencyText(-0.004, ExportSettings{}), QStringLiteral("\u00A30.00"));
}

void TstExchangeExport::refusesWhatWindows1252CannotHold() {
    using T = engine::FieldType;
    const MemoryRows rows({{QStringLiteral("NAME"), QStringLiteral("Name")}},
                          {def("NAME", T::Character, 20)}, {{QStringLiteral("Żaneta")}});
    QByteArray out = "untouched";
    const ExportResult csv = exportBytes(TargetFormat::Csv, rows, ExportSettings{}, &out);
    QVERIFY(!csv.ok);
    QVERIFY2(csv.error.contains(QStringLiteral("\"Ż\"")), qPrintable(csv.error));
    QCOMPARE(out, QByteArray("untouched"));
    // The markup formats carry it as a character reference instead.
    const ExportResult html = exportBytes(TargetFormat::Html, rows, ExportSettings{}, &out);
    QVERIFY(html.ok);
    QVERIFY(out.contains("&#379;aneta"));
}

void TstExchangeExport::markupReadsBack_data() {
    QTest::addColumn<int>("format");
    QTest::addRow("html") << int(TargetFormat::Html);
    QTest::addRow("xml") << int(TargetFormat::Xml);
}

void TstExchangeExport::markupReadsBack() {
    QFETCH(int, format);
    ExportSettings s;
    s.fieldNames = true;
    s.tableName = QStringLiteral("U12");
    QByteArray out;
    QVERIFY(exportBytes(TargetFormat(format), dancers(), s, &out).ok);
    const SheetResult back = format == int(TargetFormat::Html)
                                 ? parseHtmlTable(out, QStringLiteral("u12.html"))
                                 : parseXmlTable(out, QStringLiteral("u12.xml"));
    QVERIFY2(back.sheet, qPrintable(back.error));
    const Sheet& sheet = *back.sheet;
    // HTML carries the titles, XML the field names.
    QCOMPARE(sheet.cell(0, 1).toString(),
             format == int(TargetFormat::Html) ? QStringLiteral("Name") : QStringLiteral("NAME"));
    QCOMPARE(sheet.cell(1, 1).toString(), QStringLiteral("Aoife Ní Bhriain"));
    QCOMPARE(sheet.cell(2, 1).toString(), QStringLiteral("Seán, \"Jr\""));
    QCOMPARE(sheet.cell(2, 2).toString(), QStringLiteral("72.5"));
    QCOMPARE(sheet.cell(1, 3).toString(), QStringLiteral("True"));
    // The empty record at the end is left out, as a sheet leaves out empty rows at its end.
    QCOMPARE(sheet.rowCount(), 3);
}

void TstExchangeExport::xlsxReadByOpenpyxl() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u12.xlsx"));
    ExportSettings s;
    s.fieldNames = true;
    s.tableName = QStringLiteral("U12");
    const ExportResult r = exportFile(TargetFormat::Xlsx, dancers(), s, path);
    QVERIFY2(r.ok, qPrintable(r.error));
    QString error;
    const QJsonDocument doc =
        test::ExchangePeer::run({QStringLiteral("read-xlsx"), path}, {}, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonArray expected =
        QJsonDocument::fromJson(QStringLiteral("[[\"No.\",\"Name\",\"Adj A Rd 1\",\"Recalled\"],"
                                               "[101,\"Aoife Ní Bhriain\",0,true],"
                                               "[102,\"Seán, \\\"Jr\\\"\",72.5,false]]")
                                    .toUtf8())
            .array();
    const QJsonArray got = doc.array();
    // openpyxl drops the trailing empty row; the sheet ends at its last cell.
    QCOMPARE(got.size(), expected.size());
    for (int r2 = 0; r2 < expected.size(); ++r2)
        for (int c = 0; c < 4; ++c)
            QCOMPARE(got[r2].toArray()[c].toVariant(), expected[r2].toArray()[c].toVariant());
    QVERIFY(!QFile::exists(path + QStringLiteral(".part")));
}

void TstExchangeExport::odsReadByOurReader() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u12.ods"));
    ExportSettings s;
    s.fieldNames = true;
    QVERIFY(exportFile(TargetFormat::Ods, dancers(), s, path).ok);
    const SheetResult back = readOds(path);
    QVERIFY2(back.sheet, qPrintable(back.error));
    QCOMPARE(back.sheet->cell(0, 2), QVariant(QStringLiteral("Adj A Rd 1")));
    QCOMPARE(back.sheet->cell(1, 0), QVariant(101.0));
    QCOMPARE(back.sheet->cell(1, 2), QVariant(0.0));
    QCOMPARE(back.sheet->cell(2, 1), QVariant(QStringLiteral("Seán, \"Jr\"")));
    QCOMPARE(back.sheet->cell(2, 3), QVariant(false));
}

void TstExchangeExport::dbaseReadByPythonDbf() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.dbf"));
    const ExportResult r = exportFile(TargetFormat::Dbase, dancers(), ExportSettings{}, path);
    QVERIFY2(r.ok, qPrintable(r.error));
    QString error;
    const QJsonObject doc =
        test::ExchangePeer::run({QStringLiteral("read-dbf"), path}, {}, &error).object();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QJsonArray fields = doc[QStringLiteral("fields")].toArray();
    QCOMPARE(fields.size(), 4);
    QCOMPARE(fields[0].toArray().toVariantList(), (QVariantList{"COMP_NO", "N", 6, 0}));
    QCOMPARE(fields[2].toArray().toVariantList(), (QVariantList{"A1", "N", 10, 4}));
    QCOMPARE(fields[3].toArray()[1].toString(), QStringLiteral("L"));
    const QJsonArray rows = doc[QStringLiteral("rows")].toArray();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].toArray()[0].toDouble(), 101.0);
    QCOMPARE(rows[0].toArray()[1].toString(), QStringLiteral("Aoife Ní Bhriain"));
    QCOMPARE(rows[0].toArray()[3].toBool(), true);
    QCOMPARE(rows[1].toArray()[1].toString(), QStringLiteral("Seán, \"Jr\""));
    QCOMPARE(rows[1].toArray()[2].toDouble(), 72.5);
    QVERIFY(rows[2].toArray()[0].isNull());
}

void TstExchangeExport::csvBothWaysWithPython() {
    QTemporaryDir dir;
    // Ours, read by Python's csv module in Windows-1252.
    const QString ours = dir.filePath(QStringLiteral("ours.csv"));
    QVERIFY(exportFile(TargetFormat::Csv, dancers(), ExportSettings{}, ours).ok);
    QString error;
    const QJsonArray read =
        test::ExchangePeer::run({QStringLiteral("read-csv"), ours, QStringLiteral("cp1252")}, {},
                                &error)
            .array();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(read.size(), 3);
    QCOMPARE(read[1].toArray().toVariantList(),
             (QVariantList{"102", QStringLiteral("Seán, \"Jr\""), "72.5", "False"}));

    // Python's, with quotes, commas, line breaks and accents, read by ours in UTF-8.
    const QString theirs = dir.filePath(QStringLiteral("theirs.csv"));
    const QByteArray rows =
        QStringLiteral("[[\"NO\",\"NAME\",\"SCHOOL\"],"
                       "[\"101\",\"Ó Súilleabháin, \\\"Tadhg\\\"\",\"Scoil\\nRince\"],"
                       "[\"1,002\",\"Zoë\",\"\"]]")
            .toUtf8();
    test::ExchangePeer::run({QStringLiteral("write-csv"), theirs, QStringLiteral("utf-8")}, rows,
                            &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QFile f(theirs);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const std::optional<QString> text = decodeText(f.readAll(), QStringLiteral("UTF-8"));
    QVERIFY(text);
    const Sheet sheet = parseDelimited(*text, DelimitedOptions{});
    QCOMPARE(sheet.rowCount(), 3);
    QCOMPARE(sheet.cell(1, 1), QVariant(QStringLiteral("Ó Súilleabháin, \"Tadhg\"")));
    QCOMPARE(sheet.cell(1, 2), QVariant(QStringLiteral("Scoil\nRince")));
    QCOMPARE(sheet.cell(2, 0), QVariant(QStringLiteral("1,002")));
    QCOMPARE(sheet.cell(2, 1), QVariant(QStringLiteral("Zoë")));
    QVERIFY(!sheet.cell(2, 2).isValid());
}

void TstExchangeExport::pdfAndRtf() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("u12.pdf"));
    ExportSettings s;
    s.fieldNames = true;
    QVERIFY(exportFile(TargetFormat::Pdf, dancers(), s, pdf).ok);
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(5) == "%PDF-");
    QVERIFY(f.size() > 1000);

    QByteArray rtf;
    QVERIFY(exportBytes(TargetFormat::Rtf, dancers(), s, &rtf).ok);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    QVERIFY(rtf.contains("Aoife N\\'edBhriain") || rtf.contains("Aoife N\\'ed Bhriain"));
    QVERIFY(rtf.contains("\\b No.\\b0\\cell"));
    QCOMPARE(rtf.count("\\row"), 4);
}

void TstExchangeExport::unwritableTarget_data() {
    QTest::addColumn<int>("format");
    for (const TargetFormat f : targetFormats())
        if (f != TargetFormat::Clipboard)
            QTest::addRow("%s", qPrintable(targetFormatKey(f))) << int(f);
}

void TstExchangeExport::unwritableTarget() {
    QFETCH(int, format);
    QTemporaryDir dir;
    const QString path =
        dir.filePath(QStringLiteral("no-such-folder/out.") + targetSuffix(TargetFormat(format)));
    const ExportResult r = exportFile(TargetFormat(format), dancers(), ExportSettings{}, path);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QStringLiteral("no-such-folder")), qPrintable(r.error));
}

QTEST_MAIN(TstExchangeExport)
#include "tst_exchangeexport.moc"

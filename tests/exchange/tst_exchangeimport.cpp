// Import sources (delimited text, HTML, XML, dBASE, spreadsheets by real peers), format
// detection, the field mapping, the record import into a results table, profiles.
#include "SheetPeer.h"
#include "engine/Table.h"
#include "exchange/DelimitedText.h"
#include "exchange/ExchangeProfiles.h"
#include "exchange/ExportWriters.h"
#include "exchange/ImportSource.h"
#include "exchange/MarkupTables.h"
#include "exchange/ProfileStore.h"
#include "exchange/RecordImport.h"
#include "support/Competition.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace jt;
using namespace jt::exchange;

Q_DECLARE_METATYPE(QList<QVariantList>)

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

Sheet sheetOf(const QList<QVariantList>& rows) {
    Sheet s;
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            s.setCell(r, c, rows[r][c]);
    return s;
}

QList<FieldMap> dancerMapping() {
    return {
        {QStringLiteral("COMP_NO"), 0}, {QStringLiteral("NAME"), 1}, {QStringLiteral("SCHOOL"), 2}};
}

} // namespace

class TstExchangeImport final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void delimited_data();
    void delimited();
    void encodings_data();
    void encodings();
    void htmlTable();
    void xmlTable();
    void detection_data();
    void detection();
    void xlsxFromOpenpyxl();
    void damagedFilesRefused_data();
    void damagedFilesRefused();
    void presets_data();
    void presets();
    void importIntoResults();
    void importStopsAtBadRow_data();
    void importStopsAtBadRow();
    void importCancelled();
    void replaceAll();
    void dbaseRoundTrip();
    void profiles();
};

void TstExchangeImport::delimited_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QList<QVariantList>>("rows");
    const QVariant none;
    QTest::addRow("commas and CRLF")
        << QStringLiteral("NO,NAME\r\n101,Aoife\r\n") << QStringLiteral(",")
        << QList<QVariantList>{{"NO", "NAME"}, {"101", "Aoife"}};
    QTest::addRow("quoted delimiter, doubled quote, line break")
        << QStringLiteral("\"Ó Sé, \"\"Dara\"\"\",\"a\nb\"\n") << QStringLiteral(",")
        << QList<QVariantList>{{QStringLiteral("Ó Sé, \"Dara\""), QStringLiteral("a\nb")}};
    QTest::addRow("empty cells and no final line break")
        << QStringLiteral("1,,3\n,,\n4") << QStringLiteral(",")
        << QList<QVariantList>{{"1", none, "3"}, {}, {"4"}};
    QTest::addRow("semicolons, a quote inside a cell is text")
        << QStringLiteral("a;b\"c;d\r") << QStringLiteral(";")
        << QList<QVariantList>{{"a", "b\"c", "d"}};
    QTest::addRow("tabs") << QStringLiteral("x\ty\n") << QStringLiteral("\t")
                          << QList<QVariantList>{{"x", "y"}};
}

void TstExchangeImport::delimited() {
    QFETCH(QString, text);
    QFETCH(QString, delimiter);
    QFETCH(QList<QVariantList>, rows);
    DelimitedOptions o;
    o.delimiter = delimiter.front();
    QCOMPARE(parseDelimited(text, o).rows, rows);
    QCOMPARE(guessDelimiter(text + u'\n' + text),
             delimiter.front() == u'\t' || delimiter.front() == u';' ? delimiter.front()
                                                                     : QChar(u','));
}

void TstExchangeImport::encodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("expected"); // empty: refused
    QTest::addRow("utf-8") << QByteArray("Se\xC3\xA1n") << QStringLiteral("UTF-8")
                           << QStringLiteral("Seán");
    QTest::addRow("windows-1252") << QByteArray("Se\xE1n \x80") << QStringLiteral("Windows-1252")
                                  << QStringLiteral("Seán €");
    QTest::addRow("bom wins") << QByteArray("\xEF\xBB\xBFSe\xC3\xA1n")
                              << QStringLiteral("Windows-1252") << QStringLiteral("Seán");
    QTest::addRow("not utf-8") << QByteArray("Se\xE1n") << QStringLiteral("UTF-8") << QString();
    QTest::addRow("unknown name") << QByteArray("x") << QStringLiteral("KOI8-R") << QString();
}

void TstExchangeImport::encodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, expected);
    const std::optional<QString> text = decodeText(bytes, encoding);
    QCOMPARE(text.has_value(), !expected.isEmpty());
    if (text)
        QCOMPARE(*text, expected);
}

void TstExchangeImport::htmlTable() {
    const QByteArray page = "<html><head><meta charset=\"utf-8\"></head><body>"
                            "<table><tr><td>outside</td></tr></table>"
                            "<TABLE><tr><th>NO<th>NAME</tr>"
                            "<tr><td>101</td><td><b>Ciara</b> &amp; &#201;ile &lt;x&gt;</td>"
                            "<tr><td>102<td>Z\xC3\xB6"
                            "e<table><tr><td>nested</td></tr></table></td></tr>"
                            "</TABLE></body></html>";
    const SheetResult r = parseHtmlTable(page, QStringLiteral("page.html"));
    QVERIFY2(r.sheet, qPrintable(r.error));
    // The first table is the one read.
    QCOMPARE(r.sheet->rowCount(), 1);
    QCOMPARE(r.sheet->cell(0, 0), QVariant(QStringLiteral("outside")));
    const SheetResult second =
        parseHtmlTable(page.mid(page.indexOf("<TABLE>")), QStringLiteral("p"));
    QVERIFY(second.sheet);
    QCOMPARE(second.sheet->rows, (QList<QVariantList>{{"NO", "NAME"},
                                                      {"101", QStringLiteral("Ciara & Éile <x>")},
                                                      {"102", QStringLiteral("Zöe")}}));
    const SheetResult none = parseHtmlTable("<p>no table</p>", QStringLiteral("/tmp/p.html"));
    QVERIFY(!none.sheet);
    QCOMPARE(none.error, QStringLiteral("/tmp/p.html holds no HTML table"));
    const SheetResult empty =
        parseHtmlTable("<table><tr><td> </td></tr></table>", QStringLiteral("e"));
    QVERIFY(!empty.sheet);
    QCOMPARE(empty.error, QStringLiteral("e holds an empty HTML table"));
}

void TstExchangeImport::xmlTable() {
    const SheetResult r = parseXmlTable("<?xml version=\"1.0\"?><DANCERS>"
                                        "<RECORD><NO>101</NO><NAME>A &amp; B</NAME></RECORD>"
                                        "<RECORD SCHOOL=\"Scoil\"><NAME>C</NAME></RECORD>"
                                        "</DANCERS>",
                                        QStringLiteral("d.xml"));
    QVERIFY2(r.sheet, qPrintable(r.error));
    QCOMPARE(r.sheet->rows,
             (QList<QVariantList>{
                 {"NO", "NAME", "SCHOOL"}, {"101", "A & B"}, {QVariant(), "C", "Scoil"}}));
    const SheetResult bad = parseXmlTable("<A><B><C>1</B></A>", QStringLiteral("bad.xml"));
    QVERIFY(!bad.sheet);
    QVERIFY2(bad.error.startsWith(QStringLiteral("bad.xml is not a readable XML file")) &&
                 bad.error.contains(QStringLiteral("line 1")),
             qPrintable(bad.error));
}

void TstExchangeImport::detection_data() {
    QTest::addColumn<QString>("kind"); // a peer kind, or "bytes:" followed by the content
    QTest::addColumn<int>("format");
    QTest::addRow("xlsx") << QStringLiteral("xlsx") << int(SourceFormat::Xlsx);
    QTest::addRow("xls") << QStringLiteral("xls") << int(SourceFormat::Xls);
    QTest::addRow("ods") << QStringLiteral("ods") << int(SourceFormat::Ods);
    QTest::addRow("csv") << QStringLiteral("bytes:NO,NAME\n1,A\n") << int(SourceFormat::Delimited);
    QTest::addRow("html") << QStringLiteral(
                                 "bytes:<!DOCTYPE html><html><table><tr><td>1</td></tr></table>")
                          << int(SourceFormat::Html);
    QTest::addRow("bare table") << QStringLiteral("bytes:  <table><tr><td>1")
                                << int(SourceFormat::Html);
    QTest::addRow("xml") << QStringLiteral("bytes:<?xml version=\"1.0\"?><A><R><X>1</X></R></A>")
                         << int(SourceFormat::Xml);
    QTest::addRow("dbf") << QStringLiteral("dbf") << int(SourceFormat::Dbase);
}

void TstExchangeImport::detection() {
    QFETCH(QString, kind);
    QFETCH(int, format);
    QTemporaryDir dir;
    // The name says nothing: the contents tell.
    const QString path = dir.filePath(QStringLiteral("file.dat"));
    if (kind.startsWith(QStringLiteral("bytes:"))) {
        writeFile(dir, QStringLiteral("file.dat"), kind.mid(6).toUtf8());
    } else if (kind == u"dbf") {
        const MemoryRows rows({{QStringLiteral("NO"), QStringLiteral("NO")}},
                              {{QStringLiteral("NO"), engine::FieldType::Numeric, 4, 0}}, {{1.0}});
        QVERIFY(exportFile(TargetFormat::Dbase, rows, ExportSettings{}, path).ok);
    } else {
        if (const QString why = test::SheetPeer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QString error = test::SheetPeer::write(kind, path, QList<QVariantList>{{1.0, "a"}});
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    const std::optional<SourceFormat> found = detectSourceFormat(path);
    QVERIFY(found);
    QCOMPARE(int(*found), format);
    SourceOptions o;
    o.format = *found;
    const SheetResult r = readSource(path, o);
    QVERIFY2(r.sheet, qPrintable(r.error));
    QVERIFY(r.sheet->rowCount() >= 1);
}

void TstExchangeImport::xlsxFromOpenpyxl() {
    if (const QString why = test::SheetPeer::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dancers.xlsx"));
    const QList<QVariantList> rows{
        {"NO", "NAME", "SCHOOL"},
        {101.0, QStringLiteral("Órla Ní Dhálaigh"), QStringLiteral("Scoil, Rince")},
        {102.5, true, QVariant()}};
    QVERIFY(test::SheetPeer::write(QStringLiteral("xlsx"), path, rows).isEmpty());
    SourceOptions o;
    o.format = SourceFormat::Xlsx;
    const SheetResult r = readSource(path, o);
    QVERIFY2(r.sheet, qPrintable(r.error));
    for (int row = 0; row < rows.size(); ++row)
        for (int c = 0; c < 3; ++c)
            QCOMPARE(r.sheet->cell(row, c), rows[row][c]);
    QCOMPARE(sourceColumns(*r.sheet, true), (QStringList{"NO", "NAME", "SCHOOL"}));
    QCOMPARE(sourceColumns(*r.sheet, false), (QStringList{"A", "B", "C"}));
}

void TstExchangeImport::damagedFilesRefused_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QTest::addRow("xlsx cut short")
        << int(SourceFormat::Xlsx) << QByteArray("PK\x03\x04garbage", 11)
        << QStringLiteral("bad.file");
    QTest::addRow("xls that is not")
        << int(SourceFormat::Xls) << QByteArray("not a workbook at all")
        << QStringLiteral("bad.file");
    QTest::addRow("dbf header only")
        << int(SourceFormat::Dbase)
        << QByteArray("\x03\x7e\x01\x01\x05\x00\x00\x00\x41\x00\x10\x00", 12)
        << QStringLiteral("cannot be read as a dBASE table");
    QTest::addRow("empty text") << int(SourceFormat::Delimited) << QByteArray()
                                << QStringLiteral("is empty");
    QTest::addRow("xml unclosed") << int(SourceFormat::Xml) << QByteArray("<A><B>")
                                  << QStringLiteral("not a readable XML");
}

void TstExchangeImport::damagedFilesRefused() {
    QFETCH(int, format);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("bad.file"), bytes);
    SourceOptions o;
    o.format = SourceFormat(format);
    const SheetResult r = readSource(path, o);
    QVERIFY(!r.sheet);
    QVERIFY2(r.error.contains(says), qPrintable(r.error));
}

void TstExchangeImport::presets_data() {
    QTest::addColumn<QStringList>("source");
    QTest::addColumn<QList<int>>("columns"); // for COMP_NO, NAME, SCHOOL, SEQUENCE
    QTest::addRow("the dancer presets")
        << QStringList{"SCHOOL", "NAME", "NO"} << QList<int>{2, 1, 0, -1};
    QTest::addRow("case and blanks ignored")
        << QStringList{" no ", "name"} << QList<int>{0, 1, -1, -1};
    QTest::addRow("same-named field")
        << QStringList{"COMP_NO", "sequence"} << QList<int>{0, -1, -1, 1};
    QTest::addRow("letters only") << QStringList{"A", "B", "C"} << QList<int>{-1, -1, -1, -1};
}

void TstExchangeImport::presets() {
    QFETCH(QStringList, source);
    QFETCH(QList<int>, columns);
    const QStringList targets{"COMP_NO", "NAME", "SCHOOL", "SEQUENCE"};
    const QList<FieldMap> m = presetMapping(targets, source, dancerPresets());
    QCOMPARE(m.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(m[i].field, targets[i]);
        QCOMPARE(m[i].column, columns[i]);
    }
}

void TstExchangeImport::importIntoResults() {
    auto c = test::Competition::withDancers(1);
    engine::Table& results = c->results();
    // "." is the decimal point and "," the thousands separator whatever the locale says.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Sheet sheet = sheetOf({{"NO", "NAME", "SCHOOL"},
                                 {"1,201", QStringLiteral("Siún"), "Scoil A"},
                                 {QVariant(), QVariant(), QVariant()},
                                 {305.0, "Bríd", QVariant()}});
    int steps = 0;
    const RecordImportResult r = importRecords(sheet, 1, dancerMapping(), results,
                                               ImportMode::Append, [&](int done, int total) {
                                                   ++steps;
                                                   return done <= total;
                                               });
    QLocale::setDefault(QLocale::c());
    QVERIFY2(r.completed, qPrintable(r.error));
    QCOMPARE(r.stored, 2);
    QCOMPARE(steps, 3);
    QCOMPARE(c->storedCount(), 3);
    QCOMPARE(c->stored(1, QStringLiteral("COMP_NO")), QVariant(1201.0));
    QCOMPARE(c->stored(1, QStringLiteral("NAME")), QVariant(QStringLiteral("Siún")));
    QCOMPARE(c->stored(2, QStringLiteral("COMP_NO")), QVariant(305.0));
    QVERIFY(!c->stored(2, QStringLiteral("SCHOOL")).isValid());
    QVERIFY(!c->stored(2, QStringLiteral("SEQUENCE")).isValid());
}

void TstExchangeImport::importStopsAtBadRow_data() {
    QTest::addColumn<QVariantList>("bad");
    QTest::addColumn<QString>("message");
    QTest::addRow("not a number")
        << QVariantList{"12a", "X", "Y"}
        << QStringLiteral(
               "The import stopped at row 3, field COMP_NO: '12a' is not a valid floating point "
               "value for field 'COMP_NO'\nRows stored before it: 1.");
    QTest::addRow("too wide for the field")
        << QVariantList{"7", QString(41, u'n'), "Y"}
        << QStringLiteral("The import stopped at row 3, field NAME: ");
    QTest::addRow("comma misplaced")
        << QVariantList{"1,23", "X", "Y"}
        << QStringLiteral("The import stopped at row 3, field COMP_NO: '1,23' is not a valid");
}

void TstExchangeImport::importStopsAtBadRow() {
    QFETCH(QVariantList, bad);
    QFETCH(QString, message);
    auto c = test::Competition::withDancers(0);
    const Sheet sheet =
        sheetOf({{"NO", "NAME", "SCHOOL"}, {"1", "First", "S"}, bad, {"3", "Never", "S"}});
    const RecordImportResult r =
        importRecords(sheet, 1, dancerMapping(), c->results(), ImportMode::Append);
    QVERIFY(!r.completed);
    QCOMPARE(r.stored, 1);
    QVERIFY2(r.error.startsWith(message), qPrintable(r.error));
    QVERIFY(r.error.endsWith(QStringLiteral("Rows stored before it: 1.")));
    QCOMPARE(c->storedCount(), 1);
    QCOMPARE(c->stored(0, QStringLiteral("NAME")), QVariant(QStringLiteral("First")));
    QVERIFY(!c->results().editing());
}

void TstExchangeImport::importCancelled() {
    auto c = test::Competition::withDancers(0);
    const Sheet sheet = sheetOf({{"1", "A"}, {"2", "B"}, {"3", "C"}});
    const RecordImportResult r =
        importRecords(sheet, 0, dancerMapping(), c->results(), ImportMode::Append,
                      [](int done, int) { return done < 2; });
    QVERIFY(r.cancelled);
    QVERIFY(!r.completed);
    QCOMPARE(r.stored, 2);
    QCOMPARE(c->storedCount(), 2);
}

void TstExchangeImport::replaceAll() {
    auto c = test::Competition::withDancers(4);
    const RecordImportResult r = importRecords(sheetOf({{"9", "Only"}}), 0, dancerMapping(),
                                               c->results(), ImportMode::Overwrite);
    QVERIFY(r.completed);
    QCOMPARE(c->storedCount(), 1);
    QCOMPARE(c->stored(0, QStringLiteral("COMP_NO")), QVariant(9.0));
}

void TstExchangeImport::dbaseRoundTrip() {
    // A table exported to dBASE comes back through the dBASE source with its heading row.
    auto c = test::Competition::withDancers(3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.dbf"));
    const TableRows rows(c->results(), {{QStringLiteral("COMP_NO"), QStringLiteral("No")},
                                        {QStringLiteral("NAME"), QStringLiteral("Name")}});
    QVERIFY(exportFile(TargetFormat::Dbase, rows, ExportSettings{}, path).ok);
    SourceOptions o;
    o.format = SourceFormat::Dbase;
    const SheetResult r = readSource(path, o);
    QVERIFY2(r.sheet, qPrintable(r.error));
    QCOMPARE(r.sheet->rows.first(), (QVariantList{"COMP_NO", "NAME"}));
    QCOMPARE(r.sheet->rowCount(), 4);
    QCOMPARE(r.sheet->cell(3, 0), QVariant(103.0));
    QCOMPARE(r.sheet->cell(3, 1), QVariant(QStringLiteral("Dancer 3")));
}

void TstExchangeImport::profiles() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const ProfileStore store(QStringLiteral("import"));
    QVERIFY(store.folder().startsWith(config.path()));
    QVERIFY(store.names().isEmpty());

    ImportProfile profile;
    profile.path = QStringLiteral("/data/dancers.csv");
    profile.source.format = SourceFormat::Delimited;
    profile.source.text = {u';', QChar(), QStringLiteral("Windows-1252")};
    profile.headingRow = false;
    profile.mapping = {{QStringLiteral("COMP_NO"), 2}, {QStringLiteral("NAME"), -1}};
    profile.mode = ImportMode::Overwrite;
    QCOMPARE(store.save(QStringLiteral("U12 / Feis"), toJson(profile)), QString());
    QCOMPARE(store.save(QStringLiteral("Another"), toJson(ImportProfile{})), QString());
    QCOMPARE(store.names(), (QStringList{"Another", "U12 / Feis"}));

    QString error;
    const std::optional<QJsonObject> loaded = store.load(QStringLiteral("U12 / Feis"), &error);
    QVERIFY2(loaded, qPrintable(error));
    const std::optional<ImportProfile> back = importProfileFromJson(*loaded, &error);
    QVERIFY(back);
    QCOMPARE(*back, profile);
    // An export profile is not taken for an import one.
    QVERIFY(!importProfileFromJson(toJson(ExportProfile{}), &error));
    QCOMPARE(error, QStringLiteral("This is not an import profile."));

    QCOMPARE(store.remove(QStringLiteral("U12 / Feis")), QString());
    QCOMPARE(store.names(), QStringList{"Another"});
    QVERIFY(!store.load(QStringLiteral("U12 / Feis"), &error));
    QCOMPARE(error, QStringLiteral("There is no profile \"U12 / Feis\"."));
    QCOMPARE(store.remove(QStringLiteral("U12 / Feis")),
             QStringLiteral("There is no profile \"U12 / Feis\"."));

    // A damaged file is refused with the reason.
    QFile f(store.folder() + QStringLiteral("/Another.json"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("{\"kind\": ");
    f.close();
    QVERIFY(!store.load(QStringLiteral("Another"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("The profile \"Another\" is damaged")),
             qPrintable(error));

    ExportProfile e{TargetFormat::Xlsx, QStringLiteral("/tmp/U12.xlsx"), true, u','};
    const ProfileStore exports(QStringLiteral("export"));
    QCOMPARE(exports.save(QStringLiteral("x"), toJson(e)), QString());
    QCOMPARE(exportProfileFromJson(*exports.load(QStringLiteral("x")), &error), std::optional(e));
    qunsetenv("XDG_CONFIG_HOME");
}

QTEST_MAIN(TstExchangeImport)
#include "tst_exchangeimport.moc"

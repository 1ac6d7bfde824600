#include "ReportFixture.h"
#include "ReportReading.h"
#include "preview/Printing.h"
#include "reports/ReportCommands.h"
#include "reports/ReportTexts.h"
#include "support/ScriptedDialogs.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace jt;
using render::Align;
using render::BandKind;

namespace {

void setInfo(test::ReportFixture& f, const QVariantMap& values) {
    engine::Table& info = f.info();
    info.first();
    info.edit();
    for (auto it = values.begin(); it != values.end(); ++it)
        info.fieldByName(it.key())->setValue(it.value());
    info.post();
}

const QVariantMap kJudges{{QStringLiteral("COMPNAME"), QStringLiteral("U12 Girls Championship")},
                          {QStringLiteral("ADJANAME"), QStringLiteral("Mary Walsh")},
                          {QStringLiteral("ADJBNAME"), QStringLiteral("Seán Ó Sé")},
                          {QStringLiteral("ADJCNAME"), QStringLiteral("Cáit Ní Bhriain")},
                          {QStringLiteral("ADJDNAME"), QStringLiteral("Declan Burke")},
                          {QStringLiteral("ADJENAME"), QStringLiteral("Eve Nolan")}};

// The results table as the checksheets must leave it.
void verifyRestored(test::ReportFixture& f) {
    QVERIFY(!f.results().active());
    QVERIFY(!f.results().exclusive());
    QVERIFY(f.results().indexName().isEmpty());
}

// What the first detail band's cells print, column by column (an empty cell as ""):
// each text goes to the column whose box it was placed in.
QStringList rowCells(const render::Document& doc, int row) {
    const reports::TAdjRecCheck& sheet = *reports::AdjRecCheck;
    std::vector<double> lefts{sheet.item(QStringLiteral("CompNo"))->box.left()};
    for (const render::Item* mark : sheet.Marks)
        lefts.push_back(mark->box.left());
    int seen = 0;
    for (const render::Page& page : doc.pages)
        for (const render::PlacedBand& band : page.bands) {
            if (band.kind != BandKind::Detail || seen++ != row)
                continue;
            QStringList cells(int(lefts.size()));
            for (const render::PlacedText& t : page.texts) {
                if (!band.box.contains(t.box.center()))
                    continue;
                for (std::size_t c = 0; c < lefts.size(); ++c)
                    if (qAbs(t.box.left() - band.box.left() - lefts[c]) < 0.01)
                        cells[int(c)] = t.text;
            }
            return cells;
        }
    return {};
}

QString pdfPageText(const QString& pdf, int page) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestChecksheets final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sheetPerAdjudicator_data();
    void sheetPerAdjudicator();
    void printedCells_data();
    void printedCells();
    void rowsInDancingOrder();
    void layout();
    void recalcGateStops();
    void failureLeavesTableClosed();
    void noPrinterOnePdf();
};

void TestChecksheets::sheetPerAdjudicator_data() {
    QTest::addColumn<QString>("numAdjs");
    QTest::addColumn<QString>("letters");
    QTest::newRow("three") << QStringLiteral("3") << QStringLiteral("ABC");
    QTest::newRow("five") << QStringLiteral("5") << QStringLiteral("ABCDE");
    QTest::newRow("blank") << QString() << QStringLiteral("ABC");
    QTest::newRow("four") << QStringLiteral("4") << QStringLiteral("ABC");
}

void TestChecksheets::sheetPerAdjudicator() {
    QFETCH(QString, numAdjs);
    QFETCH(QString, letters);
    test::ReportFixture f;
    QVariantMap info = kJudges;
    info.insert(QStringLiteral("NUMADJS"), numAdjs);
    setInfo(f, info);
    f.addNumberedDancers(3);
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    reports::RecallChecklists1Click(f.state);

    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(dialogs.previews().isEmpty()); // never previewed
    QCOMPARE(dialogs.printed().size(), letters.size());
    const QStringList names{QStringLiteral("Mary Walsh"), QStringLiteral("Seán Ó Sé"),
                            QStringLiteral("Cáit Ní Bhriain"), QStringLiteral("Declan Burke"),
                            QStringLiteral("Eve Nolan")};
    for (int i = 0; i < letters.size(); ++i) {
        const auto& job = dialogs.printed()[i];
        QCOMPARE(job.mode, platform::PrintMode::Direct);
        QCOMPARE(job.document.pageCount(), 1);
        const render::Page& page = job.document.pages[0];
        const QStringList title = test::firstBandTexts(page, BandKind::Title);
        QVERIFY2(title.contains(QStringLiteral("Adj. %1:").arg(letters[i])),
                 qPrintable(title.join(QLatin1Char('|'))));
        QVERIFY2(title.contains(names[i]), qPrintable(title.join(QLatin1Char('|'))));
        // No other adjudicator's caption or name on this sheet.
        for (int j = 0; j < names.size(); ++j)
            if (j != i)
                QVERIFY(!title.contains(names[j]));
        QVERIFY(title.contains(QStringLiteral("U12 Girls Championship")));
        QCOMPARE(test::detailRows(job.document).size(), 3); // every dancer on every sheet
    }
    verifyRestored(f);
    QVERIFY(!f.state.ReCalcFlag);
    // Nothing written.
    QCOMPARE(test::storedColumn(QStringLiteral("jigtally 2008"), QStringLiteral("u12.dbf"),
                                QStringLiteral("POSITION")),
             QVariantList(3, QVariant()));
}

void TestChecksheets::printedCells_data() {
    QTest::addColumn<QVariantMap>("dancer");
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<QStringList>(
        "cells"); // Dancer, Rd 1 to 3, Subtotal, Grid, Recall, Total, Grid

    const auto marks = [](QChar x, const QVariantList& values) {
        const QStringList fields{QStringLiteral("1"),     QStringLiteral("2"),
                                 QStringLiteral("3"),     QStringLiteral("SUBTOTAL"),
                                 QStringLiteral("GRID1"), QStringLiteral("SET"),
                                 QStringLiteral("TOTAL"), QStringLiteral("GRID2")};
        QVariantMap d{{QStringLiteral("COMP_NO"), 17.0}, {QStringLiteral("SEQUENCE"), 1.0}};
        for (int i = 0; i < fields.size(); ++i)
            if (values[i].isValid())
                d.insert(x + fields[i], values[i]);
        return d;
    };
    const QVariant none;
    QTest::newRow("A: round marks 0 and .5, a third round of 0")
        << marks('A', {0.0, 0.5, 0.0, 0.5, 100.0, 70.25, 70.75, 100.0}) << QChar('A')
        << QStringList{"17", "", ".5", "0", ".5", "100", "70.25", "70.75", "100"};
    QTest::newRow("A: subtotal 0 is an empty cell")
        << marks('A', {0.0, 0.0, none, 0.0, 1.0, none, 0.0, 0.0}) << QChar('A')
        << QStringList{"17", "", "", "", "", "1", "", "0", "0"};
    QTest::newRow("B: subtotal 0 prints 0")
        << marks('B', {0.0, 0.0, none, 0.0, 1.0, none, 0.0, 0.0}) << QChar('B')
        << QStringList{"17", "", "", "", "0", "1", "", "0", "0"};
    QTest::newRow("C: three rounds, two decimals")
        << marks('C', {62.5, 71.25, 80.0, 213.75, 65.0, 77.5, 291.25, 75.0}) << QChar('C')
        << QStringList{"17", "62.5", "71.25", "80", "213.75", "65", "77.5", "291.25", "75"};
    QTest::newRow("E: rounded to two decimals, whole numbers without a point")
        << marks('E', {70.004, 69.996, none, 140.0, 37.333333, none, 140.0, 36.5}) << QChar('E')
        << QStringList{"17", "70", "70", "", "140", "37.33", "", "140", "36.5"};
    QTest::newRow("D: not recalled, totals stored as 0")
        << marks('D', {55.0, 60.0, none, 115.0, 3.0, none, 0.0, 0.0}) << QChar('D')
        << QStringList{"17", "55", "60", "", "115", "3", "", "0", "0"};
    QTest::newRow("B: not recalled, nothing stored after the recall")
        << marks('B', {55.0, 60.0, none, 115.0, 3.0, none, none, none}) << QChar('B')
        << QStringList{"17", "55", "60", "", "115", "3", "", "", ""};
}

void TestChecksheets::printedCells() {
    QFETCH(QVariantMap, dancer);
    QFETCH(QChar, letter);
    QFETCH(QStringList, cells);
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("NUMADJS"), QStringLiteral("5")}});
    f.addDancers({dancer});
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    reports::RecallChecklists1Click(f.state);
    QCOMPARE(dialogs.printed().size(), 5);
    const render::Document& sheet = dialogs.printed()[letter.unicode() - 'A'].document;
    QCOMPARE(rowCells(sheet, 0), cells);
    // The other sheets show the dancer's number and nothing of this adjudicator's.
    const int other = letter == QLatin1Char('A') ? 1 : 0;
    QCOMPARE(rowCells(dialogs.printed()[other].document, 0).first(), QStringLiteral("17"));
}

void TestChecksheets::rowsInDancingOrder() {
    test::ReportFixture f;
    setInfo(f, {{QStringLiteral("NUMADJS"), QStringLiteral("3")}});
    // Entered 30, 10, 20, 40; danced 20, 10, 30, 40; numbered 10, 20, 30, 40.
    const auto dancer = [](double no, double seq, double a1) {
        return QVariantMap{{QStringLiteral("COMP_NO"), no},
                           {QStringLiteral("SEQUENCE"), seq},
                           {QStringLiteral("A1"), a1}};
    };
    f.addDancers({dancer(30, 3, 71), dancer(10, 2, 90), dancer(20, 1, 64), dancer(40, 4, 88)});
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    reports::RecallChecklists1Click(f.state);
    QCOMPARE(dialogs.printed().size(), 3);
    for (const auto& job : dialogs.printed()) {
        QStringList numbers;
        for (const QStringList& row : test::detailRows(job.document))
            numbers << row.first();
        QCOMPARE(numbers, (QStringList{"20", "10", "30", "40"}));
    }
    // The marks travel with their dancer.
    QCOMPARE(rowCells(dialogs.printed()[0].document, 1).mid(0, 2), (QStringList{"10", "90"}));
    verifyRestored(f);
}

void TestChecksheets::layout() {
    test::ReportFixture f;
    QVariantMap info = kJudges;
    info.insert(QStringLiteral("NUMROUNDS"), QStringLiteral("3")); // two rounds and the set
    setInfo(f, info);
    f.addNumberedDancers(1);
    f.state.ReCalcFlag = false;
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026"); // not shown on this sheet
    test::ScriptedDialogs dialogs;
    reports::RecallChecklists1Click(f.state);
    const render::Page& page = dialogs.printed()[0].document.pages[0];

    // Column headings, "Rd 3" too for a two-round competition; the numbers below all
    // right-aligned in 8 pt.
    QCOMPARE(test::firstBandTexts(page, BandKind::ColumnHeader),
             (QStringList{"Dancer", "Rd 1", "Rd 2", "Rd 3", "Subtotal", "Grid", "Recall", "Total",
                          "Grid"}));
    for (const render::PlacedText& t : page.texts) {
        if (!test::textInBand(page, BandKind::ColumnHeader, t.text))
            continue;
        const bool right = t.text == QLatin1String("Dancer") || t.text == QLatin1String("Rd 1");
        QCOMPARE(t.pointSize, 8.0);
        QCOMPARE(t.align, right ? Align::Right : Align::Left);
    }
    QCOMPARE(page.findText(QStringLiteral("101"))->align, Align::Right);
    QCOMPARE(page.findText(QStringLiteral("101"))->pointSize, 8.0);
    for (const render::Item* mark : reports::AdjRecCheck->Marks) {
        QCOMPARE(mark->align, Align::Right);
        QCOMPARE(mark->fontSize, 8.0);
    }
    // Neighbouring columns do not overlap.
    const reports::TAdjRecCheck& sheet = *reports::AdjRecCheck;
    double previousRight = sheet.item(QStringLiteral("CompNo"))->box.right();
    for (const render::Item* mark : sheet.Marks) {
        QVERIFY(mark->box.left() > previousRight);
        previousRight = mark->box.right();
    }
    QVERIFY(previousRight <= 190);

    // Title band: the fixed banner, the report's name, the competition at the left and
    // the adjudicator in the right half, 10 pt.
    const QStringList title = test::firstBandTexts(page, BandKind::Title);
    QVERIFY(title.contains(reports::kFixedBanner));
    QVERIFY(!title.contains(QStringLiteral("Feis Example 2026")));
    QCOMPARE(page.findText(QStringLiteral("ADJ. CHECKSHEET"))->pointSize, 14.0);
    const render::PlacedText* comp = page.findText(QStringLiteral("U12 Girls Championship"));
    const render::PlacedText* caption = page.findText(QStringLiteral("Adj. A:"));
    const render::PlacedText* name = page.findText(QStringLiteral("Mary Walsh"));
    QVERIFY(comp && caption && name);
    QVERIFY(comp->box.left() < 30);
    QVERIFY(caption->box.left() >= 105 && caption->box.right() <= name->box.left());
    QCOMPARE(caption->box.top(), comp->box.top());
    QCOMPARE(name->box.top(), comp->box.top());
    QCOMPARE(caption->pointSize, 10.0);
    QCOMPARE(name->pointSize, 10.0);

    // Footer: web address, page number, "Signed: " and about 12 cm to sign in.
    const QStringList footer = test::firstBandTexts(page, BandKind::PageFooter);
    QCOMPARE(footer, (QStringList{reports::kWebAddress, "Page 1", "Signed: "}));
    QVERIFY(!footer.contains(QStringLiteral("Feis Example 2026")));
    const render::PlacedText* sign = page.findText(QStringLiteral("Signed: "));
    QCOMPARE(sign->pointSize, 8.0);
    const double pageRight = page.size.width() - 10;
    QVERIFY2(pageRight - sign->box.right() >= 110, qPrintable(QString::number(sign->box.right())));
}

void TestChecksheets::recalcGateStops() {
    test::ReportFixture f;
    f.addNumberedDancers(2);
    f.state.ReCalcFlag = true;
    test::ScriptedDialogs dialogs;
    reports::RecallChecklists1Click(f.state);
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Please RECALC")});
    QCOMPARE(dialogs.messages()[0].type, platform::MessageType::Information);
    QVERIFY(dialogs.printed().isEmpty());
    QVERIFY(f.state.ReCalcFlag);
    verifyRestored(f);
}

void TestChecksheets::failureLeavesTableClosed() {
    // Without the permanent order index the run cannot put the dancers in dancing order:
    // the store's error goes up, and the table is left closed without a current index.
    test::ReportFixture f;
    f.addNumberedDancers(2);
    f.results().deleteIndex(QStringLiteral("seqno"));
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    QVERIFY_THROWS_EXCEPTION(std::exception, reports::RecallChecklists1Click(f.state));
    QVERIFY(dialogs.printed().isEmpty());
    verifyRestored(f);
}

void TestChecksheets::noPrinterOnePdf() {
    if (preview::printerInstalled())
        QSKIP("a printer is installed on this machine");
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    test::ReportFixture f;
    QVariantMap info = kJudges;
    info.insert(QStringLiteral("NUMADJS"), QStringLiteral("3"));
    setInfo(f, info);
    f.addNumberedDancers(60); // two pages a sheet
    f.state.ReCalcFlag = false;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheets.pdf"));
    test::ScriptedDialogs dialogs;
    dialogs.printEachThrough(
        [](const std::vector<render::Document>& documents, platform::PrintMode mode) {
            return preview::printDocuments(documents, mode, nullptr);
        });
    dialogs.answerMessage(platform::Yes);
    dialogs.answerSaveFile(pdf);
    reports::RecallChecklists1Click(f.state);

    // One question and one file for all the sheets.
    QCOMPARE(dialogs.messageTexts(), QStringList{preview::kNoPrinterText});
    QCOMPARE(dialogs.saveDialogs().size(), 1);
    QVERIFY(dialogs.allAnswered());
    const QStringList names{QStringLiteral("Mary Walsh"), QStringLiteral("Seán Ó Sé"),
                            QStringLiteral("Cáit Ní Bhriain")};
    // Each sheet starts on a page of its own: pages 1, 3 and 5.
    for (int sheet = 0; sheet < 3; ++sheet) {
        const QString first = pdfPageText(pdf, 2 * sheet + 1);
        const QString second = pdfPageText(pdf, 2 * sheet + 2);
        const QString caption = QStringLiteral("Adj. %1:").arg(QChar(u'A' + sheet));
        QVERIFY2(first.contains(caption) && first.contains(names[sheet]), qPrintable(first));
        QVERIFY(first.contains(QStringLiteral("ADJ. CHECKSHEET")));
        QVERIFY(first.contains(QStringLiteral("Page 1")));
        QVERIFY(!second.contains(caption)); // the title band only on a sheet's first page
        QVERIFY2(second.contains(QStringLiteral("Page 2")) &&
                     second.contains(QStringLiteral("160")),
                 qPrintable(second));
        QVERIFY(second.contains(QStringLiteral("Signed:")));
    }
    QVERIFY(pdfPageText(pdf, 7).trimmed().isEmpty()); // six pages, no more
    verifyRestored(f);
}

QTEST_MAIN(TestChecksheets)
#include "tst_checksheets.moc"

#include "ReportFixture.h"
#include "ReportRows.h"
#include "reports/LaunchChoices.h"
#include "reports/ReportCommands.h"
#include "reports/SoloRanking.h"
#include "reports/WorkingIndex.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace jt;
using render::Align;
using render::BandKind;

namespace {

void setInfo(test::ReportFixture& f, const QString& numAdjs, const QString& numRounds) {
    engine::Table& info = f.info();
    info.first();
    info.edit();
    info.fieldByName(QStringLiteral("NUMADJS"))->setAsString(numAdjs);
    info.fieldByName(QStringLiteral("NUMROUNDS"))->setAsString(numRounds);
    const QString letters = QStringLiteral("ABCDE");
    for (const QChar x : letters)
        info.fieldByName(QStringLiteral("ADJ%1NAME").arg(x))
            ->setAsString(QStringLiteral("Judge %1").arg(x));
    for (int r = 1; r <= 4; ++r)
        info.fieldByName(QStringLiteral("RD%1TITLE").arg(r))
            ->setAsString(r == 4 ? QStringLiteral("Set Dance") : QStringLiteral("Round %1").arg(r));
    info.post();
}

// Runs the command; while the dialog shows, the user selects these positions (-1: leaves
// the preselection).
void runSolo(test::ReportFixture& f, int adjudicator = -1, int round = -1,
             reports::SoloLists* shown = nullptr) {
    test::ScriptedReportDialogs reportDialogs;
    reportDialogs.answerLaunch(true);
    reportDialogs.whileShowing = [&] {
        reports::SoloLists& lists = reports::launchChoices().solo;
        if (shown)
            *shown = lists;
        if (adjudicator >= 0)
            lists.adjudicator = adjudicator;
        if (round >= 0)
            lists.round = round;
    };
    reports::SoloWinners1Click(f.state);
    QVERIFY(reportDialogs.allAnswered());
}

QVariantList texts(const QStringList& values) {
    QVariantList out;
    for (const QString& v : values)
        out << (v.isEmpty() ? QVariant() : QVariant(v));
    return out;
}

} // namespace

class TestSoloResult final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { reports::launchChoices() = {}; }
    void cleanup() { reports::launchChoices() = {}; }
    void ranking_data();
    void ranking();
    void markField_data();
    void markField();
    void preselection_data();
    void preselection();
    void previewed();
};

void TestSoloResult::ranking_data() {
    QTest::addColumn<QList<double>>("marks"); // in entry order; NaN: no mark
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QStringList>("ties");
    const double none = qQNaN();
    QTest::newRow("worked case")
        << QList<double>{85, 80, 80, 80, 75} << QList<int>{1, 2, 2, 2, 5}
        << QStringList{{}, QStringLiteral("T"), QStringLiteral("="), QStringLiteral("="), {}};
    QTest::newRow("worked case shuffled")
        << QList<double>{80, 75, 85, 80, 80} << QList<int>{2, 5, 1, 2, 2}
        << QStringList{QStringLiteral("T"), {}, {}, QStringLiteral("="), QStringLiteral("=")};
    QTest::newRow("sports ranking")
        << QList<double>{85, 80, 80, 75} << QList<int>{1, 2, 2, 4}
        << QStringList{{}, QStringLiteral("T"), QStringLiteral("="), {}};
    QTest::newRow("equal at four decimals")
        << QList<double>{80.00001, 80.00002, 70} << QList<int>{1, 1, 3}
        << QStringList{QStringLiteral("T"), QStringLiteral("="), {}};
    QTest::newRow("differ by a hundredth")
        << QList<double>{80.00, 80.01} << QList<int>{2, 1} << QStringList{{}, {}};
    QTest::newRow("no marks share the last place")
        << QList<double>{none, 90, none, 70} << QList<int>{3, 1, 3, 2}
        << QStringList{QStringLiteral("T"), {}, QStringLiteral("="), {}};
    QTest::newRow("one dancer without a mark")
        << QList<double>{60, none} << QList<int>{1, 2} << QStringList{{}, {}};
}

void TestSoloResult::ranking() {
    QFETCH(QList<double>, marks);
    QFETCH(QList<int>, positions);
    QFETCH(QStringList, ties);
    test::ReportFixture f;
    setInfo(f, QStringLiteral("3"), QStringLiteral("3"));
    QList<QVariantMap> dancers;
    for (int i = 0; i < marks.size(); ++i) {
        QVariantMap d{{QStringLiteral("COMP_NO"), double(i + 1)},
                      // What an earlier run left: the new run clears it.
                      {QStringLiteral("SOLOCHAR"), QStringLiteral("=")},
                      {QStringLiteral("SOLOPOSN"), 99.0}};
        if (!qIsNaN(marks[i]))
            d.insert(QStringLiteral("B2"), marks[i]);
        dancers << d;
    }
    f.addDancers(dancers);
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    runSolo(f, 1, 1); // Judge B, round 2

    QVERIFY(dialogs.messages().isEmpty());
    QVariantList expectedPositions;
    for (int p : positions)
        expectedPositions << double(p);
    QCOMPARE(test::storedColumn(f.results(), QStringLiteral("SOLOPOSN")), expectedPositions);
    QCOMPARE(test::storedColumn(f.results(), QStringLiteral("SOLOCHAR")), texts(ties));
    // The printed rows follow the ranking, the place and the tie mark in front.
    const QList<QStringList> rows = test::detailRows(dialogs.previews()[0]);
    QCOMPARE(rows.size(), marks.size());
    int previous = 0;
    for (const QStringList& row : rows) {
        QVERIFY(row[0].toInt() >= previous);
        previous = row[0].toInt();
    }
    QVERIFY(!f.state.ReCalcFlag);
}

void TestSoloResult::markField_data() {
    QTest::addColumn<int>("adjudicator");
    QTest::addColumn<int>("round");
    QTest::addColumn<QString>("numRounds");
    QTest::addColumn<QString>("field");
    QTest::newRow("C round 2 of three") << 2 << 1 << QStringLiteral("4") << QStringLiteral("C2");
    QTest::newRow("A round 1") << 0 << 0 << QStringLiteral("3") << QStringLiteral("A1");
    QTest::newRow("round 3 of three") << 1 << 2 << QStringLiteral("4") << QStringLiteral("B3");
    QTest::newRow("set of three rounds") << 2 << 3 << QStringLiteral("4") << QStringLiteral("CSet");
    QTest::newRow("set of two rounds") << 2 << 2 << QStringLiteral("3") << QStringLiteral("CSet");
    QTest::newRow("D") << 3 << 0 << QStringLiteral("3") << QStringLiteral("D1");
    QTest::newRow("E") << 4 << 1 << QStringLiteral("3") << QStringLiteral("E2");
}

void TestSoloResult::markField() {
    QFETCH(int, adjudicator);
    QFETCH(int, round);
    QFETCH(QString, numRounds);
    QFETCH(QString, field);
    QCOMPARE(reports::soloMarkField(adjudicator, round, numRounds), field);
}

void TestSoloResult::preselection_data() {
    QTest::addColumn<QString>("numAdjs");
    QTest::addColumn<QString>("numRounds");
    QTest::addColumn<int>("rememberedAdj");
    QTest::addColumn<int>("rememberedRound");
    QTest::addColumn<int>("adjudicator");
    QTest::addColumn<int>("round");
    QTest::addColumn<QStringList>("rounds");
    const QStringList two{QStringLiteral("Round 1"), QStringLiteral("Round 2"),
                          QStringLiteral("Set Dance")};
    const QStringList three{QStringLiteral("Round 1"), QStringLiteral("Round 2"),
                            QStringLiteral("Round 3"), QStringLiteral("Set Dance")};
    QTest::newRow("start") << "3"
                           << "3" << 0 << 0 << 0 << 0 << two;
    QTest::newRow("E then three adjudicators") << "3"
                                               << "4" << 4 << 1 << 2 << 1 << three;
    QTest::newRow("D then three adjudicators") << "3"
                                               << "4" << 3 << 0 << 2 << 0 << three;
    QTest::newRow("E with five") << "5"
                                 << "4" << 4 << 3 << 4 << 3 << three;
    QTest::newRow("set of three then two rounds") << "5"
                                                  << "3" << 1 << 3 << 1 << 2 << two;
    QTest::newRow("set of two rounds") << "5"
                                       << "3" << 1 << 2 << 1 << 2 << two;
    QTest::newRow("set of three rounds") << "5"
                                         << "4" << 1 << 3 << 1 << 3 << three;
}

void TestSoloResult::preselection() {
    QFETCH(QString, numAdjs);
    QFETCH(QString, numRounds);
    QFETCH(int, rememberedAdj);
    QFETCH(int, rememberedRound);
    QFETCH(int, adjudicator);
    QFETCH(int, round);
    QFETCH(QStringList, rounds);
    test::ReportFixture f;
    setInfo(f, numAdjs, numRounds);
    f.addNumberedDancers(2);
    f.state.ReCalcFlag = false;
    reports::launchChoices().soloAdjudicator = rememberedAdj;
    reports::launchChoices().soloRound = rememberedRound;
    test::ScriptedDialogs dialogs;
    reports::SoloLists shown;
    runSolo(f, -1, -1, &shown);
    QCOMPARE(shown.adjudicator, adjudicator);
    QCOMPARE(shown.round, round);
    QCOMPARE(shown.rounds, rounds);
    QCOMPARE(shown.adjudicators.size(), numAdjs == QLatin1String("5") ? 5 : 3);
    QCOMPARE(shown.adjudicators.first(), QStringLiteral("Judge A"));
    // "Preview" remembers what it ran.
    QCOMPARE(reports::launchChoices().soloAdjudicator, adjudicator);
    QCOMPARE(reports::launchChoices().soloRound, round);
}

void TestSoloResult::previewed() {
    test::ReportFixture f;
    setInfo(f, QStringLiteral("5"), QStringLiteral("4"));
    f.addDancers({{{QStringLiteral("COMP_NO"), 31.0},
                   {QStringLiteral("NAME"), QStringLiteral("Cian Walsh")},
                   {QStringLiteral("SCHOOL"), QStringLiteral("Rince Nua")},
                   {QStringLiteral("DSET"), 72.5}},
                  {{QStringLiteral("COMP_NO"), 7.0},
                   {QStringLiteral("NAME"), QStringLiteral("Aoife Byrne")},
                   {QStringLiteral("DSET"), 88.0}},
                  {{QStringLiteral("COMP_NO"), 12.0},
                   {QStringLiteral("NAME"), QStringLiteral("Not Recalled")}}});
    f.state.ReCalcFlag = false;
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026");
    test::ScriptedDialogs dialogs;
    bool soleUseWhilePreviewing = false;
    dialogs.whilePreviewing([&](const render::Document&) {
        soleUseWhilePreviewing =
            f.results().exclusive() && f.results().indexName() == QStringLiteral("solo");
    });
    runSolo(f, 3, 3); // Judge D, the set dance
    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(soleUseWhilePreviewing);
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(
        test::detailRows(doc),
        (QList<QStringList>{{QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("88.00"),
                             QStringLiteral("Aoife Byrne")},
                            {QStringLiteral("2"), QStringLiteral("31"), QStringLiteral("72.50"),
                             QStringLiteral("Cian Walsh"), QStringLiteral("Rince Nua")},
                            {QStringLiteral("3"), QStringLiteral("12"), QStringLiteral("0.00"),
                             QStringLiteral("Not Recalled")}}));
    const render::Page& page = doc.pages[0];
    QCOMPARE(
        test::bandTexts(page, BandKind::ColumnHeader),
        (QStringList{QStringLiteral("Posn"), QStringLiteral("Tie"), QStringLiteral("Dancer"),
                     QStringLiteral("Marks"), QStringLiteral("Name"), QStringLiteral("School")}));
    QCOMPARE(page.findText(QStringLiteral("Posn"))->pointSize, 10.0);
    QCOMPARE(page.findText(QStringLiteral("Tie"))->pointSize, 10.0);
    QCOMPARE(page.findText(QStringLiteral("Marks"))->pointSize, 8.0);
    QCOMPARE(page.findText(QStringLiteral("Marks"))->align, Align::Right);
    QCOMPARE(page.findText(QStringLiteral("88.00"))->pointSize, 10.0);
    QCOMPARE(page.findText(QStringLiteral("88.00"))->box.right(),
             page.findText(QStringLiteral("Marks"))->box.right());
    // Title: the fixed banner, the competition, "Judge D / Set Dance" in the right half.
    QVERIFY(page.findText(QStringLiteral("Jigtally Software Scoring System")));
    QVERIFY(!page.findText(QStringLiteral("Feis Example 2026"))); // not on this sheet
    QVERIFY(page.findText(QStringLiteral("SOLO RESULT")));
    QCOMPARE(page.findText(QStringLiteral("U12"))->pointSize, 10.0);
    const render::PlacedText* judge = page.findText(QStringLiteral("Judge D"));
    const render::PlacedText* slash = page.findText(QStringLiteral("/"));
    const render::PlacedText* round = page.findText(QStringLiteral("Set Dance"));
    QVERIFY(judge && slash && round);
    QCOMPARE(judge->align, Align::Right);
    QVERIFY(judge->box.left() >= 105 && judge->box.right() <= slash->box.left());
    QVERIFY(round->box.left() > slash->box.left());
    QCOMPARE(test::bandTexts(page, BandKind::PageFooter).size(), 2); // web address, page
    // Stored, and the table given back.
    QCOMPARE(test::storedColumn(f.results(), QStringLiteral("SOLOPOSN")),
             (QVariantList{2.0, 1.0, 3.0}));
    QVERIFY(!f.results().active() && !f.results().exclusive());
    QVERIFY(!test::hasStoredIndex(f.results(), QStringLiteral("solo")));
    QCOMPARE(reports::launchChoices().soloAdjudicator, 3);
    QCOMPARE(reports::launchChoices().soloRound, 3);
}

QTEST_MAIN(TestSoloResult)
#include "tst_soloresult.moc"

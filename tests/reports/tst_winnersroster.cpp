#include "ReportFixture.h"
#include "ReportRows.h"
#include "reports/LaunchChoices.h"
#include "reports/ReportCommands.h"
#include "reports/ReportTexts.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace jt;
using render::Align;
using render::BandKind;

namespace {

void runRoster(test::ReportFixture& f) {
    test::ScriptedReportDialogs reportDialogs;
    reportDialogs.answerLaunch(true);
    reports::WinnersList1Click(f.state);
    QVERIFY(reportDialogs.allAnswered());
}

QVariantMap dancer(double no, const QString& name, double gridTotal, const QString& finalChar,
                   double recallTotal) {
    return {{QStringLiteral("COMP_NO"), no},
            {QStringLiteral("NAME"), name},
            {QStringLiteral("SCHOOL"), QStringLiteral("Rince Nua")},
            {QStringLiteral("GRIDTOTAL"), gridTotal},
            {QStringLiteral("FINALCHAR"), finalChar},
            {QStringLiteral("RECALLTTL"), recallTotal}};
}

void verifyRestored(test::ReportFixture& f, const QString& index) {
    engine::Table& t = f.results();
    QVERIFY(!t.active());
    QVERIFY(!t.exclusive());
    QVERIFY(!t.filtered());
    QVERIFY(t.filter().isEmpty());
    QVERIFY(!test::hasStoredIndex(t, index));
}

QVariantList numbers(const QList<int>& values) {
    QVariantList out;
    for (int v : values)
        out << double(v);
    return out;
}

} // namespace

class TestWinnersRoster final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { reports::launchChoices() = {}; }
    void cleanup() { reports::launchChoices() = {}; }
    void recallChampionship();
    void withoutRecall();
    void footerOnAllButTheLastPage_data();
    void footerOnAllButTheLastPage();
};

void TestWinnersRoster::recallChampionship() {
    test::ReportFixture f;
    // Entry order differs from the ranking; two have no grid total.
    f.addDancers({dancer(21, QStringLiteral("Ciara Ryan"), 380, QStringLiteral("T"), 290),
                  dancer(5, QStringLiteral("Aoife Byrne"), 0, QString(), 100),
                  dancer(14, QStringLiteral("Niamh Kelly"), 400, QString(), 300),
                  dancer(9, QStringLiteral("Orla Hayes"), 380, QStringLiteral("="), 280),
                  dancer(2, QStringLiteral("Róisín Daly"), 0, QString(), 90)});
    f.state.ReCalcFlag = false;
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026");
    test::ScriptedDialogs dialogs;
    runRoster(f);

    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(dialogs.previews().size(), 1);
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.pageCount(), 1);
    const QString school = QStringLiteral("Rince Nua");
    QCOMPARE(
        test::detailRows(doc),
        (QList<QStringList>{{QStringLiteral("1"), QStringLiteral("14"),
                             QStringLiteral("Niamh Kelly"), school, QStringLiteral("400.00")},
                            {QStringLiteral("2"), QStringLiteral("T"), QStringLiteral("21"),
                             QStringLiteral("Ciara Ryan"), school, QStringLiteral("380.00")},
                            {QStringLiteral("2"), QStringLiteral("="), QStringLiteral("9"),
                             QStringLiteral("Orla Hayes"), school, QStringLiteral("380.00")}}));
    // Every dancer was placed, those without points sharing the last place.
    QCOMPARE(test::storedColumn(f.results(), QStringLiteral("POSITION")), numbers({2, 4, 1, 2, 4}));
    verifyRestored(f, QStringLiteral("final"));
    QVERIFY(!f.state.ReCalcFlag);

    const render::Page& page = doc.pages[0];
    QCOMPARE(
        test::bandTexts(page, BandKind::ColumnHeader),
        (QStringList{QStringLiteral("Position"), QStringLiteral("Tie"), QStringLiteral("Dancer"),
                     QStringLiteral("Name"), QStringLiteral("School"), QStringLiteral("Total")}));
    QCOMPARE(page.findText(QStringLiteral("Position"))->align, Align::Left);
    QCOMPARE(page.findText(QStringLiteral("Total"))->align, Align::Right);
    QCOMPARE(page.findText(QStringLiteral("400.00"))->box.right(),
             page.findText(QStringLiteral("Total"))->box.right());
    QCOMPARE(page.findText(QStringLiteral("T"))->align, Align::Center);
    QCOMPARE(page.findText(QStringLiteral("14"))->align, Align::Right);
    const render::PlacedText* kind = page.findText(QStringLiteral("Recall Championship"));
    const render::PlacedText* name = page.findText(QStringLiteral("WINNERS ROSTER"));
    QVERIFY(kind && name);
    QCOMPARE(kind->pointSize, 10.0);
    QCOMPARE(kind->box.center().x(), name->box.center().x());
    QVERIFY(kind->box.top() > name->box.top());
    QVERIFY(page.findText(QStringLiteral("U12")));
    // A recall roster always has its footer, with the event name.
    QVERIFY(
        test::bandTexts(page, BandKind::PageFooter).contains(QStringLiteral("Feis Example 2026")));
    QVERIFY(page.findText(QStringLiteral("Page 1")));
}

void TestWinnersRoster::withoutRecall() {
    test::ReportFixture f;
    f.addDancers({dancer(21, QStringLiteral("Ciara Ryan"), 0, QString(), 250.5),
                  dancer(5, QStringLiteral("Aoife Byrne"), 0, QString(), 0),
                  dancer(14, QStringLiteral("Niamh Kelly"), 0, QString(), 300),
                  dancer(9, QStringLiteral("Orla Hayes"), 0, QString(), 250.5),
                  dancer(2, QStringLiteral("Róisín Daly"), 0, QString(), 0)});
    f.state.ReCalcFlag = false;
    reports::launchChoices().championship = false; // the box unchecked
    test::ScriptedDialogs dialogs;
    runRoster(f);
    runRoster(f); // the choice lasts to the next use

    QCOMPARE(dialogs.previews().size(), 2);
    for (const render::Document& doc : dialogs.previews()) {
        const QList<QStringList> rows = test::detailRows(doc);
        QCOMPARE(rows.size(), 5); // every dancer, those with 0 too
        QCOMPARE(rows[0], (QStringList{QStringLiteral("1"), QStringLiteral("14"),
                                       QStringLiteral("Niamh Kelly"), QStringLiteral("Rince Nua"),
                                       QStringLiteral("300")}));
        QCOMPARE(rows[1].first(), QStringLiteral("2"));
        QCOMPARE(rows[1].last(), QStringLiteral("250.5"));
        QCOMPARE(rows[2].first(), QStringLiteral("2"));
        QCOMPARE(rows[3].first(), QStringLiteral("4"));
        QCOMPARE(rows[3].last(), QStringLiteral("0"));
        QCOMPARE(rows[4].first(), QStringLiteral("4"));
        const render::Page& page = doc.pages[0];
        QVERIFY(page.findText(QStringLiteral("Non-Recall Championship")));
        QCOMPARE(test::bandTexts(page, BandKind::ColumnHeader),
                 (QStringList{QStringLiteral("Position"), QStringLiteral("Dancer"),
                              QStringLiteral("Name"), QStringLiteral("School"),
                              QStringLiteral("Total")}));
        for (const char* h : {"Position", "Dancer", "Name", "School", "Total"})
            QCOMPARE(page.findText(QString::fromLatin1(h))->align, Align::Left);
        QCOMPARE(page.findText(QStringLiteral("14"))->align, Align::Left);
        QCOMPARE(page.findText(QStringLiteral("300"))->align, Align::Right);
        // One page: no footer at all.
        QVERIFY(test::bandTexts(page, BandKind::PageFooter).isEmpty());
        QVERIFY(!page.findText(QStringLiteral("Page 1")));
    }
    QCOMPARE(test::storedColumn(f.results(), QStringLiteral("POSITION")), numbers({2, 4, 1, 2, 4}));
    verifyRestored(f, QStringLiteral("recall"));
}

void TestWinnersRoster::footerOnAllButTheLastPage_data() {
    QTest::addColumn<bool>("championship");
    QTest::newRow("with recall") << true;
    QTest::newRow("without recall") << false;
}

void TestWinnersRoster::footerOnAllButTheLastPage() {
    QFETCH(bool, championship);
    test::ReportFixture f;
    QList<QVariantMap> dancers;
    for (int i = 0; i < 120; ++i)
        dancers << dancer(i + 1, QStringLiteral("Dancer %1").arg(i + 1), 500 - i, QString(),
                          500 - i);
    f.addDancers(dancers);
    f.state.ReCalcFlag = false;
    reports::launchChoices().championship = championship;
    test::ScriptedDialogs dialogs;
    runRoster(f);
    const render::Document& doc = dialogs.previews()[0];
    QVERIFY(doc.pageCount() >= 3);
    QCOMPARE(test::detailRows(doc).size(), 120);
    for (int p = 0; p < doc.pageCount(); ++p) {
        const bool last = p == doc.pageCount() - 1;
        const render::Page& page = doc.pages[std::size_t(p)];
        QCOMPARE(page.findText(QStringLiteral("Page %1").arg(p + 1)) != nullptr,
                 championship || !last);
    }
}

QTEST_MAIN(TestWinnersRoster)
#include "tst_winnersroster.moc"

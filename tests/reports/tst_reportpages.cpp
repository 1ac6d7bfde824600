#include "ReportFixture.h"
#include "render/ReportFont.h"
#include "reports/LaunchChoices.h"
#include "reports/ReportCommands.h"
#include "scoring/Recalculation.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>

using namespace jt;

namespace {

// A championship as it is printed: five adjudicators, three rounds and the set dance,
// names as long as their fields allow, a long event name; recalculated.
void fillCompetition(test::ReportFixture& f, const QString& numAdjs, const QString& numRounds) {
    engine::Table& info = f.info();
    info.first();
    info.edit();
    const QVariantMap values{
        {QStringLiteral("COMPNO"), QStringLiteral("142")},
        {QStringLiteral("COMPNAME"), QStringLiteral("Under 12 Girls Open Championship Munster")},
        {QStringLiteral("NUMADJS"), numAdjs},
        {QStringLiteral("NUMROUNDS"), numRounds},
        {QStringLiteral("ADJANAME"), QStringLiteral("Máire Ní Bhriain-Fitzgerald")},
        {QStringLiteral("ADJAFROM"), QStringLiteral("Baile Átha Cliath")},
        {QStringLiteral("ADJBNAME"), QStringLiteral("Seán Ó Súilleabháin-MacCarthy")},
        {QStringLiteral("ADJBFROM"), QStringLiteral("Gaillimh")},
        {QStringLiteral("ADJCNAME"), QStringLiteral("Niamh Walsh")},
        {QStringLiteral("ADJCFROM"), QStringLiteral("Corcaigh")},
        {QStringLiteral("ADJDNAME"), QStringLiteral("Declan MacConmara")},
        {QStringLiteral("ADJDFROM"), QStringLiteral("Luimneach")},
        {QStringLiteral("ADJENAME"), QStringLiteral("Eve Nolan")},
        {QStringLiteral("ADJEFROM"), QStringLiteral("Boston, Massachusetts")},
        {QStringLiteral("RD1TITLE"), QStringLiteral("Heavy (Treble Jig)")},
        {QStringLiteral("RD2TITLE"), QStringLiteral("Light (Reel)")},
        {QStringLiteral("RD3TITLE"), QStringLiteral("Round 3")},
        {QStringLiteral("RD4TITLE"), QStringLiteral("Set Dance")}};
    for (auto it = values.begin(); it != values.end(); ++it)
        info.fieldByName(it.key())->setAsString(it.value().toString());
    info.post();

    const QStringList names{"Aoife Byrne-Ó Ceallaigh",
                            "Ciara Murphy",
                            "Róisín Doyle",
                            "Emma Kennedy",
                            "Saoirse Ryan",
                            "Niamh Ní Chonchobhair",
                            "Caoimhe Fitzpatrick-Whelan",
                            "Sadhbh O'Donoghue",
                            "Clodagh Brennan",
                            "Éabha McLoughlin",
                            "Orla Gallagher",
                            "Síofra Nic Giolla Phádraig"};
    const QStringList schools{"Scoil Rince Ní Bhriain Baile Átha Cliath",
                              "Walsh Academy of Irish Dance", "Doyle School of Dance",
                              "Rince na hÉireann"};
    QList<QVariantMap> dancers;
    for (int i = 0; i < names.size(); ++i) {
        QVariantMap d{{QStringLiteral("COMP_NO"), 101.0 + i * 7},
                      {QStringLiteral("SEQUENCE"), double((i * 5) % names.size() + 1)},
                      {QStringLiteral("NAME"), names[i]},
                      {QStringLiteral("SCHOOL"), schools[i % schools.size()]}};
        for (int a = 0; a < 5; ++a) {
            const QString x(QChar(u'A' + a));
            for (int r = 1; r <= 3; ++r)
                d.insert(x + QString::number(r),
                         60.0 + ((i * 13 + a * 7 + r * 3) % 40) + 0.5 * (r % 2));
            if (i < 8)
                d.insert(x + QStringLiteral("SET"), 70.0 + ((i * 11 + a * 5) % 29));
        }
        dancers << d;
    }
    f.addDancers(dancers);
    engine::Table& results = f.results();
    results.open();
    scoring::recalculate(results);
    results.close();
    f.state.ReCalcFlag = false;
    f.state.GlobalSchool =
        QStringLiteral("Feis Cheoil na Mumhan — Munster Open Championships 2026");
}

// The reports of the Reports menu as a person would get them, each the documents it
// previewed or printed.
using Run =
    std::function<void(test::ReportFixture&, test::ScriptedDialogs&, test::ScriptedReportDialogs&)>;
} // namespace
Q_DECLARE_METATYPE(Run)
namespace {

// Where a text's letters are: its box, narrowed to the text's width from its aligned
// edge, and cut at the box where the text is clipped.
QRectF ink(const render::PlacedText& t) {
    const double w = render::textWidthMm(t.text, t.pointSize, t.bold);
    const double h = render::lineHeightMm(t.pointSize, t.bold);
    QRectF r(t.box.left(), t.box.top(), w, h);
    if (t.align == render::Align::Right)
        r.moveRight(t.box.right());
    else if (t.align == render::Align::Center)
        r.moveLeft(t.box.center().x() - w / 2);
    return t.clip ? r.intersected(t.box) : r;
}

// What is wrong on a page: texts cut off by their box, texts over each other.
QStringList faults(const render::Page& page) {
    QStringList found;
    for (const render::PlacedText& t : page.texts) {
        const double w = render::textWidthMm(t.text, t.pointSize, t.bold);
        if (t.clip && w > t.box.width() + 0.05)
            found << QStringLiteral("\"%1\" is cut off: %2 mm wide in a %3 mm box")
                         .arg(t.text)
                         .arg(w, 0, 'f', 1)
                         .arg(t.box.width(), 0, 'f', 1);
    }
    for (std::size_t i = 0; i < page.texts.size(); ++i)
        for (std::size_t j = i + 1; j < page.texts.size(); ++j) {
            const QRectF overlap = ink(page.texts[i]).intersected(ink(page.texts[j]));
            if (overlap.width() > 0.05 && overlap.height() > 0.3)
                found << QStringLiteral("\"%1\" and \"%2\" overlap")
                             .arg(page.texts[i].text, page.texts[j].text);
        }
    return found;
}

void writePicture(const render::Page& page, const QString& path) {
    constexpr double kPixelsPerMm = 5;
    QImage image(
        QSize(int(page.size.width() * kPixelsPerMm), int(page.size.height() * kPixelsPerMm)),
        QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    render::paintPage(painter, page, kPixelsPerMm);
    painter.end();
    image.save(path);
}

} // namespace

// The first page of every report, laid out over a recalculated championship with long
// names: no text is cut off by its box and no two texts stand over each other. Each
// first page is also written as a picture to look at, into JIGTALLY_REPORT_PNG_DIR or
// else report-pages in the test's build folder.
class TestReportPages final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstPage_data();
    void firstPage();
};

void TestReportPages::firstPage_data() {
    QTest::addColumn<QString>("numAdjs");
    QTest::addColumn<QString>("numRounds");
    QTest::addColumn<Run>("run");
    QTest::addColumn<int>("document"); // which of the documents shown

    const Run competitors = [](test::ReportFixture& f, test::ScriptedDialogs&,
                               test::ScriptedReportDialogs&) {
        reports::ListCompetitors1Click(f.state);
    };
    const Run recall = [](test::ReportFixture& f, test::ScriptedDialogs& d,
                          test::ScriptedReportDialogs& r) {
        r.answerChecklist(true);
        r.answerLaunch(true);
        d.answerInput(QStringLiteral("6"));
        reports::Print1Click(f.state);
    };
    const Run checksheets = [](test::ReportFixture& f, test::ScriptedDialogs&,
                               test::ScriptedReportDialogs&) {
        reports::RecallChecklists1Click(f.state);
    };
    const Run finalMarks = [](test::ReportFixture& f, test::ScriptedDialogs&,
                              test::ScriptedReportDialogs& r) {
        r.answerChecklist(true);
        r.answerLaunch(true);
        reports::FinalResults1Click(f.state);
    };
    const Run grid = [](test::ReportFixture& f, test::ScriptedDialogs&,
                        test::ScriptedReportDialogs& r) {
        r.answerLaunch(true);
        reports::ResultsbyAdjA1Click(f.state);
    };
    const auto roster = [](bool withRecall) {
        return Run([withRecall](test::ReportFixture& f, test::ScriptedDialogs&,
                                test::ScriptedReportDialogs& r) {
            reports::launchChoices().championship = withRecall;
            r.answerLaunch(true);
            reports::WinnersList1Click(f.state);
            reports::launchChoices().championship = true;
        });
    };
    const Run solo = [](test::ReportFixture& f, test::ScriptedDialogs&,
                        test::ScriptedReportDialogs& r) {
        r.answerLaunch(true);
        reports::SoloWinners1Click(f.state);
    };
    const Run header = [](test::ReportFixture& f, test::ScriptedDialogs&,
                          test::ScriptedReportDialogs&) { reports::HeaderSheet1Click(f.state); };

    QTest::newRow("competitors") << "5"
                                 << "4" << competitors << 0;
    QTest::newRow("recall-report-5") << "5"
                                     << "4" << recall << 0;
    QTest::newRow("recall-report-3") << "3"
                                     << "4" << recall << 0;
    QTest::newRow("recall-list") << "5"
                                 << "4" << recall << 1;
    QTest::newRow("checksheet-A") << "5"
                                  << "4" << checksheets << 0;
    QTest::newRow("checksheet-E") << "5"
                                  << "4" << checksheets << 4;
    QTest::newRow("final-5x4") << "5"
                               << "4" << finalMarks << 0;
    QTest::newRow("final-5x3") << "5"
                               << "3" << finalMarks << 0;
    QTest::newRow("final-3x4") << "3"
                               << "4" << finalMarks << 0;
    QTest::newRow("final-3x3") << "3"
                               << "3" << finalMarks << 0;
    QTest::newRow("grid-marks") << "5"
                                << "4" << grid << 0;
    QTest::newRow("roster-recall") << "5"
                                   << "4" << roster(true) << 0;
    QTest::newRow("roster-no-recall") << "5"
                                      << "4" << roster(false) << 0;
    QTest::newRow("solo") << "5"
                          << "4" << solo << 0;
    QTest::newRow("header-sheet") << "5"
                                  << "4" << header << 0;
}

void TestReportPages::firstPage() {
    QFETCH(QString, numAdjs);
    QFETCH(QString, numRounds);
    QFETCH(Run, run);
    QFETCH(int, document);
    test::ReportFixture f;
    fillCompetition(f, numAdjs, numRounds);
    test::ScriptedDialogs dialogs;
    test::ScriptedReportDialogs reportDialogs;
    run(f, dialogs, reportDialogs);
    QVERIFY(dialogs.messages().isEmpty());

    QList<render::Document> shown = dialogs.previews();
    for (const auto& job : dialogs.printed())
        shown << job.document;
    QVERIFY(document < shown.size());
    QVERIFY(!shown[document].isEmpty());
    const render::Page& page = shown[document].pages[0];

    QString folder = qEnvironmentVariable("JIGTALLY_REPORT_PNG_DIR");
    if (folder.isEmpty())
        folder = QStringLiteral(QT_TESTCASE_BUILDDIR "/report-pages");
    QVERIFY(QDir().mkpath(folder));
    writePicture(page, QDir(folder).filePath(QString::fromLatin1(QTest::currentDataTag()) +
                                             QStringLiteral(".png")));
    const QStringList found = faults(page);
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestReportPages)
#include "tst_reportpages.moc"

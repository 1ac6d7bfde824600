#include "ReportFixture.h"
#include "platform/MachineSettings.h"
#include "render/ReportFont.h"
#include "reports/ReportCommands.h"
#include "reports/ReportTexts.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace jt;
using reports::Checklist;
using reports::LaunchDialog;

Q_DECLARE_METATYPE(const reports::ReportCommand*)

namespace {

const reports::ReportCommand* commandNamed(const char* handler) {
    const reports::ReportCommand* c = reports::findReportCommand(QString::fromLatin1(handler));
    if (!c)
        qFatal("no command %s", handler);
    return c;
}

// Posts a change to the results table, as a report's own writes do.
void postSomething(test::ReportFixture& f) {
    engine::Table& t = f.results();
    const bool wasOpen = t.active();
    t.open();
    t.first();
    t.edit();
    t.fieldByName(QStringLiteral("POSITION"))->setAsInteger(1);
    t.post();
    if (!wasOpen)
        t.close();
}

int countTexts(const render::Page& page, const QString& text) {
    int n = 0;
    for (const render::PlacedText& t : page.texts)
        n += t.text == text;
    return n;
}

} // namespace

class TestReportFrame final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recalcGate_data();
    void recalcGate();
    void checklistGate_data();
    void checklistGate();
    void launchClearsFlag_data();
    void launchClearsFlag();
    void competitorList();
    void competitorListPages();
    void emptyCompetitorList();
    void competitorListLogo();
    void headerSheet_data();
    void headerSheet();
    void displayName_data();
    void displayName();
};

void TestReportFrame::recalcGate_data() {
    QTest::addColumn<const reports::ReportCommand*>("command");
    for (const reports::ReportCommand& c : reports::reportCommands())
        if (c.gate != reports::Gate::None)
            QTest::newRow(qPrintable(c.handler)) << &c;
}

void TestReportFrame::recalcGate() {
    QFETCH(const reports::ReportCommand*, command);
    test::ReportFixture f;
    f.addNumberedDancers(2);
    test::ScriptedDialogs dialogs;
    test::ScriptedReportDialogs reportDialogs;
    f.state.ReCalcFlag = true;
    command->run(f.state);
    // Only the message: no checklist, no launch dialog, nothing printed, flag still set.
    QCOMPARE(dialogs.messages().size(), 1);
    QCOMPARE(dialogs.messages()[0].type, platform::MessageType::Information);
    QCOMPARE(dialogs.messages()[0].text, QStringLiteral("Please RECALC"));
    QCOMPARE(dialogs.messages()[0].buttons, platform::Ok);
    QVERIFY(reportDialogs.shownChecklists.isEmpty());
    QVERIFY(reportDialogs.shownLaunches.isEmpty());
    QVERIFY(dialogs.previews().isEmpty() && dialogs.printed().isEmpty());
    QVERIFY(f.state.ReCalcFlag);
}

void TestReportFrame::checklistGate_data() {
    QTest::addColumn<const reports::ReportCommand*>("command");
    QTest::addColumn<Checklist>("checklist");
    QTest::addColumn<LaunchDialog>("dialog");
    QTest::newRow("recall") << commandNamed("Print1Click") << Checklist::Recall
                            << LaunchDialog::RecallReport;
    QTest::newRow("final") << commandNamed("FinalResults1Click") << Checklist::Final
                           << LaunchDialog::FinalReport;
}

void TestReportFrame::checklistGate() {
    QFETCH(const reports::ReportCommand*, command);
    QFETCH(Checklist, checklist);
    QFETCH(LaunchDialog, dialog);
    test::ReportFixture f;
    f.addNumberedDancers(2);
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    test::ScriptedReportDialogs reportDialogs;

    // Unticked: the warning, and nothing else happens.
    reportDialogs.answerChecklist(false);
    command->run(f.state);
    QCOMPARE(reportDialogs.shownChecklists, QList<Checklist>{checklist});
    QVERIFY(reportDialogs.shownLaunches.isEmpty());
    QCOMPARE(dialogs.messageTexts(), QStringList{reports::kChecklistIncomplete});
    QCOMPARE(dialogs.messages()[0].type, platform::MessageType::Warning);
    QCOMPARE(dialogs.messages()[0].buttons, platform::Cancel);
    QVERIFY(!f.state.ReCalcFlag);
    QVERIFY(!f.results().active());

    // Ticked: on to the launch dialog.
    dialogs.clear();
    reportDialogs.answerChecklist(true);
    reportDialogs.answerLaunch(false);
    command->run(f.state);
    QCOMPARE(reportDialogs.shownLaunches, QList<LaunchDialog>{dialog});
    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(reportDialogs.allAnswered());
}

void TestReportFrame::launchClearsFlag_data() {
    QTest::addColumn<const reports::ReportCommand*>("command");
    QTest::addColumn<bool>("checklist");
    QTest::addColumn<LaunchDialog>("dialog");
    QTest::addColumn<bool>("preview");
    const struct {
        const char* handler;
        bool checklist;
        LaunchDialog dialog;
    } launching[] = {
        {"Print1Click", true, LaunchDialog::RecallReport},
        {"FinalResults1Click", true, LaunchDialog::FinalReport},
        {"ResultsbyAdjA1Click", false, LaunchDialog::GridMarks},
        {"WinnersList1Click", false, LaunchDialog::WinnersRoster},
        {"SoloWinners1Click", false, LaunchDialog::SoloResult},
    };
    for (const auto& l : launching) {
        QTest::addRow("%s preview", l.handler)
            << commandNamed(l.handler) << l.checklist << l.dialog << true;
        QTest::addRow("%s cancel", l.handler)
            << commandNamed(l.handler) << l.checklist << l.dialog << false;
    }
}

void TestReportFrame::launchClearsFlag() {
    QFETCH(const reports::ReportCommand*, command);
    QFETCH(bool, checklist);
    QFETCH(LaunchDialog, dialog);
    QFETCH(bool, preview);
    test::ReportFixture f;
    f.addNumberedDancers(3);
    f.state.ReCalcFlag = false;
    test::ScriptedDialogs dialogs;
    test::ScriptedReportDialogs reportDialogs;
    if (checklist)
        reportDialogs.answerChecklist(true);
    reportDialogs.answerLaunch(preview);
    if (preview && dialog == LaunchDialog::RecallReport)
        dialogs.answerInput(QStringLiteral("0")); // no recall list

    // The report's own writes set the flag while the dialog is showing; a command that
    // started with the flag clear leaves it clear.
    bool flagWhileShowing = false;
    reportDialogs.whileShowing = [&] {
        postSomething(f);
        flagWhileShowing = f.state.ReCalcFlag;
    };
    command->run(f.state);
    QVERIFY(flagWhileShowing);
    QCOMPARE(reportDialogs.shownLaunches, QList<LaunchDialog>{dialog});
    QVERIFY(!f.state.ReCalcFlag);
    // Every launch dialog has its caption and help topic.
    QVERIFY(!reports::launchDialogText(dialog).caption.isEmpty());
    QVERIFY(reports::launchDialogText(dialog).helpTopic > 0);
    // "Preview" previews the report; "Cancel" shows nothing.
    if (preview) {
        QVERIFY(!dialogs.previews().isEmpty());
    } else {
        QVERIFY(dialogs.previews().isEmpty());
        QVERIFY(dialogs.messages().isEmpty());
    }
    QVERIFY(dialogs.allAnswered());
}

void TestReportFrame::competitorList() {
    test::ReportFixture f;
    f.addDancers({{{QStringLiteral("COMP_NO"), 7.0},
                   {QStringLiteral("NAME"), QStringLiteral("Aoife Byrne")},
                   {QStringLiteral("SCHOOL"), QStringLiteral("Rince Nua")}},
                  {{QStringLiteral("COMP_NO"), 112.0},
                   {QStringLiteral("NAME"), QStringLiteral("Síofra Ní Bhriain")},
                   {QStringLiteral("SCHOOL"), QStringLiteral("Scoil Bhríde")}},
                  {{QStringLiteral("COMP_NO"), 31.0},
                   {QStringLiteral("NAME"), QStringLiteral("Cian Walsh")}}});
    f.state.GlobalSchool = QStringLiteral("Feis Example 2026");
    f.state.ReCalcFlag = true; // the competitor list has no gate
    test::ScriptedDialogs dialogs;
    bool openWhilePreviewing = false;
    dialogs.whilePreviewing([&](const render::Document&) {
        openWhilePreviewing = f.results().active() && !f.results().exclusive();
    });
    reports::ListCompetitors1Click(f.state);

    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(dialogs.previews().size(), 1);
    QVERIFY(openWhilePreviewing);
    QVERIFY(!f.results().active()); // closed afterwards
    QVERIFY(f.state.ReCalcFlag);    // and the flag untouched
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.pageCount(), 1);
    const render::Page& page = doc.pages[0];

    // Title band: banner = event name (12 pt bold), report name, second line U12 (10 pt).
    const render::PlacedText* banner = page.findText(QStringLiteral("Feis Example 2026"));
    QVERIFY(banner);
    QCOMPARE(banner->pointSize, 12.0);
    QVERIFY(banner->bold);
    QCOMPARE(banner->box.topLeft(), QPointF(24, 10));
    const render::PlacedText* name = page.findText(QStringLiteral("COMPETITORS"));
    QVERIFY(name && name->pointSize == 14.0 && name->bold && name->align == render::Align::Center);
    QCOMPARE(name->box.center().x(), 105.0); // the middle of the page
    const render::PlacedText* second = page.findText(QStringLiteral("U12"));
    QVERIFY(second);
    QCOMPARE(second->pointSize, 10.0);
    QVERIFY(second->box.top() > banner->box.top());
    // The logo square at the top left corner.
    QCOMPARE(page.pictures.size(), std::size_t(1));
    QCOMPARE(page.pictures[0].clip, QRectF(10, 10, 12, 12));

    // Column headings 10 pt, left-aligned; rows in entry order, 8 pt, numbers right-aligned
    // ending under "Dancer".
    const render::PlacedText* heading = page.findText(QStringLiteral("Dancer"));
    QVERIFY(heading && heading->pointSize == 10.0 && heading->align == render::Align::Left);
    QCOMPARE(heading->box.top(), 25.0);
    const QStringList numbers{QStringLiteral("7"), QStringLiteral("112"), QStringLiteral("31")};
    for (int i = 0; i < numbers.size(); ++i) {
        const render::PlacedText* n = page.findText(numbers[i]);
        QVERIFY2(n, qPrintable(numbers[i]));
        QCOMPARE(n->align, render::Align::Right);
        QCOMPARE(n->pointSize, 8.0);
        QCOMPARE(n->box.right(), 23.4);
        QCOMPARE(n->box.top(), 31.5 + 5 * i);
    }
    const double headingEnd =
        heading->box.left() + render::textWidthMm(QStringLiteral("Dancer"), 10, false);
    QVERIFY2(std::abs(headingEnd - 23.4) < 0.2, qPrintable(QString::number(headingEnd)));
    QCOMPARE(page.findText(QStringLiteral("Síofra Ní Bhriain"))->box.topLeft(), QPointF(35, 36.5));
    QCOMPARE(page.findText(QStringLiteral("Scoil Bhríde"))->box.left(), 115.0);

    // Footer: web address 12 pt bold, the page number and the event name, at the bottom.
    const render::PlacedText* web = page.findText(reports::kWebAddress);
    QVERIFY(web && web->pointSize == 12.0 && web->bold);
    QVERIFY(page.findText(QStringLiteral("Page 1")));
    QCOMPARE(countTexts(page, QStringLiteral("Feis Example 2026")), 2);
    QCOMPARE(page.bands.back().kind, render::BandKind::PageFooter);
    QCOMPARE(page.bands.back().box.bottom(), 287.0);
}

void TestReportFrame::competitorListPages() {
    test::ReportFixture f;
    f.addNumberedDancers(120);
    test::ScriptedDialogs dialogs;
    reports::ListCompetitors1Click(f.state);
    const render::Document& doc = dialogs.previews()[0];
    // 248 mm of 5 mm rows on page 1 under the title and header (49 rows), 262 mm after (52).
    QCOMPARE(doc.pageCount(), 3);
    QVERIFY(doc.pages[0].findText(QStringLiteral("149")) &&
            !doc.pages[0].findText(QStringLiteral("150")));
    QVERIFY(doc.pages[1].findText(QStringLiteral("150")));
    QVERIFY(doc.pages[1].findText(QStringLiteral("201")) &&
            !doc.pages[1].findText(QStringLiteral("202")));
    QVERIFY(doc.pages[2].findText(QStringLiteral("202")) &&
            doc.pages[2].findText(QStringLiteral("220")));
    for (int p = 0; p < 3; ++p) {
        QVERIFY(doc.pages[std::size_t(p)].findText(QStringLiteral("Page %1").arg(p + 1)));
        QVERIFY(doc.pages[std::size_t(p)].findText(QStringLiteral("Dancer"))); // header on each
        QCOMPARE(doc.pages[std::size_t(p)].findText(QStringLiteral("COMPETITORS")) != nullptr,
                 p == 0);
    }
}

void TestReportFrame::emptyCompetitorList() {
    test::ReportFixture f;
    test::ScriptedDialogs dialogs;
    reports::ListCompetitors1Click(f.state);
    QCOMPARE(dialogs.previews().size(), 1);
    QVERIFY(dialogs.previews()[0].isEmpty()); // no band at all, not even the title
    QVERIFY(!f.results().active());
}

void TestReportFrame::competitorListLogo() {
    test::ReportFixture f;
    f.addNumberedDancers(1);
    test::ScriptedDialogs dialogs;
    QImage logo(30, 60, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    logo.setDotsPerMeterX(3780);
    logo.setDotsPerMeterY(3780);
    const QString path = f.folder.filePath(QStringLiteral("logo.bmp"));
    QVERIFY(logo.save(path, "BMP"));
    reports::ListCompetitors1Click(f.state);
    QVERIFY(QFile::remove(path));
    reports::ListCompetitors1Click(f.state);
    for (const render::Document& doc : dialogs.previews()) {
        const render::PlacedPicture& p = doc.pages[0].pictures[0];
        QCOMPARE(p.image.pixelColor(1, 1), QColor(Qt::blue));
        // At its own size (30 x 60 px at 96 dpi), cut off at the 12 mm square.
        QVERIFY(std::abs(p.target.width() - 30 / 3.78) < 0.05);
        QVERIFY(std::abs(p.target.height() - 60 / 3.78) < 0.05);
        QCOMPARE(p.clip, QRectF(10, 10, 12, 12));
    }
}

void TestReportFrame::headerSheet_data() {
    QTest::addColumn<QString>("settings"); // empty: no settings file
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("infoRecord");
    const QString key = QStringLiteral("[SOFTWARE\\Jigtally Software\\Jigtally 2008\\0.1.0.0]\n");
    QTest::newRow("event name") << key + QStringLiteral("company=\"Feis Example\"\n")
                                << QStringLiteral("Feis Example") << true;
    QTest::newRow("no key") << QString() << QStringLiteral("Jigtally Software") << true;
    QTest::newRow("key without name") << key << QString() << true;
    QTest::newRow("empty info table") << key + QStringLiteral("company=\"Feis Example\"\n")
                                      << QStringLiteral("Feis Example") << false;
}

void TestReportFrame::headerSheet() {
    QFETCH(QString, settings);
    QFETCH(QString, title);
    QFETCH(bool, infoRecord);
    test::ReportFixture f;
    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(QStringLiteral("registry.ini"));
    if (!settings.isEmpty()) {
        QFile file(settingsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings.toUtf8());
    }
    const QString previousSettings = platform::machineSettingsFile();
    platform::setMachineSettingsFile(settingsFile);
    engine::Table& info = f.info();
    if (infoRecord) {
        info.first();
        info.edit();
        info.fieldByName(QStringLiteral("COMPNO"))->setAsString(QStringLiteral("42"));
        info.fieldByName(QStringLiteral("COMPNAME"))->setAsString(QStringLiteral("Under 12 Girls"));
        info.fieldByName(QStringLiteral("ADJBNAME"))->setAsString(QStringLiteral("Mary Walsh"));
        info.fieldByName(QStringLiteral("RD4TITLE"))->setAsString(QStringLiteral("Set Dance"));
        info.post();
    } else {
        while (!info.isEmpty()) {
            info.first();
            info.deleteRecord();
        }
    }
    test::ScriptedDialogs dialogs;
    reports::HeaderSheet1Click(f.state);
    platform::setMachineSettingsFile(previousSettings);

    QCOMPARE(dialogs.previews().size(), 1);
    const render::Document& doc = dialogs.previews()[0];
    QCOMPARE(doc.pageCount(), 1); // always, even without a record
    const render::Page& page = doc.pages[0];
    const double top = 12.7;
    QCOMPARE(page.findText(QStringLiteral("M A R K S  P A C K"))->box.right(), top + 184);
    if (!title.isEmpty()) {
        const render::PlacedText* t = page.findText(title);
        QVERIFY(t);
        QCOMPARE(t->pointSize, 30.0);
        QCOMPARE(t->box.top(), top + 57);
        QCOMPARE(t->box.center().x(), 105.0);
    }
    QCOMPARE(page.findText(QStringLiteral("Adj E:"))->box.topLeft(), QPointF(top + 11, top + 155));
    QCOMPARE(page.findText(QStringLiteral("Recall:"))->box.right(), top + 25);
    QCOMPARE(page.findText(QStringLiteral("Under 12 Girls")) != nullptr, infoRecord);
    if (infoRecord) {
        QCOMPARE(page.findText(QStringLiteral("Mary Walsh"))->box.topLeft(),
                 QPointF(top + 27, top + 126));
        QCOMPARE(page.findText(QStringLiteral("Set Dance"))->box.topLeft(),
                 QPointF(top + 32, top + 205));
        QCOMPARE(page.findText(QStringLiteral("Comp. No. 42"))->box.right(), top + 183);
    }
    QCOMPARE(page.pictures[0].target, QRectF(top, top, 64, 47));
    QVERIFY(f.info().active()); // nothing opened or closed
}

void TestReportFrame::displayName_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QStringLiteral("u12girls.dbf") << QStringLiteral("U12GIRLS");
    QTest::newRow("with folder") << QStringLiteral("/data/Minor.DBF") << QStringLiteral("MINOR");
    QTest::newRow("dots") << QStringLiteral("open.2026.dbf") << QStringLiteral("OPEN.2026");
    QTest::newRow("accents stay") << QStringLiteral("féis.dbf") << QStringLiteral("FéIS");
}

void TestReportFrame::displayName() {
    QFETCH(QString, table);
    QFETCH(QString, shown);
    QCOMPARE(reports::competitionDisplayName(table), shown);
}

QTEST_MAIN(TestReportFrame)
#include "tst_reportframe.moc"

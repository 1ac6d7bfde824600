#include "app/ShellFixture.h"
#include "platform/HelpTopic.h"
#include "reportdialogs/LaunchDialogBase.h"
#include "reportdialogs/TFinalChk.h"
#include "reportdialogs/TRecallChk.h"
#include "reportdialogs/WidgetReportDialogs.h"
#include "reports/ReportCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

using namespace jt;
using reports::Checklist;
using reports::LaunchDialog;

namespace {

QStringList labelTexts(const QWidget* w) {
    QStringList texts;
    for (const QLabel* l : w->findChildren<QLabel*>())
        texts << l->text();
    return texts;
}

// Runs `act` on the modal dialog once it shows (the caller then blocks in exec()).
void whenShown(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

class TestReportDialogs final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checklist_data();
    void checklist();
    void launchDialog_data();
    void launchDialog();
    void reportsMenu();
};

using Findings = std::vector<reports::ChecklistFinding>;
Q_DECLARE_METATYPE(Findings)

namespace {

Findings someFindings(int n) {
    Findings f;
    for (int i = 0; i < n; ++i)
        f.push_back(
            {reports::FindingKind::MissingMarks,
             QStringLiteral("No mark in B2 (adjudicator B, round 2) for dancer %1").arg(101 + i),
             {QString::number(101 + i)}});
    return f;
}

} // namespace

void TestReportDialogs::checklist_data() {
    QTest::addColumn<Checklist>("which");
    QTest::addColumn<Findings>("findings");
    QTest::addColumn<bool>("tick");
    // The findings never decide: with or without them the box alone does.
    for (const Checklist c : {Checklist::Recall, Checklist::Final})
        for (const int n : {0, 2, 40})
            for (const bool tick : {true, false})
                QTest::addRow("%s, %d findings, %s", c == Checklist::Recall ? "recall" : "final", n,
                              tick ? "ticked" : "unticked")
                    << c << someFindings(n) << tick;
}

void TestReportDialogs::checklist() {
    QFETCH(Checklist, which);
    QFETCH(Findings, findings);
    QFETCH(bool, tick);
    test::Shell shell;
    reports::WidgetReportDialogs dialogs;
    // A box ticked at the last showing is cleared before this one.
    if (reports::RecallChk)
        reports::RecallChk->CheckBox1->setChecked(true);
    bool seen = false;
    whenShown([&](QDialog& d) {
        seen = true;
        QCOMPARE(d.windowTitle(), reports::checklistCaption(which));
        QCOMPARE(platform::helpTopic(&d), which == Checklist::Recall ? 300 : 310);
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("CheckBox1"));
        QVERIFY(box && !box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("Checklist completed"));
        const QStringList texts = labelTexts(&d);
        QVERIFY(texts.contains(QStringLiteral("Please check the list below and click")));
        for (const QString& line : reports::checklistLines(which))
            QVERIFY2(texts.contains(line), qPrintable(line));
        // The findings of this showing, and only they; "No problems found." when none.
        auto* list = d.findChild<QListWidget*>(QStringLiteral("Findings"));
        auto* none = d.findChild<QLabel*>(QStringLiteral("NoFindings"));
        QVERIFY(list && none);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        QStringList expected;
        for (const reports::ChecklistFinding& f : findings)
            expected << f.text;
        QCOMPARE(shown, expected);
        QCOMPARE(list->isVisible(), !findings.empty());
        QCOMPARE(none->isVisible(), findings.empty());
        QCOMPARE(none->text(), QStringLiteral("No problems found."));
        // However many findings there are, the box and "Continue" stay inside the screen.
        auto* button = d.findChild<QPushButton*>(QStringLiteral("Continue"));
        QVERIFY(button->isVisible());
        const QRect screen = d.screen()->availableGeometry();
        QVERIFY2(d.frameGeometry().height() <= screen.height(),
                 qPrintable(QString::number(d.frameGeometry().height())));
        box->setChecked(tick);
        d.findChild<QPushButton*>(QStringLiteral("Continue"))->click();
    });
    // A list left from an earlier showing is replaced.
    if (reports::RecallChk)
        reports::RecallChk->showFindings(someFindings(3));
    if (reports::FinalChk)
        reports::FinalChk->showFindings(someFindings(3));
    QCOMPARE(dialogs.showChecklist(which, findings), tick);
    QVERIFY(seen);
}

void TestReportDialogs::launchDialog_data() {
    QTest::addColumn<LaunchDialog>("which");
    QTest::addColumn<bool>("preview");
    for (const LaunchDialog d :
         {LaunchDialog::RecallReport, LaunchDialog::FinalReport, LaunchDialog::GridMarks,
          LaunchDialog::WinnersRoster, LaunchDialog::SoloResult}) {
        const QString caption = reports::launchDialogText(d).caption;
        QTest::addRow("%s preview", qPrintable(caption)) << d << true;
        QTest::addRow("%s cancel", qPrintable(caption)) << d << false;
    }
}

void TestReportDialogs::launchDialog() {
    QFETCH(LaunchDialog, which);
    QFETCH(bool, preview);
    test::Shell shell;
    reports::WidgetReportDialogs dialogs;
    bool ran = false;
    bool closedAfter = false;
    whenShown([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), reports::launchDialogText(which).caption);
        QCOMPARE(platform::helpTopic(&d), reports::launchDialogText(which).helpTopic);
        QVERIFY(labelTexts(&d).contains(reports::kLaunchLines[1]));
        auto* button1 = d.findChild<QPushButton*>(QStringLiteral("Button1"));
        auto* button3 = d.findChild<QPushButton*>(QStringLiteral("Button3"));
        QCOMPARE(button1->text(), QStringLiteral("Preview"));
        QCOMPARE(button3->text(), QStringLiteral("Cancel"));
        (preview ? button1 : button3)->click();
        closedAfter = !d.isVisible();
    });
    dialogs.showLaunchDialog(which, [&] { ran = true; });
    QCOMPARE(ran, preview);
    QVERIFY(closedAfter);
}

void TestReportDialogs::reportsMenu() {
    test::Shell shell;
    shell.select(QStringLiteral("example.dbf"));
    QVERIFY(shell.state.ReCalcFlag);
    // The competitor list has no gate: it is previewed.
    shell.choose(shell.main().ListCompetitors1);
    QCOMPARE(shell.dialogs.previews().size(), 1);
    QCOMPARE(shell.dialogs.previews()[0].pageCount(), 1);
    // A gated report with the flag set stops at "Please RECALC".
    shell.dialogs.clear();
    shell.choose(shell.main().ResultsbyAdjA1);
    QCOMPARE(shell.dialogs.messageTexts(), QStringList{QStringLiteral("Please RECALC")});
    QVERIFY(shell.dialogs.previews().isEmpty());
}

QTEST_MAIN(TestReportDialogs)
#include "tst_reportdialogs.moc"

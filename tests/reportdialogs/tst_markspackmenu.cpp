#include "app/ShellFixture.h"
#include "engine/Table.h"
#include "reportdialogs/WidgetReportDialogs.h"
#include "reports/ReportCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

using namespace jt;

namespace {

// Answers the final checklist once it shows: the box ticked or not, then "Continue".
void answerChecklist(bool tick, bool* seen) {
    QTimer::singleShot(0, [tick, seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        *seen = true;
        QCOMPARE(dialog->windowTitle(), reports::checklistCaption(reports::Checklist::Final));
        dialog->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(tick);
        dialog->findChild<QPushButton*>(QStringLiteral("Continue"))->click();
    });
}

// POSITION of every dancer of the example competition, as the file holds it.
QVariantList storedPositions(const test::Shell& shell) {
    engine::Table t;
    t.setTableName(shell.folder.filePath(QStringLiteral("example.dbf")));
    t.open();
    QVariantList positions;
    for (t.first(); !t.eof(); t.next())
        positions << t.fieldByName(QStringLiteral("POSITION"))->value();
    return positions;
}

int pdfPages(const QString& path) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {path});
    p.waitForFinished(30000);
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

// File > "Marks Pack to PDF..." in the main window, its dialogs answered by script.
class TestMarksPackMenu final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void onlyWithACompetition();
    void writesThePack();
    void refusals_data();
    void refusals();
};

void TestMarksPackMenu::onlyWithACompetition() {
    test::Shell shell;
    QAction* item = shell.main().MarksPack1;
    QCOMPARE(item->text(), QStringLiteral("Marks &Pack to PDF..."));
    QVERIFY(!shell.enabled(QStringLiteral("MarksPack1")));
    shell.select(QStringLiteral("example.dbf"));
    QVERIFY(shell.enabled(QStringLiteral("MarksPack1")));
    shell.choose(shell.main().Close1);
    QVERIFY(!shell.enabled(QStringLiteral("MarksPack1")));
}

void TestMarksPackMenu::writesThePack() {
    test::Shell shell;
    reports::WidgetReportDialogs reportDialogs;
    shell.select(QStringLiteral("example.dbf"));
    QTest::mouseClick(shell.main().ReCalcButton, Qt::LeftButton);
    QVERIFY(!shell.state.ReCalcFlag);
    shell.dialogs.clear();

    const QString pdf = shell.folder.filePath(QStringLiteral("example pack.pdf"));
    shell.dialogs.answerSaveFile(pdf);
    bool seen = false;
    answerChecklist(true, &seen);
    shell.choose(shell.main().MarksPack1);

    QVERIFY(seen);
    QVERIFY(shell.dialogs.allAnswered());
    QCOMPARE(shell.dialogs.saveDialogs().size(), 1);
    QCOMPARE(shell.dialogs.saveDialogs()[0].defaultSuffix, QStringLiteral("pdf"));
    QVERIFY(!shell.dialogs.saveDialogs()[0].mustExist);
    QVERIFY(shell.dialogs.previews().isEmpty()); // nothing previewed, nothing printed
    QVERIFY(shell.dialogs.printed().isEmpty());
    // Header, final marks, grid marks, roster and three checksheets.
    QCOMPARE(shell.dialogs.messageTexts(),
             QStringList{QStringLiteral("Marks pack written to %1 (7 pages)").arg(pdf)});
    QVERIFY(QFile::exists(pdf));
    if (const int pages = pdfPages(pdf); pages >= 0)
        QCOMPARE(pages, 7);
    // POSITION was written, yet no recalculation is due; the table is left closed.
    QVERIFY(!shell.state.ReCalcFlag);
    QVERIFY(!shell.module().results->active());
    for (const QVariant& position : storedPositions(shell))
        QVERIFY(!position.isNull());
}

void TestMarksPackMenu::refusals_data() {
    QTest::addColumn<bool>("recalculated");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("message");
    QTest::newRow("flag set") << false << false << QStringLiteral("Please RECALC");
    QTest::newRow("checklist not ticked")
        << true << false << QStringLiteral("Please complete checklist before printing report");
}

void TestMarksPackMenu::refusals() {
    QFETCH(bool, recalculated);
    QFETCH(bool, tick);
    QFETCH(QString, message);
    test::Shell shell;
    reports::WidgetReportDialogs reportDialogs;
    shell.select(QStringLiteral("example.dbf"));
    if (recalculated)
        QTest::mouseClick(shell.main().ReCalcButton, Qt::LeftButton);
    shell.dialogs.clear();
    bool seen = false;
    if (recalculated)
        answerChecklist(tick, &seen);
    shell.choose(shell.main().MarksPack1);

    QCOMPARE(seen, recalculated); // the checklist only after the flag's gate
    QCOMPARE(shell.dialogs.messageTexts(), QStringList{message});
    QVERIFY(shell.dialogs.saveDialogs().isEmpty()); // no file asked for
    QCOMPARE(shell.state.ReCalcFlag, !recalculated);
    QCOMPARE(storedPositions(shell), QVariantList(5, QVariant())); // nothing written
}

QTEST_MAIN(TestMarksPackMenu)
#include "tst_markspackmenu.moc"

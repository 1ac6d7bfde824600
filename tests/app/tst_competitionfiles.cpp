#include "ShellFixture.h"
#include "data/ChangeLog.h"
#include "engine/IndexDefs.h"
#include "engine/Table.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

#include <cerrno>
#include <cstring>

using namespace jt;
using platform::MessageType;

namespace {

engine::IndexDefList indexesOf(const QString& path) {
    return engine::IndexStore::read(path);
}

QStringList indexNames(const QString& path) {
    QStringList names;
    for (const auto& def : indexesOf(path))
        names << def.name + QLatin1Char(':') + def.field;
    return names;
}

QString compNameOf(const QString& infoPath) {
    engine::Table t;
    t.setTableName(infoPath);
    t.open();
    return t.fieldByName(QStringLiteral("COMPNAME"))->asString();
}

// What the main window's status bar says (empty while it is hidden).
QString statusText(const test::Shell& shell) {
    return shell.main().statusBar()->currentMessage();
}

} // namespace

class TestCompetitionFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menuStates_data();
    void menuStates();
    void dialogSettings();
    void selectWhileOpenAndCancel();
    void selectRefusesSystemFiles_data();
    void selectRefusesSystemFiles();
    void selectExampleIsAllowed();
    void selectMixedCaseName();
    void selectTidiesIndexes_data();
    void selectTidiesIndexes();
    void selectWithoutInfoTable();
    void selectAfterHalfFinishedSelection();
    void createMakesBothTables();
    void createRefusesExistingFile_data();
    void createRefusesExistingFile();
    void createReplacesExistingInfoTable();
    void createFailures();
    void createdSystemNameCannotBeUsed();
    void deleteAnswers_data();
    void deleteAnswers();
    void deleteRefusesSystemFiles_data();
    void deleteRefusesSystemFiles();
    void deleteWithoutInfoTable();
    void deleteFileFailure();
    void deleteLogFailure();
};

// Every item's availability at start, with a competition open and after closing it.
void TestCompetitionFiles::menuStates_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<bool>("whenOpen");
    QTest::addColumn<bool>("afterClose");
    QTest::addRow("Select") << "Select1" << true << true << true;
    QTest::addRow("Close") << "Close1" << false << true << false;
    QTest::addRow("Create") << "Create1" << true << false << false;
    QTest::addRow("Delete") << "Delete1" << true << false << false;
    QTest::addRow("Set Event Name") << "SetEventName1" << true << false << false;
    QTest::addRow("Exit") << "Exit1" << true << true << true;
    QTest::addRow("File menu") << "File1" << true << true << true;
    QTest::addRow("Help menu") << "Help1" << true << true << true;
    QTest::addRow("Contents") << "Contents1" << true << true << true;
    QTest::addRow("About") << "About1" << true << true << true;
    QTest::addRow("Setup menu") << "Setup3" << false << true << false;
    QTest::addRow("Competition Setup") << "SetUp2" << false << true << false;
    QTest::addRow("Dancer Setup") << "Setup1" << false << true << false;
    QTest::addRow("Marks menu") << "Results1" << false << true << false;
    QTest::addRow("Reports menu") << "Reports1" << false << true << false;
    QTest::addRow("Utils menu") << "Utils1" << false << true << false;
    // Items under Marks, Reports and Utils follow their menu and stay enabled themselves.
    QTest::addRow("Enter Marks") << "EnterSetScores1" << true << true << true;
    QTest::addRow("Solos") << "SoloWinners1" << true << true << true;
    QTest::addRow("View All Fields") << "DataEntry1" << true << true << true;
}

void TestCompetitionFiles::menuStates() {
    QFETCH(QString, item);
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    auto& main = shell.main();

    QTEST(shell.enabled(item), "atStart");
    QCOMPARE(main.Label2->text(), QStringLiteral("None selected"));
    QCOMPARE(main.ReCalcButton->text(), QStringLiteral("Calculated"));
    QVERIFY(!main.ReCalcButton->isEnabled());

    shell.select(QStringLiteral("u12.dbf"));
    QCOMPARE(shell.dialogs.messages().size(), 0);
    QTEST(shell.enabled(item), "whenOpen");
    QCOMPARE(main.Label2->text(), QStringLiteral("U12"));
    QCOMPARE(main.ReCalcButton->text(), QStringLiteral("! Recalc !"));
    QVERIFY(main.ReCalcButton->isEnabled());
    QCOMPARE(main.Panel2->palette().color(QPalette::Window), QColor(255, 0, 0));
    QVERIFY(shell.state.ReCalcFlag);

    shell.choose(main.Close1);
    QTEST(shell.enabled(item), "afterClose");
    QCOMPARE(main.Label2->text(), QStringLiteral("None selected"));
    QCOMPARE(main.ReCalcButton->text(), QStringLiteral("Calculated"));
    QVERIFY(!main.ReCalcButton->isEnabled());
    QCOMPARE(main.Panel2->palette().color(QPalette::Window),
             QApplication::palette().color(QPalette::Button));
    QVERIFY(!shell.state.ReCalcFlag);
    QVERIFY(!shell.module().results->active());
    QVERIFY(!shell.module().compinfo->active());
    QCOMPARE(shell.module().results->tableName(), QString());
    QCOMPARE(shell.module().compinfo->tableName(), QString());
    // The window's caption never names the competition.
    QCOMPARE(main.windowTitle(), QStringLiteral("Jigtally"));
}

void TestCompetitionFiles::dialogSettings() {
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    shell.dialogs.answerFile(std::nullopt);
    shell.choose(shell.main().Select1);
    shell.dialogs.answerFile(std::nullopt);
    shell.choose(shell.main().Create1);
    shell.dialogs.answerMessage(platform::Yes);
    shell.dialogs.answerFile(std::nullopt);
    shell.choose(shell.main().Delete1);

    const auto& shown = shell.dialogs.fileDialogs();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0].title, QStringLiteral("Select Competition Table"));
    QCOMPARE(shown[1].title, QStringLiteral("Create Competition Table"));
    QCOMPARE(shown[2].title, QStringLiteral("Delete Competition Table"));
    for (const auto& o : shown) {
        QCOMPARE(o.filter, QStringLiteral("Competition Tables (*.dbf)"));
        QCOMPARE(o.defaultSuffix, QStringLiteral("dbf"));
        QCOMPARE(o.folder, shell.state.DataFolder);
    }
    QVERIFY(shell.state.DataFolder.endsWith(QStringLiteral("/Jigtally 2008/data")));
    QVERIFY(shown[0].mustExist && shown[0].refuseReadOnly);
    QVERIFY(!shown[1].mustExist);
    QVERIFY(shown[2].mustExist && !shown[2].refuseReadOnly);
}

void TestCompetitionFiles::selectWhileOpenAndCancel() {
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    shell.select(QStringLiteral("u12.dbf"));
    QVERIFY(shell.module().compinfo->active());
    shell.dialogs.answerFile(std::nullopt);
    shell.choose(shell.main().Select1);
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("None selected"));
    QVERIFY(!shell.enabled(QStringLiteral("Close1")));
    QVERIFY(!shell.enabled(QStringLiteral("Results1")));
    QVERIFY(!shell.module().compinfo->active());
    QVERIFY(!shell.state.ReCalcFlag);
    // Closing does not bring back the commands that go with the first selection.
    QVERIFY(!shell.enabled(QStringLiteral("Create1")));
}

void TestCompetitionFiles::selectRefusesSystemFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::addRow("template") << "Template.DBF"
                              << "Cannot select system file template.dbf";
    QTest::addRow("info table") << "u12_inf.dbf"
                                << "Cannot select system file u12_inf.dbf";
    QTest::addRow("info in capitals") << "U12_INF.DBF"
                                      << "Cannot select system file u12_inf.dbf";
    QTest::addRow("template in a name") << "MyTemplate.dbf"
                                        << "Cannot select system file mytemplate.dbf";
}

void TestCompetitionFiles::selectRefusesSystemFiles() {
    QFETCH(QString, file);
    test::Shell shell;
    shell.select(file);
    QCOMPARE(shell.dialogs.messages().size(), 1);
    const auto& box = shell.dialogs.messages().first();
    QTEST(box.text, "message");
    QCOMPARE(box.type, MessageType::Error);
    QCOMPARE(box.buttons, platform::Buttons(platform::Cancel));
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("None selected"));
    QVERIFY(!shell.module().compinfo->active());
    QVERIFY(shell.enabled(QStringLiteral("Create1")));
}

void TestCompetitionFiles::selectExampleIsAllowed() {
    test::Shell shell;
    shell.select(QStringLiteral("example.dbf"));
    QCOMPARE(shell.dialogs.messages().size(), 0);
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("EXAMPLE"));
    QVERIFY(shell.module().compinfo->active());
    QVERIFY(shell.enabled(QStringLiteral("Close1")));
}

void TestCompetitionFiles::selectMixedCaseName() {
    test::Shell shell;
    // As Create leaves them: both files in the case the user typed.
    QFile::copy(shell.folder.filePath(QStringLiteral("template.DBF")),
                shell.folder.filePath(QStringLiteral("U12Girls.dbf")));
    QFile::copy(shell.folder.filePath(QStringLiteral("template_inf.dbf")),
                shell.folder.filePath(QStringLiteral("U12Girls_inf.dbf")));
    shell.select(QStringLiteral("U12Girls.dbf"));
    QCOMPARE(shell.dialogs.messages().size(), 0);
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("U12GIRLS"));
    QCOMPARE(shell.module().compinfo->tableName(), QStringLiteral("u12girls_inf.dbf"));
    QVERIFY(shell.module().compinfo->active());
    QCOMPARE(QFileInfo(shell.module().compinfo->resolvedPath()).fileName(),
             QStringLiteral("U12Girls_inf.dbf"));
    QCOMPARE(shell.module().results->tableName(), QStringLiteral("U12Girls.dbf"));
    QVERIFY(!shell.module().results->active());
    shell.module().results->open();
    QCOMPARE(shell.module().results->rowCount(), 0);
}

void TestCompetitionFiles::selectTidiesIndexes_data() {
    QTest::addColumn<QStringList>("before"); // name:field, "-" for an expression index
    QTest::addColumn<QStringList>("after");
    QTest::addRow("no index gets seqno") << QStringList{} << QStringList{"seqno:SEQUENCE"};
    QTest::addRow("working indexes go, seqno stays")
        << QStringList{"seqno:SEQUENCE", "JTRANK1:ASUBTOTAL", "posn:GRIDTOTAL"}
        << QStringList{"seqno:SEQUENCE"};
    QTest::addRow("only working indexes: seqno is added")
        << QStringList{"JTRANK1:ATOTAL"} << QStringList{"seqno:SEQUENCE"};
    QTest::addRow("another index on SEQUENCE is kept")
        << QStringList{"order:SEQUENCE", "name:NAME"} << QStringList{"order:SEQUENCE"};
    QTest::addRow("expression index goes")
        << QStringList{"seqno:SEQUENCE", "expr:-"} << QStringList{"seqno:SEQUENCE"};
}

void TestCompetitionFiles::selectTidiesIndexes() {
    QFETCH(QStringList, before);
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    const QString path = shell.folder.filePath(QStringLiteral("u12.dbf"));
    engine::IndexDefList defs;
    for (const QString& d : before) {
        const QStringList parts = d.split(QLatin1Char(':'));
        defs.push_back({parts[0], parts[1] == QStringLiteral("-") ? QString() : parts[1], false});
    }
    engine::IndexStore::write(path, defs);

    shell.select(QStringLiteral("u12.dbf"));
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QTEST(indexNames(path), "after");
    QVERIFY(!shell.module().results->active());
    QVERIFY(!shell.module().results->exclusive());
    QVERIFY(shell.enabled(QStringLiteral("Close1")));
}

void TestCompetitionFiles::selectWithoutInfoTable() {
    test::Shell shell;
    QFile::copy(shell.folder.filePath(QStringLiteral("template.DBF")),
                shell.folder.filePath(QStringLiteral("u12.dbf")));
    shell.select(QStringLiteral("u12.dbf"));
    QCOMPARE(shell.dialogs.messages().size(), 1);
    const auto& box = shell.dialogs.messages().first();
    QCOMPARE(box.type, MessageType::Error);
    QCOMPARE(box.title, QStringLiteral("Jigtally 2008"));
    QVERIFY2(box.text.contains(QStringLiteral("u12_inf.dbf")), qPrintable(box.text));
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("U12"));
    QVERIFY(!shell.module().compinfo->active());
    QVERIFY(!shell.enabled(QStringLiteral("Close1")));
    QVERIFY(!shell.enabled(QStringLiteral("Setup3")));
    QVERIFY(shell.enabled(QStringLiteral("Create1")));
    QVERIFY(!shell.state.ReCalcFlag);
}

// A selection that fails after opening the info table leaves it open; the next one
// must still work.
void TestCompetitionFiles::selectAfterHalfFinishedSelection() {
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    shell.folder.addCompetition(QStringLiteral("u14"));
    const QString u12 = shell.folder.filePath(QStringLiteral("u12.dbf"));
    engine::IndexStore::write(u12, {{QStringLiteral("work"), QStringLiteral("ASUBTOTAL"), false}});
    engine::Table holder; // someone else holds u12 for sole use: its index cannot be dropped
    holder.setTableName(u12);
    holder.setExclusive(true);
    holder.open();
    shell.select(QStringLiteral("u12.dbf"));
    QCOMPARE(shell.dialogs.messages().size(), 1);
    QVERIFY(shell.module().compinfo->active());
    QVERIFY(!shell.enabled(QStringLiteral("Close1")));

    shell.dialogs.clear();
    shell.select(QStringLiteral("u14.dbf"));
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("U14"));
    QCOMPARE(shell.module().compinfo->tableName(), QStringLiteral("u14_inf.dbf"));
    QVERIFY(shell.enabled(QStringLiteral("Close1")));
}

void TestCompetitionFiles::createMakesBothTables() {
    test::Shell shell;
    const QString path = shell.folder.filePath(QStringLiteral("New.dbf"));
    shell.dialogs.answerFile(path);
    shell.choose(shell.main().Create1);
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(QFileInfo::exists(shell.folder.filePath(QStringLiteral("New_inf.dbf"))));
    QCOMPARE(indexNames(path), QStringList{QStringLiteral("seqno:SEQUENCE")});
    engine::Table results;
    results.setTableName(path);
    results.open();
    QCOMPARE(results.rowCount(), 0);
    engine::Table info;
    info.setTableName(shell.folder.filePath(QStringLiteral("New_inf.dbf")));
    info.open();
    QCOMPARE(info.rowCount(), 1);
    // No message, a passing word in the status bar; nothing is opened and no menu changes.
    QCOMPARE(statusText(shell), QStringLiteral("Created NEW"));
    QVERIFY(!shell.main().statusBar()->isHidden());
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("None selected"));
    QVERIFY(shell.enabled(QStringLiteral("Create1")));
    QVERIFY(!shell.enabled(QStringLiteral("Close1")));
    QVERIFY(!shell.module().compinfo->active());
    QCOMPARE(QDir::currentPath(), shell.folder.path());
}

void TestCompetitionFiles::createRefusesExistingFile_data() {
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("chosen");
    QTest::addRow("same name") << "u12.dbf"
                               << "u12.dbf";
    QTest::addRow("differs in case") << "U12.DBF"
                                     << "u12.dbf";
}

void TestCompetitionFiles::createRefusesExistingFile() {
    QFETCH(QString, existing);
    QFETCH(QString, chosen);
    test::Shell shell;
    QFile::copy(shell.folder.filePath(QStringLiteral("example.dbf")),
                shell.folder.filePath(existing));
    const QString path = shell.folder.filePath(chosen);
    shell.dialogs.answerFile(path);
    shell.choose(shell.main().Create1);
    QCOMPARE(shell.dialogs.messageTexts(),
             QStringList{QStringLiteral("File ") + path + QStringLiteral(" already exists")});
    QCOMPARE(shell.dialogs.messages().first().buttons, platform::Buttons(platform::Cancel));
    QVERIFY(!QFileInfo::exists(shell.folder.filePath(QStringLiteral("u12_inf.dbf"))));
    QCOMPARE(statusText(shell), QString());
    // The existing table is untouched: it still holds the example's dancers.
    engine::Table t;
    t.setTableName(shell.folder.filePath(existing));
    t.open();
    QVERIFY(t.rowCount() > 0);
}

void TestCompetitionFiles::createReplacesExistingInfoTable() {
    test::Shell shell;
    QFile::copy(shell.folder.filePath(QStringLiteral("example_inf.dbf")),
                shell.folder.filePath(QStringLiteral("new_inf.dbf")));
    QVERIFY(!compNameOf(shell.folder.filePath(QStringLiteral("new_inf.dbf"))).isEmpty());
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("new.dbf")));
    shell.choose(shell.main().Create1);
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QCOMPARE(compNameOf(shell.folder.filePath(QStringLiteral("new_inf.dbf"))),
             compNameOf(shell.folder.filePath(QStringLiteral("template_inf.dbf"))));
}

void TestCompetitionFiles::createFailures() {
    test::Shell shell;
    // A folder that does not exist: the system refuses to create the file.
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("nowhere/new.dbf")));
    shell.choose(shell.main().Create1);
    // The box names the file and the system's reason under its caption.
    QCOMPARE(shell.dialogs.messageTexts(),
             QStringList{QStringLiteral("File Creation Error\n\nCannot create %1: %2")
                             .arg(shell.folder.filePath(QStringLiteral("nowhere/new.dbf")),
                                  QString::fromLocal8Bit(strerror(ENOENT)))});
    QCOMPARE(shell.dialogs.messages().first().buttons, platform::Buttons(platform::Ok));
    QCOMPARE(statusText(shell), QString());

    // No template: the table engine's own error, in the general error display.
    shell.dialogs.clear();
    QFile::remove(shell.folder.filePath(QStringLiteral("template.DBF")));
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("new.dbf")));
    shell.choose(shell.main().Create1);
    QCOMPARE(shell.dialogs.messages().size(), 1);
    QVERIFY2(shell.dialogs.messages().first().text.contains(QStringLiteral("template.DBF")),
             qPrintable(shell.dialogs.messages().first().text));
    QVERIFY(!QFileInfo::exists(shell.folder.filePath(QStringLiteral("new.dbf"))));

    // The results table is made, the info template is missing: the results table stays.
    shell.dialogs.clear();
    QFile::copy(shell.folder.filePath(QStringLiteral("example.dbf")),
                shell.folder.filePath(QStringLiteral("template.DBF")));
    QFile::remove(shell.folder.filePath(QStringLiteral("template_inf.dbf")));
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("new.dbf")));
    shell.choose(shell.main().Create1);
    QCOMPARE(shell.dialogs.messages().size(), 1);
    QVERIFY(shell.dialogs.messages().first().text.contains(QStringLiteral("template_inf.dbf")));
    QVERIFY(QFileInfo::exists(shell.folder.filePath(QStringLiteral("new.dbf"))));
    QVERIFY(!QFileInfo::exists(shell.folder.filePath(QStringLiteral("new_inf.dbf"))));
    QCOMPARE(statusText(shell), QString());
}

void TestCompetitionFiles::createdSystemNameCannotBeUsed() {
    test::Shell shell;
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("mytemplate.dbf")));
    shell.choose(shell.main().Create1);
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QVERIFY(QFileInfo::exists(shell.folder.filePath(QStringLiteral("mytemplate_inf.dbf"))));
    shell.select(QStringLiteral("mytemplate.dbf"));
    shell.dialogs.answerMessage(platform::Yes);
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("mytemplate.dbf")));
    shell.choose(shell.main().Delete1);
    QCOMPARE(shell.dialogs.messageTexts(),
             (QStringList{QStringLiteral("Cannot select system file mytemplate.dbf"),
                          QStringLiteral("This action DELETES competitions. Continue?"),
                          QStringLiteral("Cannot delete system file mytemplate.dbf")}));
    QVERIFY(QFileInfo::exists(shell.folder.filePath(QStringLiteral("mytemplate.dbf"))));
}

// Delete asks twice; only Yes to both deletes, and then both tables with their index file.
void TestCompetitionFiles::deleteAnswers_data() {
    QTest::addColumn<bool>("first");
    QTest::addColumn<bool>("fileChosen");
    QTest::addColumn<bool>("second");
    QTest::addColumn<bool>("deleted");
    QTest::addRow("no to the warning") << false << false << false << false;
    QTest::addRow("dialog cancelled") << true << false << false << false;
    QTest::addRow("no to the table") << true << true << false << false;
    QTest::addRow("yes to both") << true << true << true << true;
}

void TestCompetitionFiles::deleteAnswers() {
    QFETCH(bool, first);
    QFETCH(bool, fileChosen);
    QFETCH(bool, second);
    QFETCH(bool, deleted);
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("U12"));
    const QString path = shell.folder.filePath(QStringLiteral("U12.dbf"));
    engine::IndexStore::write(path, {{QStringLiteral("seqno"), QStringLiteral("SEQUENCE"), false}});
    // The competition's change log, and another competition's.
    const QString log = shell.folder.filePath(QStringLiteral("U12.log"));
    const QString otherLog = shell.folder.filePath(QStringLiteral("U13.log"));
    for (const QString& p : {log, otherLog})
        data::appendChangeLog(p, {{QStringLiteral("2026-12-11 10:00:00"),
                                   QStringLiteral("A1"),
                                   QStringLiteral("101"),
                                   {},
                                   QStringLiteral("70"),
                                   {}}});
    shell.dialogs.answerMessage(first ? platform::Yes : platform::No);
    if (first)
        shell.dialogs.answerFile(fileChosen ? std::optional<QString>(path) : std::nullopt);
    if (fileChosen)
        shell.dialogs.answerMessage(second ? platform::Yes : platform::No);
    shell.choose(shell.main().Delete1);
    QVERIFY(shell.dialogs.allAnswered());
    QStringList expected{QStringLiteral("This action DELETES competitions. Continue?")};
    if (fileChosen)
        expected << QStringLiteral("Are you sure you want to DELETE TABLE ") + path +
                        QLatin1Char('?');
    QCOMPARE(shell.dialogs.messageTexts(), expected);
    QCOMPARE(shell.dialogs.messages().first().type, MessageType::Warning);
    QCOMPARE(QFileInfo::exists(path), !deleted);
    QCOMPARE(QFileInfo::exists(engine::IndexStore::pathFor(path)), !deleted);
    QCOMPARE(QFileInfo::exists(shell.folder.filePath(QStringLiteral("U12_inf.dbf"))), !deleted);
    QCOMPARE(QFileInfo::exists(log), !deleted);
    QVERIFY(QFileInfo::exists(otherLog));
    QCOMPARE(statusText(shell), deleted ? QStringLiteral("Deleted U12") : QString());
    QVERIFY(shell.enabled(QStringLiteral("Delete1")));
}

void TestCompetitionFiles::deleteRefusesSystemFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addRow("example") << "Example.dbf";
    QTest::addRow("template") << "template.DBF";
    QTest::addRow("info table") << "example_inf.dbf";
}

void TestCompetitionFiles::deleteRefusesSystemFiles() {
    QFETCH(QString, file);
    test::Shell shell;
    QFile::rename(shell.folder.filePath(QStringLiteral("example.dbf")),
                  shell.folder.filePath(QStringLiteral("Example.dbf")));
    shell.dialogs.answerMessage(platform::Yes);
    shell.dialogs.answerFile(shell.folder.filePath(file));
    shell.choose(shell.main().Delete1);
    QCOMPARE(shell.dialogs.messageTexts().last(),
             QStringLiteral("Cannot delete system file ") + file.toLower());
    QCOMPARE(shell.dialogs.messages().last().buttons, platform::Buttons(platform::Cancel));
    QVERIFY(QFileInfo::exists(shell.folder.filePath(file)));
}

void TestCompetitionFiles::deleteWithoutInfoTable() {
    test::Shell shell;
    QFile::copy(shell.folder.filePath(QStringLiteral("template.DBF")),
                shell.folder.filePath(QStringLiteral("u12.dbf")));
    shell.dialogs.answerMessage(platform::Yes);
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("u12.dbf")));
    shell.dialogs.answerMessage(platform::Yes);
    shell.choose(shell.main().Delete1);
    QVERIFY(!QFileInfo::exists(shell.folder.filePath(QStringLiteral("u12.dbf"))));
    QCOMPARE(shell.dialogs.messages().size(), 3);
    const auto& box = shell.dialogs.messages().last();
    QCOMPARE(box.type, MessageType::Error);
    QCOMPARE(box.title, QStringLiteral("Jigtally 2008"));
    QVERIFY2(box.text.contains(QStringLiteral("u12_inf.dbf")), qPrintable(box.text));
}

void TestCompetitionFiles::deleteFileFailure() {
    test::Shell shell;
    // A folder by a table's name: the system will not unlink it.
    QDir(shell.folder.path()).mkdir(QStringLiteral("odd.dbf"));
    shell.dialogs.answerMessage(platform::Yes);
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("odd.dbf")));
    shell.dialogs.answerMessage(platform::Yes);
    shell.choose(shell.main().Delete1);
    QVERIFY2(shell.dialogs.messageTexts().last().startsWith(
                 QStringLiteral("File Delete Error\n\nCannot delete %1: ")
                     .arg(shell.folder.filePath(QStringLiteral("odd.dbf")))),
             qPrintable(shell.dialogs.messageTexts().last()));
    QCOMPARE(shell.dialogs.messages().last().buttons, platform::Buttons(platform::Ok));
}

// A change log that cannot be deleted is a file error, after the tables are gone.
void TestCompetitionFiles::deleteLogFailure() {
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    QVERIFY(QDir(shell.folder.path()).mkdir(QStringLiteral("u12.log")));
    QVERIFY(
        QFile(shell.folder.filePath(QStringLiteral("u12.log/keep"))).open(QIODevice::WriteOnly));
    shell.dialogs.answerMessage(platform::Yes);
    shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("u12.dbf")));
    shell.dialogs.answerMessage(platform::Yes);
    shell.choose(shell.main().Delete1);
    const QString box = shell.dialogs.messageTexts().last();
    QVERIFY2(box.startsWith(QStringLiteral("File Delete Error")), qPrintable(box));
    QVERIFY2(box.contains(shell.folder.filePath(QStringLiteral("u12.log"))), qPrintable(box));
    QVERIFY(!QFileInfo::exists(shell.folder.filePath(QStringLiteral("u12.dbf"))));
}

QTEST_MAIN(TestCompetitionFiles)
#include "tst_competitionfiles.moc"

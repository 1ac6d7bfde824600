#include "ShellFixture.h"
#include "app/CompetitionFiles.h"
#include "app/DataFolder.h"
#include "app/HelpViewer.h"
#include "app/TAboutBox.h"
#include "app/TEventNameForm.h"
#include "engine/AliasRegistry.h"
#include "engine/Table.h"
#include "marks/TDataEntry.h"
#include "marks/TSpreadsheet.h"
#include "marks/TSpreadsheet1.h"
#include "marks/Tseeallform.h"
#include "platform/HelpTopic.h"
#include "platform/MachineSettings.h"
#include "setup/TCompInfoSetup.h"
#include "setup/TCompSetup.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

using namespace jt;

namespace {

// Runs `step` as soon as the modal window `dialog` is up (from inside its event loop).
void whenShown(QDialog* dialog, std::function<void()> step) {
    QTimer::singleShot(0, dialog, [dialog, step = std::move(step)] {
        QTRY_VERIFY(dialog->isVisible());
        step();
    });
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpOrder();
    void menuCaptionsAndHints_data();
    void menuCaptionsAndHints();
    void aliasCreatedOnce();
    void existingAliasLeftAlone();
    void noDocumentsFolder();
    void launchersRefreshIndicator_data();
    void launchersRefreshIndicator();
    void recalculation();
    void failedRecalculation();
    void shutDownQuestion();
    void aboutBox();
    void aboutBoxShowsEveryLineWhole_data();
    void aboutBoxShowsEveryLineWhole();
    void helpTopics();
    void missingHelpFile();
    void windowLayout();
};

void TestMainWindow::startUpOrder() {
    test::Shell shell;
    const QStringList expected{"Main",         "CompInfoSetup", "DataModule1",  "DataEntry",
                               "Spreadsheet",  "RecallRept",    "RecallReport", "FinalReport",
                               "CompSetup",    "AboutBox",      "WinReport",    "WinRep",
                               "AdjAReport",   "AdjAForm",      "RecalRead",    "ColTotal",
                               "CompForm",     "RecallChk",     "FinalChk",     "FinalRept",
                               "WinReportP",   "SoloRepDlg",    "SoloWinForm",  "EventNameForm",
                               "Header",       "seeallform",    "Spreadsheet1", "FinalRept5x3",
                               "FinalRept3x4", "FinalRept3x3",  "RecallRept3",  "AdjRecCheck"};
    QCOMPARE(shell.windows->creationOrder(), expected);
    QCOMPARE(app::Main, &shell.main());
    QVERIFY(shell.state.DataModule1);
    QVERIFY(!shell.state.DataModule1->results->active());
    QCOMPARE(shell.state.DataModule1->results->tableName(), QStringLiteral("template.DBF"));
    shell.windows.reset();
    QVERIFY(!app::Main);
    QVERIFY(!shell.state.DataModule1);
    QVERIFY(!app::EventNameForm);
}

void TestMainWindow::menuCaptionsAndHints_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("topic");
    QTest::addRow("File") << "File1"
                          << "&File"
                          << "Manipulate competition tables" << 210;
    QTest::addRow("Select") << "Select1"
                            << "&Select Competition"
                            << "Select a competition to work with" << 0;
    QTest::addRow("Close") << "Close1"
                           << "C&lose Competition"
                           << "Close the currently open competition" << 0;
    QTest::addRow("Create") << "Create1"
                            << "&Create Competition"
                            << "Create a new competition table" << 0;
    QTest::addRow("Delete") << "Delete1"
                            << "&Delete Competition"
                            << "Delete an existing competition table" << 0;
    QTest::addRow("Set Event Name") << "SetEventName1"
                                    << "Set &Event Name"
                                    << "" << 0;
    QTest::addRow("Exit") << "Exit1"
                          << "E&xit"
                          << "Exit Jigtally" << 0;
    QTest::addRow("Setup") << "Setup3"
                           << "Setup"
                           << "" << 0;
    QTest::addRow("Competition Setup") << "SetUp2"
                                       << "&Competition Setup"
                                       << "" << 0;
    QTest::addRow("Dancer Setup") << "Setup1"
                                  << "&Dancer Setup"
                                  << "Enter dancer numbers, names and schools" << 0;
    QTest::addRow("Marks") << "Results1"
                           << "Marks"
                           << "Enter and correct data" << 220;
    QTest::addRow("Enter Marks") << "EnterSetScores1"
                                 << "&Enter Marks"
                                 << "" << 0;
    QTest::addRow("See All Marks") << "EnterScores1"
                                   << "&See All Marks"
                                   << "Rapid entry of scores" << 0;
    QTest::addRow("Reports") << "Reports1"
                             << "&Reports"
                             << "Preview and print reports" << 240;
    QTest::addRow("Competitor List")
        << "ListCompetitors1"
        << "&Competitor List"
        << "Preview/print list of competitors in current competition" << 0;
    QTest::addRow("Recall Report") << "Print1"
                                   << "&Recall Report+List"
                                   << "Preview/print recall report" << 0;
    QTest::addRow("Checklists") << "RecallChecklists1"
                                << "&PRINT Adj Checklists"
                                << "" << 0;
    QTest::addRow("Final Marks") << "FinalResults1"
                                 << "&Final Marks Report"
                                 << "Preview/print final marks report" << 0;
    QTest::addRow("Header Sheet") << "HeaderSheet1"
                                  << "&Header Sheet"
                                  << "" << 0;
    QTest::addRow("Grid Marks") << "ResultsbyAdjA1"
                                << "&Grid Marks"
                                << "Preview/print grid marks report" << 0;
    QTest::addRow("Winners") << "WinnersList1"
                             << "&Winners Roster"
                             << "Preview/print winners roster" << 0;
    QTest::addRow("Solos") << "SoloWinners1"
                           << "&Solos"
                           << "Preview/print solo winners" << 0;
    QTest::addRow("Help") << "Help1"
                          << "&Help"
                          << "Use the help system" << 250;
    QTest::addRow("Contents") << "Contents1"
                              << "&Contents"
                              << "Look at help contents" << 0;
    QTest::addRow("About") << "About1"
                           << "&About"
                           << "About Jigtally" << 0;
    QTest::addRow("Utils") << "Utils1"
                           << "Utils"
                           << "" << 0;
    QTest::addRow("SeeAll") << "SeeAllSpreadsheet1"
                            << "SeeAll Spreadsheet"
                            << "" << 0;
    QTest::addRow("View All Fields") << "DataEntry1"
                                     << "&View All Fields"
                                     << "View and correct individual scores" << 0;
}

void TestMainWindow::menuCaptionsAndHints() {
    QFETCH(QString, item);
    QFETCH(QString, hint);
    test::Shell shell;
    QAction* action = shell.main().findChild<QAction*>(item);
    QVERIFY(action);
    QTEST(action->text(), "caption");
    // An item without a hint shows no tool tip: Qt's own falls back to the caption.
    QCOMPARE(action->statusTip(), hint);
    if (!hint.isEmpty())
        QCOMPARE(action->toolTip(), hint);
    QTEST(platform::helpTopic(action), "topic");
}

void TestMainWindow::aliasCreatedOnce() {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
    {
        test::Shell shell{QString()}; // no alias yet
        QCOMPARE(shell.state.DataFolder,
                 home.path() + QStringLiteral("/Documents/Jigtally 2008/data"));
        QCOMPARE(shell.dialogs.messageTexts(),
                 QStringList{QStringLiteral("Alias \"jigtally 2008\" created")});
        QCOMPARE(shell.dialogs.messages().first().type, platform::MessageType::Information);
        auto& aliases = engine::AliasRegistry::instance();
        QVERIFY(aliases.exists(QStringLiteral("jigtally 2008")));
        QCOMPARE(aliases.folderOf(QStringLiteral("jigtally 2008")), shell.state.DataFolder);
        QCOMPARE(aliases.driverOf(QStringLiteral("jigtally 2008")), QStringLiteral("DBASE"));
        // Saved: a fresh read of the configuration still has it, and the next start is silent.
        const QString config = aliases.configFile();
        aliases.setConfigFile(config);
        QVERIFY(aliases.exists(QStringLiteral("jigtally 2008")));
        shell.dialogs.clear();
        shell.windows.reset();
        shell.windows = std::make_unique<app::ProgramWindows>(shell.state);
        QCOMPARE(shell.dialogs.messageTexts(), QStringList());
        // Start-up creates no folder.
        QVERIFY(!QFileInfo::exists(home.path() + QStringLiteral("/Documents")));
    }
}

void TestMainWindow::existingAliasLeftAlone() {
    test::Shell shell; // the alias names the temporary folder, not the data folder
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QCOMPARE(engine::AliasRegistry::instance().folderOf(QStringLiteral("jigtally 2008")),
             shell.folder.path());
    QVERIFY(shell.state.DataFolder != shell.folder.path());
}

void TestMainWindow::noDocumentsFolder() {
    test::TempDataFolder folder{QString()};
    test::ScriptedDialogs dialogs;
    struct View final : app::CompetitionView {
        bool competitionOpen() const override { return false; }
        void showCompetitionName(const QString&) override {}
        void enableCompetitionCommands(bool) override {}
        void disableFileCommands() override {}
        void CheckReCalcFlag() override {}
        void showStatus(const QString&) override {}
    } view;
    ProgramState state;
    app::CompetitionFiles files(state, view);
    try {
        app::prepareDataFolder(state, QString(), files);
        QFAIL("no error raised");
    } catch (const std::exception& e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QStringLiteral("Could not find MyDocuments folder location."));
    }
    QCOMPARE(state.DataFolder, QString());
    QCOMPARE(files.SelectOpen().folder, QString());
    QVERIFY(!engine::AliasRegistry::instance().exists(QStringLiteral("jigtally 2008")));
    QCOMPARE(dialogs.messages().size(), 0);

    app::prepareDataFolder(state, QStringLiteral("/home/someone/Documents"), files);
    QCOMPARE(state.DataFolder, QStringLiteral("/home/someone/Documents/Jigtally 2008/data"));
    QCOMPARE(files.DeleteOpen().folder, state.DataFolder);
    QVERIFY(!QFileInfo::exists(state.DataFolder));
}

void TestMainWindow::launchersRefreshIndicator_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addRow("Competition Setup") << "SetUp2"
                                       << "CompInfoSetup";
    QTest::addRow("Dancer Setup") << "Setup1"
                                  << "CompSetup";
    QTest::addRow("Enter Marks") << "EnterSetScores1"
                                 << "Spreadsheet1";
    QTest::addRow("See All Marks") << "EnterScores1"
                                   << "Spreadsheet";
    QTest::addRow("SeeAll Spreadsheet") << "SeeAllSpreadsheet1"
                                        << "seeallform";
    QTest::addRow("View All Fields") << "DataEntry1"
                                     << "DataEntry";
}

// A post made while a window is open shows on the indicator once the window closes.
void TestMainWindow::launchersRefreshIndicator() {
    QFETCH(QString, item);
    QFETCH(QString, window);
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    shell.select(QStringLiteral("u12.dbf"));
    shell.state.ReCalcFlag = false;
    shell.main().CheckReCalcFlag();
    auto* dialog = shell.main().findChild<QDialog*>(window);
    QVERIFY(dialog);
    bool wasOpen = false;
    whenShown(dialog, [&] {
        wasOpen = dialog->isModal();
        shell.state.ReCalcFlag = true; // as the data module's after-post handler does
        QCOMPARE(shell.main().ReCalcButton->text(), QStringLiteral("Calculated"));
        dialog->reject();
    });
    shell.choose(shell.main().findChild<QAction*>(item));
    QVERIFY(wasOpen);
    QCOMPARE(shell.main().ReCalcButton->text(), QStringLiteral("! Recalc !"));
    QVERIFY(shell.main().ReCalcButton->isEnabled());
}

void TestMainWindow::recalculation() {
    test::Shell shell;
    shell.select(QStringLiteral("example.dbf"));
    QVERIFY(shell.main().ReCalcButton->isEnabled());
    QTest::mouseClick(shell.main().ReCalcButton, Qt::LeftButton);
    QCOMPARE(shell.dialogs.messageTexts(), QStringList());
    QVERIFY(!shell.state.ReCalcFlag);
    QCOMPARE(shell.main().ReCalcButton->text(), QStringLiteral("Calculated"));
    QVERIFY(!shell.main().ReCalcButton->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    // The stages ran: the example's dancers now carry their recall totals.
    engine::Table& results = *shell.module().results;
    results.close();
    results.open();
    double total = 0;
    for (results.first(); !results.eof(); results.next())
        total += results.fieldByName(QStringLiteral("RECALLTTL"))->asFloat();
    QVERIFY(total > 0);
}

void TestMainWindow::failedRecalculation() {
    test::Shell shell;
    shell.select(QStringLiteral("example.dbf"));
    engine::Table holder; // another user holds the results table
    holder.setTableName(shell.folder.filePath(QStringLiteral("example.dbf")));
    holder.setExclusive(true);
    holder.open();
    QTest::mouseClick(shell.main().ReCalcButton, Qt::LeftButton);
    QCOMPARE(shell.dialogs.messages().size(), 1);
    const auto& box = shell.dialogs.messages().first();
    QCOMPARE(box.type, platform::MessageType::Error);
    QCOMPARE(box.title, QStringLiteral("Jigtally 2008"));
    QVERIFY2(box.text.contains(QStringLiteral("in use")), qPrintable(box.text));
    QVERIFY(shell.state.ReCalcFlag);
    QCOMPARE(shell.main().ReCalcButton->text(), QStringLiteral("! Recalc !"));
    QVERIFY(shell.main().ReCalcButton->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::shutDownQuestion() {
    test::Shell shell;
    shell.folder.addCompetition(QStringLiteral("u12"));
    shell.main().show();
    QVERIFY(QTest::qWaitForWindowExposed(&shell.main()));
    shell.select(QStringLiteral("u12.dbf"));
    QSignalSpy confirmed(&shell.main(), &app::TMain::closeConfirmed);

    shell.dialogs.answerMessage(platform::No);
    QVERIFY(!shell.main().close()); // the window's close control
    shell.dialogs.answerMessage(platform::No);
    shell.choose(shell.main().Exit1);
    QCOMPARE(shell.dialogs.messageTexts(), (QStringList{"Close Jigtally?", "Close Jigtally?"}));
    QCOMPARE(shell.dialogs.messages().first().type, platform::MessageType::Confirmation);
    QCOMPARE(shell.dialogs.messages().first().buttons,
             platform::Buttons(platform::Yes | platform::No));
    QVERIFY(shell.main().isVisible());
    QCOMPARE(confirmed.count(), 0);
    QVERIFY(shell.module().compinfo->active());
    QCOMPARE(shell.main().Label2->text(), QStringLiteral("U12"));

    shell.dialogs.answerMessage(platform::Yes);
    shell.choose(shell.main().Exit1);
    QVERIFY(!shell.main().isVisible());
    QCOMPARE(confirmed.count(), 1);
}

void TestMainWindow::aboutBox() {
    test::Shell shell;
    shell.state.GlobalSchool = QStringLiteral("Scoil Rince Example");
    auto* about = app::AboutBox;
    QString shownName, shownFolder;
    whenShown(about, [&] {
        shownName = about->Edit1->text();
        shownFolder = about->DataPath->text();
        QVERIFY(about->Edit1->isReadOnly() && about->DataPath->isReadOnly());
        QVERIFY(about->OKButton->isDefault());
        QTest::mouseClick(about->OKButton, Qt::LeftButton);
    });
    shell.choose(shell.main().About1);
    QVERIFY(!about->isVisible());
    QCOMPARE(shownName, QStringLiteral("Scoil Rince Example"));
    QCOMPARE(shownFolder, shell.state.DataFolder);
    QCOMPARE(about->windowTitle(), QStringLiteral("About"));
    QCOMPARE(about->Version->text(), QStringLiteral("Version 0.1 2008"));
}

void TestMainWindow::aboutBoxShowsEveryLineWhole_data() {
    QTest::addColumn<QString>("eventName");
    QTest::addColumn<QString>("dataFolder");
    QTest::addRow("nothing stored") << ""
                                    << "/home/ann/Documents/Jigtally 2008/data";
    QTest::addRow("thirty wide letters")
        << QString(30, QLatin1Char('W'))
        << "/home/someone.with.a.long.name/Documents/Jigtally 2008/data";
    QTest::addRow("accents") << "Feis Átha Cliath agus Mumhan"
                             << "/srv/scoring/Éire/Documents/Jigtally 2008/data";
}

// Every line of the About box shows whole at the size the box takes: no label is cut,
// and each edit box shows its first and its last character at once.
void TestMainWindow::aboutBoxShowsEveryLineWhole() {
    QFETCH(QString, eventName);
    QFETCH(QString, dataFolder);
    test::Shell shell;
    shell.state.GlobalSchool = eventName;
    shell.state.DataFolder = dataFolder;
    auto* about = app::AboutBox;
    QStringList cut;
    QSize size;
    whenShown(about, [&] {
        size = about->size();
        for (const QLabel* label : about->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const QFontMetrics fm(label->font());
            if (label->contentsRect().width() < fm.horizontalAdvance(label->text()) ||
                label->contentsRect().height() < fm.height())
                cut << label->text();
        }
        for (QLineEdit* edit : {about->Edit1, about->DataPath}) {
            edit->end(false);
            const int atLeftEdge =
                edit->cursorPositionAt(QPoint(edit->contentsRect().left() + 4, edit->height() / 2));
            if (atLeftEdge != 0 || edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().right() >
                                       edit->contentsRect().right())
                cut << edit->text();
        }
        about->accept();
    });
    shell.choose(shell.main().About1);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
    QVERIFY(size.width() >= 320);
    QCOMPARE(about->Edit1->text(), eventName);
    QCOMPARE(about->DataPath->text(), dataFolder);
}

// F1 asks for the topic of the highlighted menu item or the window in front.
void TestMainWindow::helpTopics() {
    test::Shell shell;
    QList<int> asked;
    platform::setHelpHandler([&](int topic) { asked << topic; });
    app::HelpKeyFilter filter;
    qApp->installEventFilter(&filter);
    auto& main = shell.main();
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));

    QTest::keyClick(&main, Qt::Key_F1);
    QCOMPARE(asked, QList<int>{10});

    main.File1->popup(main.mapToGlobal(QPoint(0, 0)));
    QTRY_VERIFY(QApplication::activePopupWidget() == main.File1);
    main.File1->setActiveAction(main.Select1);
    QTest::keyClick(main.File1, Qt::Key_F1);
    QCOMPARE(asked.last(), 210); // the item has none of its own: its menu's
    QTRY_VERIFY(!QApplication::activePopupWidget());

    auto* form = app::EventNameForm;
    int inForm = 0;
    const QString settings = shell.folder.filePath(QStringLiteral("registry.ini"));
    QFile f(settings);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    platform::setMachineSettingsFile(settings);
    whenShown(form, [&] {
        QTest::keyClick(form->EventEdit, Qt::Key_F1);
        inForm = asked.last();
        form->reject();
    });
    shell.choose(main.SetEventName1);
    QCOMPARE(inForm, 560);
    qApp->removeEventFilter(&filter);
    platform::setHelpHandler({});
}

void TestMainWindow::missingHelpFile() {
    test::Shell shell;
    app::HelpViewer viewer;
    viewer.setHelpFolder(shell.folder.filePath(QStringLiteral("no-help")));
    viewer.showTopic(0);
    QCOMPARE(shell.dialogs.messages().size(), 1);
    QVERIFY(shell.dialogs.messages().first().text.contains(QStringLiteral("contents.html")));
    QVERIFY(!viewer.isVisible());

    shell.dialogs.clear();
    viewer.setHelpFolder(QStringLiteral(JIGTALLY_HELP_DIR));
    for (int topic : {0, 10, 210, 220, 240, 250, 340, 560}) {
        viewer.showTopic(topic);
        QCOMPARE(shell.dialogs.messageTexts(), QStringList());
        QVERIFY(viewer.isVisible());
        QVERIFY(!viewer.browser()->toPlainText().trimmed().isEmpty());
    }
    viewer.showTopic(999);
    QCOMPARE(shell.dialogs.messages().size(), 1);
}

void TestMainWindow::windowLayout() {
    test::Shell shell;
    auto& main = shell.main();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(main.size(), QSize(312, 386));
    QCOMPARE(main.Panel1->height(), 51);
    QCOMPARE(main.Panel2->size(), QSize(105, 33));
    QCOMPARE(main.ReCalcButton->geometry(), QRect(8, 8, 89, 19));
    QVERIFY(main.Label1->font().bold());
    QCOMPARE(main.Label1->font().pixelSize(), 13);
    for (const QSize size : {QSize(312, 386), QSize(600, 500), QSize(240, 200)}) {
        main.resize(size);
        QTRY_COMPARE(main.size(), size);
        // The panel keeps to the bottom edge and the indicator to its right.
        const QRect panel = main.Panel1->geometry();
        QCOMPARE(main.Panel1->mapTo(&main, QPoint(0, panel.height())).y(), main.height());
        QCOMPARE(main.Panel1->width(), main.width());
        QVERIFY(main.Panel2->geometry().right() < main.Panel1->width());
        QVERIFY(main.Panel2->geometry().left() > main.Label1->geometry().left());
        const QPoint picture = main.Image1->mapTo(&main, main.Image1->rect().center());
        QVERIFY(qAbs(picture.x() - main.width() / 2) <= 1);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

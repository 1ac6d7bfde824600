// Starts the real program in a real X server and walks File > Create, Select, Close and
// Exit with its real widgets: keys go to the menu bar and menus, file names are typed
// into the file dialogs, message boxes are answered by clicking their buttons.
#include "Desktop.h"
#include "app/JigtallyApplication.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "data/ProgramState.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace jt;

namespace {

using e2e::boxSaying;
using e2e::fileDialogTitled;

e2e::Home* home = nullptr;

QString dataFolder() {
    return home->dataFolder();
}
QString outputFile(const QString& name) {
    return e2e::outputFile(QStringLiteral("shell"), name);
}

app::TMain* mainIdle() {
    app::TMain* main = app::Main;
    if (!main || !main->isVisible() || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return nullptr;
    return main;
}

bool mainActive() {
    return e2e::activeAndIdle(app::Main);
}

void typeFileName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

void saveScreenshot(QWidget* window, const QString& name) {
    e2e::saveScreenshot(window, outputFile(name));
}

void openFileMenu() {
    QTest::keyClick(app::Main, Qt::Key_F, Qt::AltModifier);
}

bool fileMenuOpen() {
    return app::Main && QApplication::activePopupWidget() == app::Main->File1;
}

} // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void createSelectCloseExit();
};

void TestEndToEnd::createSelectCloseExit() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QStringList seen;
    const QSize designed(312, 386);
    std::vector<e2e::Step> steps{
        {"first start: the alias is created",
         [] { return boxSaying(QStringLiteral("Alias \"jigtally 2008\" created")); },
         [&] {
             seen << QStringLiteral("alias message");
             QTest::mouseClick(boxSaying(QStringLiteral("Alias \"jigtally 2008\" created"))
                                   ->button(QMessageBox::Ok),
                               Qt::LeftButton);
         }},
        {"main window shown",
         [] { return mainActive() && QTest::qWaitForWindowExposed(app::Main, 10); },
         [] {
             saveScreenshot(app::Main, QStringLiteral("shell-start.png"));
             openFileMenu();
         }},
        {"File menu for Create", fileMenuOpen,
         [] { QTest::keyClick(app::Main->File1, Qt::Key_C); }},
        {"Create dialog",
         [] { return fileDialogTitled(QStringLiteral("Create Competition Table")); },
         [&] {
             auto* dialog = fileDialogTitled(QStringLiteral("Create Competition Table"));
             seen << QStringLiteral("create dialog in ") + dialog->directory().absolutePath();
             typeFileName(dialog, QStringLiteral("U12Girls"));
         }},
        {"competition created",
         [] {
             return mainActive() &&
                    QFile::exists(dataFolder() + QStringLiteral("/U12Girls_inf.dbf"));
         },
         openFileMenu},
        {"File menu for Select", fileMenuOpen,
         [] { QTest::keyClick(app::Main->File1, Qt::Key_S); }},
        {"Select dialog",
         [] { return fileDialogTitled(QStringLiteral("Select Competition Table")); },
         [] {
             typeFileName(fileDialogTitled(QStringLiteral("Select Competition Table")),
                          QStringLiteral("U12Girls.dbf"));
         }},
        {"competition open",
         [] { return mainActive() && app::Main->Label2->text() == QStringLiteral("U12GIRLS"); },
         [&] {
             QCOMPARE(app::Main->size(), designed);
             QCOMPARE(app::Main->ReCalcButton->text(), QStringLiteral("! Recalc !"));
             saveScreenshot(app::Main, QStringLiteral("shell-open.png"));
             app::Main->resize(560, 470);
         }},
        {"made larger", [] { return mainIdle() && app::Main->size() == QSize(560, 470); },
         [] {
             saveScreenshot(app::Main, QStringLiteral("shell-open-large.png"));
             app::Main->resize(250, 230);
         }},
        {"made smaller", [] { return mainIdle() && app::Main->size() == QSize(250, 230); },
         [&] {
             saveScreenshot(app::Main, QStringLiteral("shell-open-small.png"));
             app::Main->resize(designed);
         }},
        {"back to its size", [&] { return mainIdle() && app::Main->size() == designed; },
         [] { app::Main->close(); }},
        {"close control asks", [] { return boxSaying(QStringLiteral("Close Jigtally?")); },
         [&] {
             seen << QStringLiteral("close question");
             QTest::mouseClick(
                 boxSaying(QStringLiteral("Close Jigtally?"))->button(QMessageBox::No),
                 Qt::LeftButton);
         }},
        {"still running after No",
         [] { return mainActive() && app::Main->Label2->text() == QStringLiteral("U12GIRLS"); },
         openFileMenu},
        {"File menu for Close", fileMenuOpen, [] { QTest::keyClick(app::Main->File1, Qt::Key_L); }},
        {"competition closed",
         [] {
             return mainActive() && app::Main->Label2->text() == QStringLiteral("None selected");
         },
         [] {
             QCOMPARE(app::Main->ReCalcButton->text(), QStringLiteral("Calculated"));
             openFileMenu();
         }},
        {"File menu for Exit", fileMenuOpen, [] { QTest::keyClick(app::Main->File1, Qt::Key_X); }},
        {"Exit asks", [] { return boxSaying(QStringLiteral("Close Jigtally?")); },
         [&] {
             seen << QStringLiteral("exit question");
             QTest::mouseClick(
                 boxSaying(QStringLiteral("Close Jigtally?"))->button(QMessageBox::Yes),
                 Qt::LeftButton);
         }},
    };
    ProgramState state;
    const e2e::WalkResult walk =
        e2e::walkProgram(state, std::move(steps), 60000, outputFile(QStringLiteral("stuck.png")));

    QVERIFY2(walk.finished, qPrintable(QStringLiteral("stuck at: ") + walk.stuckAt));
    const int code = walk.exitCode;
    QCOMPARE(code, 0);
    QVERIFY(!app::Main); // every window was destroyed on the way out
    QCOMPARE(seen,
             (QStringList{QStringLiteral("alias message"),
                          QStringLiteral("create dialog in ") + dataFolder(),
                          QStringLiteral("close question"), QStringLiteral("exit question")}));
    QVERIFY(QFile::exists(dataFolder() + QStringLiteral("/U12Girls.dbf")));
    QVERIFY(QFile::exists(dataFolder() + QStringLiteral("/U12Girls_inf.dbf")));
    QCOMPARE(state.DataFolder, dataFolder());
    for (const char* shot :
         {"shell-start.png", "shell-open.png", "shell-open-large.png", "shell-open-small.png"})
        QVERIFY2(QFile::exists(outputFile(QString::fromLatin1(shot))), shot);
}

int main(int argc, char** argv) {
    // A home of its own: documents folder with the system tables, configuration folder
    // (where the alias will be saved) and the machine settings file, all fresh.
    e2e::Home fresh;
    home = &fresh;
    app::JigtallyApplication application(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_e2e_shell.moc"

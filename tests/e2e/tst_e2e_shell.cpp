// Starts the real program in a real X server and walks File > Create, Select, Close and
// Exit with its real widgets: keys go to the menu bar and menus, file names are typed
// into the file dialogs, message boxes are answered by clicking their buttons.
#include "app/JigtallyApplication.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "data/ProgramState.h"
#include "platform/MachineSettings.h"
#include "support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace jt;

namespace {

QTemporaryDir* home = nullptr;

QString dataFolder() {
    return home->path() + QStringLiteral("/Documents/Jigtally 2008/data");
}
QString outputFile(const QString& name) {
    return QStringLiteral(JIGTALLY_E2E_OUTPUT_DIR "/") + name;
}

// A box of the given text in front, or nothing.
QMessageBox* boxSaying(const QString& text) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box && box->isVisible() && box->text() == text ? box : nullptr;
}

QFileDialog* fileDialogTitled(const QString& title) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() && dialog->windowTitle() == title ? dialog : nullptr;
}

app::TMain* mainIdle() {
    app::TMain* main = app::Main;
    if (!main || !main->isVisible() || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return nullptr;
    return main;
}

// The main window idle and active. Without a window manager nobody gives the focus back
// when a dialog closes, so the walk asks for it as a person would click the window.
bool mainActive() {
    app::TMain* main = mainIdle();
    if (!main)
        return false;
    if (QApplication::activeWindow() == main)
        return true;
    main->activateWindow();
    return false;
}

void typeFileName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

void saveScreenshot(QWidget* window, const QString& name) {
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    QVERIFY(!shot.isNull());
    QVERIFY(shot.save(outputFile(name)));
}

// One step of the walk: it runs once `ready` holds; its action may open a modal window,
// so the next step is already waiting in the timer queue when it does.
struct Step {
    QString what;
    std::function<bool()> ready;
    std::function<void()> act;
};

class Walk final : public QObject {
public:
    explicit Walk(std::vector<Step> steps) : m_steps(std::move(steps)) {}
    void start() {
        QTimer::singleShot(100, this, [this] { poll(); });
    }
    bool finished() const { return m_next == m_steps.size(); }
    QString stuckAt() const { return finished() ? QString() : m_steps[m_next].what; }

private:
    void poll() {
        if (finished())
            return;
        Step& step = m_steps[m_next];
        if (!step.ready()) {
            QTimer::singleShot(50, this, [this] { poll(); });
            return;
        }
        ++m_next;
        QTimer::singleShot(50, this, [this] { poll(); });
        step.act();
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
};

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
    std::vector<Step> steps{
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
    Walk walk(std::move(steps));
    walk.start();
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(3);
    });
    watchdog.start(60000);

    ProgramState state;
    const int code = app::runProgram(*qApp, state);

    QVERIFY2(!timedOut, qPrintable(QStringLiteral("stuck at: ") + walk.stuckAt()));
    QVERIFY(walk.finished());
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
    QTemporaryDir dir;
    home = &dir;
    qputenv("HOME", QFile::encodeName(dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/.config")));
    QDir().mkpath(dataFolder());
    const QDir tables(test::systemTablesFolder());
    for (const QString& file : tables.entryList(QDir::Files))
        QFile::copy(tables.filePath(file), dataFolder() + QLatin1Char('/') + file);
    const QString settings = dir.path() + QStringLiteral("/registry.ini");
    QFile file(settings);
    if (file.open(QIODevice::WriteOnly))
        file.write("[SOFTWARE\\Jigtally Software\\Jigtally 2008\\0.1.0.0]\n");
    file.close();
    platform::setMachineSettingsFile(settings);

    app::JigtallyApplication application(argc, argv);
    TestEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_e2e_shell.moc"

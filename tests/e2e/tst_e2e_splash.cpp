// The first start under a window manager that keeps stay-on-top windows on top: the
// splash window is up while the main window is built, and the box saying that the
// alias was created must open in front of it, not hidden under it.
#include "app/JigtallyApplication.h"
#include "app/Startup.h"
#include "data/ProgramState.h"
#include "platform/MachineSettings.h"
#include "support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <xcb/xcb.h>

using namespace jt;

namespace {

QTemporaryDir* home = nullptr;

QString dataFolder() {
    return home->path() + QStringLiteral("/Documents/Jigtally 2008/data");
}

xcb_connection_t* connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow() {
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

// The children of a window, bottom of the stack first.
std::vector<xcb_window_t> childrenOf(xcb_window_t window, xcb_window_t* parent = nullptr) {
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
        xcb_query_tree_reply(connection(), xcb_query_tree(connection(), window), nullptr), &free);
    if (!tree)
        return {};
    if (parent)
        *parent = tree->parent;
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
}

// The window as the window manager stacks it: its frame, the child of the root that
// holds it. Nothing while the window manager has not framed it yet.
std::optional<xcb_window_t> frameOf(xcb_window_t window) {
    const xcb_window_t root = rootWindow();
    xcb_window_t parent = 0;
    childrenOf(window, &parent);
    if (parent == root || parent == 0)
        return std::nullopt;
    while (parent != root) {
        window = parent;
        childrenOf(window, &parent);
    }
    return window;
}

bool windowManagerRunning() {
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(connection(), xcb_intern_atom(connection(), 1, sizeof name - 1, name),
                              nullptr),
        &free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> property(
        xcb_get_property_reply(
            connection(),
            xcb_get_property(connection(), 0, rootWindow(), atom->atom, XCB_ATOM_WINDOW, 0, 1),
            nullptr),
        &free);
    return property && xcb_get_property_value_length(property.get()) > 0;
}

QWidget* splashWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("SplashScreen") && w->isVisible())
            return w;
    return nullptr;
}

QMessageBox* aliasBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box && box->isVisible() &&
                   box->text() == QStringLiteral("Alias \"jigtally 2008\" created")
               ? box
               : nullptr;
}

} // namespace

class TestSplash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartBoxAboveTheSplash();
};

void TestSplash::firstStartBoxAboveTheSplash() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(connection());
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty())
        QSKIP("openbox, the window manager this check runs under, is not installed");
    QProcess manager;
    manager.start(openbox, {QStringLiteral("--sm-disable")});
    QVERIFY(manager.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(windowManagerRunning(), 20000);

    // Both windows framed by the window manager, the box in front: where the frames stand
    // among the root's children, bottom first.
    bool seenBox = false;
    bool splashUp = false;
    int boxIndex = -1;
    int splashIndex = -1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QMessageBox* box = aliasBox();
        QWidget* splash = splashWindow();
        if (!box)
            return;
        seenBox = true;
        splashUp = splash != nullptr;
        if (!splash) {
            box->accept();
            return;
        }
        xcb_flush(connection());
        const auto boxFrame = frameOf(box->winId());
        const auto splashFrame = frameOf(splash->winId());
        if (!boxFrame || !splashFrame)
            return; // not managed yet
        const std::vector<xcb_window_t> stack = childrenOf(rootWindow());
        for (int i = 0; i < int(stack.size()); ++i) {
            if (stack[i] == *boxFrame)
                boxIndex = i;
            if (stack[i] == *splashFrame)
                splashIndex = i;
        }
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    // Once the main window is up, the program is ended.
    QTimer end;
    QObject::connect(&end, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Main") && w->isVisible() &&
                !QApplication::activeModalWidget())
                QCoreApplication::exit(0);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    poll.start(50);
    end.start(100);
    watchdog.start(60000);

    ProgramState state;
    const int code = app::runProgram(*qApp, state);
    manager.terminate();
    manager.waitForFinished(10000);

    QCOMPARE(code, 0);
    QVERIFY(seenBox);
    QVERIFY(splashUp); // the box came while the splash was up
    QVERIFY(boxIndex >= 0 && splashIndex >= 0);
    QVERIFY2(boxIndex > splashIndex,
             qPrintable(QStringLiteral("box at %1, splash at %2").arg(boxIndex).arg(splashIndex)));
}

int main(int argc, char** argv) {
    // A home of its own with the system tables and no alias yet: a first start.
    QTemporaryDir dir;
    home = &dir;
    qputenv("HOME", QFile::encodeName(dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/.config")));
    QDir().mkpath(dataFolder());
    const QDir tables(test::systemTablesFolder());
    for (const QString& file : tables.entryList(QDir::Files))
        QFile::copy(tables.filePath(file), dataFolder() + QLatin1Char('/') + file);
    platform::setMachineSettingsFile(dir.path() + QStringLiteral("/registry.ini"));

    app::JigtallyApplication application(argc, argv);
    TestSplash test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_e2e_splash.moc"

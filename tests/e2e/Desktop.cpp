#include "Desktop.h"

#include "app/Startup.h"
#include "platform/MachineSettings.h"
#include "support/TempDataFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace jt::e2e {

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

QString xdotool() {
    return QStandardPaths::findExecutable(QStringLiteral("xdotool"));
}

void runXdotool(const QStringList& args) {
    QProcess p;
    p.start(xdotool(), args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        std::fprintf(stderr, "xdotool %s failed: %s\n", qPrintable(args.join(QLatin1Char(' '))),
                     p.readAllStandardError().constData());
}

} // namespace

Home::Home() {
    qputenv("HOME", QFile::encodeName(m_dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/.config")));
    QDir().mkpath(dataFolder());
    const QDir tables(test::systemTablesFolder());
    for (const QString& file : tables.entryList(QDir::Files))
        QFile::copy(tables.filePath(file), dataFolder() + QLatin1Char('/') + file);
    const QString settings = m_dir.path() + QStringLiteral("/registry.ini");
    QFile file(settings);
    if (file.open(QIODevice::WriteOnly))
        file.write("[SOFTWARE\\Jigtally Software\\Jigtally 2008\\0.1.0.0]\ncompany=\"\"\n");
    file.close();
    platform::setMachineSettingsFile(settings);
}

QString Home::dataFolder() const {
    return m_dir.path() + QStringLiteral("/Documents/Jigtally 2008/data");
}

QString outputFile(const QString& test, const QString& name) {
    const QString folder = QStringLiteral(JIGTALLY_E2E_OUTPUT_DIR "/screenshots/") + test;
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}

bool peerAvailable() {
    return QFile::exists(kPython) && runPeer({QStringLiteral("check")});
}

std::optional<QString> runPeer(const QStringList& args) {
    QProcess p;
    p.start(kPython, QStringList{QStringLiteral(JIGTALLY_E2E_PEER)} + args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "e2e_peer.py %s failed: %s\n", qPrintable(args.join(QLatin1Char(' '))),
                     p.readAllStandardError().constData());
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool xdotoolAvailable() {
    return !xdotool().isEmpty();
}

void pressKeys(const QString& keys) {
    runXdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")} +
               keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

void typeText(const QString& text) {
    runXdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

void clickAt(QWidget* widget, int x, int y, int clicks) {
    const QPoint global = widget->mapToGlobal(QPoint(x, y));
    runXdotool({QStringLiteral("mousemove"), QString::number(global.x()),
                QString::number(global.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
                QString::number(clicks), QStringLiteral("--delay"), QStringLiteral("80"),
                QStringLiteral("1")});
}

void click(QWidget* widget, int clicks) {
    // A radio button or a check box takes clicks on its box and its text only, and may
    // be much wider than they are: it is clicked on its box.
    if (qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget))
        clickAt(widget, 7, widget->height() / 2, clicks);
    else
        clickAt(widget, widget->width() / 2, widget->height() / 2, clicks);
}

void clickMenuTitle(QMenu* menu) {
    auto* bar = qobject_cast<QMenuBar*>(menu->parentWidget());
    if (!bar)
        return;
    const QRect r = bar->actionGeometry(menu->menuAction());
    clickAt(bar, r.center().x(), r.center().y());
}

void clickMenuItem(QMenu* menu, QAction* item) {
    const QRect r = menu->actionGeometry(item);
    clickAt(menu, r.center().x(), r.center().y());
}

void saveScreenshot(QWidget* window, const QString& file) {
    QWidget* top = window->window();
    const QPixmap shot = top->screen()->grabWindow(top->winId());
    if (shot.isNull() || !shot.save(file))
        std::fprintf(stderr, "screenshot %s not saved\n", qPrintable(file));
}

QMessageBox* boxSaying(const QString& text) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    return box && box->isVisible() && box->text() == text ? box : nullptr;
}

QFileDialog* fileDialogTitled(const QString& title) {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->isVisible() && dialog->windowTitle() == title ? dialog : nullptr;
}

QWidget* activeModal(const char* objectName) {
    QWidget* w = QApplication::activeModalWidget();
    return w && w->isVisible() && w->objectName() == QLatin1String(objectName) ? w : nullptr;
}

bool popupOpen(QMenu* menu) {
    return QApplication::activePopupWidget() == menu && menu->isVisible();
}

bool activeAndIdle(QWidget* window) {
    if (!window || !window->isVisible() || QApplication::activePopupWidget())
        return false;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window)
        return false;
    if (!window->windowHandle() || !window->windowHandle()->isExposed())
        return false;
    if (QApplication::activeWindow() == window)
        return true;
    window->activateWindow();
    return false;
}

namespace {

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

} // namespace

WalkResult walkProgram(ProgramState& state, std::vector<Step> steps, int timeoutMs,
                       const QString& stuckShot) {
    Walk walk(std::move(steps));
    walk.start();
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QWidget* front = QApplication::activeModalWidget();
        if (!front)
            front = QApplication::activeWindow();
        if (front && !stuckShot.isEmpty())
            saveScreenshot(front, stuckShot);
        QCoreApplication::exit(3); // every event loop, a dialog's included
    });
    watchdog.start(timeoutMs);
    WalkResult result;
    result.exitCode = app::runProgram(*qApp, state);
    result.finished = walk.finished() && !timedOut;
    result.stuckAt = walk.stuckAt();
    return result;
}

} // namespace jt::e2e

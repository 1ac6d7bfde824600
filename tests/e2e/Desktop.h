#pragma once

// What the end-to-end tests share: a fresh home for the program, a person at the
// keyboard and the mouse (real X events through xdotool, which the X server delivers as
// it would a keyboard's), screenshots, and the walk that drives the running program.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QFileDialog;
class QMenu;
class QMessageBox;
class QWidget;

namespace jt {
class ProgramState;
}

namespace jt::e2e {

// A home of its own: documents folder with the system tables in its data folder, a
// configuration folder (no alias yet) and the machine settings file with an empty event
// name. Call before the application object is made.
class Home final {
public:
    Home();
    QString dataFolder() const;
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Where the screenshots and other files a test leaves for people to look at go: a folder
// under the build's tests/e2e folder, made when missing.
QString outputFile(const QString& test, const QString& name);

// The peer script run with the system's python3: e2e_peer.py ARGS; its standard output,
// or nothing (with the reason printed) when it failed.
std::optional<QString> runPeer(const QStringList& args);
bool peerAvailable();

// The keyboard and the mouse. Each call hands its events to the X server and returns
// when they are sent; the program sees them as it goes back to its event loop.
bool xdotoolAvailable();
void pressKeys(const QString& keys); // xdotool key names: "Return", "alt+x", "Down"
void typeText(const QString& text);  // typed character by character
void clickAt(QWidget* widget, int x, int y, int clicks = 1);
void click(QWidget* widget, int clicks = 1); // in the middle
void clickMenuTitle(QMenu* menu);            // the menu's title in its menu bar
void clickMenuItem(QMenu* menu, QAction* item);

void saveScreenshot(QWidget* window, const QString& file);

// Windows and boxes as the walk waits for them.
QMessageBox* boxSaying(const QString& text);
QFileDialog* fileDialogTitled(const QString& title);
QWidget* activeModal(const char* objectName);
bool popupOpen(QMenu* menu);
// The window is on screen, nothing modal or popped up in front of it, and it has the
// keyboard. Without a window manager nobody gives the focus back when a dialog closes,
// so this asks for it as a click on the window would.
bool activeAndIdle(QWidget* window);

// One step of a walk: it runs once `ready` holds; its action may open a modal window,
// so the next step is already waiting in the timer queue when it does.
struct Step {
    QString what;
    std::function<bool()> ready;
    std::function<void()> act;
};

struct WalkResult {
    int exitCode = -1;
    bool finished = false;
    QString stuckAt; // the step that never became ready, when timed out
};

// Runs the real program (splash, every window, event loop) on `state` and walks the
// steps while it runs; gives up after timeoutMs, leaving a screenshot of the window in
// front in `stuckShot`.
WalkResult walkProgram(ProgramState& state, std::vector<Step> steps, int timeoutMs,
                       const QString& stuckShot);

} // namespace jt::e2e

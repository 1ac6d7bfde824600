#pragma once

#include <QString>

class QApplication;
class QWidget;

namespace jt {
class ProgramState;
}

namespace jt::app {

// The folder of the help pages: where the installation puts them, seen from the
// installed program, else the build's copy.
QString helpFolder();

// Everything the running program installs once, before its windows are built: the
// application title, the real dialogs, the help viewer with F1, the program-wide input
// rules, and the way the program ends when told to terminate. Undone by the destructor.
class ProgramServices final {
public:
    ProgramServices();
    ~ProgramServices();
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

    // The window that message boxes belong to while no window is active (nullptr: none).
    void setStartUpWindow(QWidget* window);

private:
    struct Parts;
    Parts* m_parts;
};

// The program on a fresh state: splash window, services, every window in the start-up
// order, splash destroyed, the main window shown, the event loop until the main window
// has closed. The state is left as the program left it.
int runProgram(QApplication& app, ProgramState& state);

} // namespace jt::app

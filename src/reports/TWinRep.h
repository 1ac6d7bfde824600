#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the winners roster. Created once at start-up and shown modally; its controls
// come with the work on this window.
class TWinRep final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinRep)

public:
    explicit TWinRep(ProgramState& state, QWidget* parent = nullptr);
    ~TWinRep() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TWinRep* WinRep;

} // namespace jt::reports

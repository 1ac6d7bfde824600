#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Winners roster definition. Created once at start-up and shown modally; its controls come with the
// work on this window.
class TWinReport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinReport)

public:
    explicit TWinReport(ProgramState& state, QWidget* parent = nullptr);
    ~TWinReport() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TWinReport* WinReport;

} // namespace jt::reports

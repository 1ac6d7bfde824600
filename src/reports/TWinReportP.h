#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Winners roster definition (by recall total). Created once at start-up and shown modally; its
// controls come with the work on this window.
class TWinReportP final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWinReportP)

public:
    explicit TWinReportP(ProgramState& state, QWidget* parent = nullptr);
    ~TWinReportP() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TWinReportP* WinReportP;

} // namespace jt::reports

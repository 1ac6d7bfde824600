#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Checklist shown before the recall report. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TRecallChk final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallChk)

public:
    explicit TRecallChk(ProgramState& state, QWidget* parent = nullptr);
    ~TRecallChk() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TRecallChk* RecallChk;

} // namespace jt::reports

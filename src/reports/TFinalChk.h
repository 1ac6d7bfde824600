#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Checklist shown before the final marks report. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TFinalChk final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalChk)

public:
    explicit TFinalChk(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalChk() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TFinalChk* FinalChk;

} // namespace jt::reports

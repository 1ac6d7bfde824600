#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the final marks report. Created once at start-up and shown modally; its controls
// come with the work on this window.
class TFinalReport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalReport)

public:
    explicit TFinalReport(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalReport() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TFinalReport* FinalReport;

} // namespace jt::reports

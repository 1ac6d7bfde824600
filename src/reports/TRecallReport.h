#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the recall report. Created once at start-up and shown modally; its controls come
// with the work on this window.
class TRecallReport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallReport)

public:
    explicit TRecallReport(ProgramState& state, QWidget* parent = nullptr);
    ~TRecallReport() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TRecallReport* RecallReport;

} // namespace jt::reports

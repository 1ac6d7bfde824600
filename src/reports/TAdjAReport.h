#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the grid marks report. Created once at start-up and shown modally; its controls
// come with the work on this window.
class TAdjAReport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjAReport)

public:
    explicit TAdjAReport(ProgramState& state, QWidget* parent = nullptr);
    ~TAdjAReport() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TAdjAReport* AdjAReport;

} // namespace jt::reports

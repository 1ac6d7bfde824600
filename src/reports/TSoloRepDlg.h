#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the solo result. Created once at start-up and shown modally; its controls come
// with the work on this window.
class TSoloRepDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSoloRepDlg)

public:
    explicit TSoloRepDlg(ProgramState& state, QWidget* parent = nullptr);
    ~TSoloRepDlg() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TSoloRepDlg* SoloRepDlg;

} // namespace jt::reports

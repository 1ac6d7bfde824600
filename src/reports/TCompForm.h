#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Competitor list definition. Created once at start-up and shown modally; its controls come with
// the work on this window.
class TCompForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCompForm)

public:
    explicit TCompForm(ProgramState& state, QWidget* parent = nullptr);
    ~TCompForm() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TCompForm* CompForm;

} // namespace jt::reports

#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::setup {

// Competition Setup: description, adjudicators and rounds. Created once at start-up and shown
// modally; its controls come with the work on this window.
class TCompInfoSetup final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCompInfoSetup)

public:
    explicit TCompInfoSetup(ProgramState& state, QWidget* parent = nullptr);
    ~TCompInfoSetup() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TCompInfoSetup* CompInfoSetup;

} // namespace jt::setup

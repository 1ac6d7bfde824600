#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::setup {

// Dancer Setup: dancers and their dancing order. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TCompSetup final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCompSetup)

public:
    explicit TCompSetup(ProgramState& state, QWidget* parent = nullptr);
    ~TCompSetup() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TCompSetup* CompSetup;

} // namespace jt::setup

#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report definition (five adjudicators, two rounds). Created once at start-up and shown
// modally; its controls come with the work on this window.
class TFinalRept final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept)

public:
    explicit TFinalRept(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalRept() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TFinalRept* FinalRept;

} // namespace jt::reports

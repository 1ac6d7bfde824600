#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report definition (five adjudicators, three rounds). Created once at start-up and
// shown modally; its controls come with the work on this window.
class TFinalRept5x3 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept5x3)

public:
    explicit TFinalRept5x3(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalRept5x3() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TFinalRept5x3* FinalRept5x3;

} // namespace jt::reports

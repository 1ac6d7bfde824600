#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Final marks report definition (three adjudicators, three rounds). Created once at start-up and
// shown modally; its controls come with the work on this window.
class TFinalRept3x3 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFinalRept3x3)

public:
    explicit TFinalRept3x3(ProgramState& state, QWidget* parent = nullptr);
    ~TFinalRept3x3() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TFinalRept3x3* FinalRept3x3;

} // namespace jt::reports

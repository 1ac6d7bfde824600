#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Recall report definition (three adjudicators). Created once at start-up and shown modally; its
// controls come with the work on this window.
class TRecallRept3 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept3)

public:
    explicit TRecallRept3(ProgramState& state, QWidget* parent = nullptr);
    ~TRecallRept3() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TRecallRept3* RecallRept3;

} // namespace jt::reports

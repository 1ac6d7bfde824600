#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Recall report definition (five adjudicators). Created once at start-up and shown modally; its
// controls come with the work on this window.
class TRecallRept final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecallRept)

public:
    explicit TRecallRept(ProgramState& state, QWidget* parent = nullptr);
    ~TRecallRept() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TRecallRept* RecallRept;

} // namespace jt::reports

#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Recall list definition. Created once at start-up and shown modally; its controls come with the
// work on this window.
class TRecalRead final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRecalRead)

public:
    explicit TRecalRead(ProgramState& state, QWidget* parent = nullptr);
    ~TRecalRead() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TRecalRead* RecalRead;

} // namespace jt::reports

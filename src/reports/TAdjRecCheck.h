#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Adjudicator checklists definition. Created once at start-up and shown modally; its controls come
// with the work on this window.
class TAdjRecCheck final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjRecCheck)

public:
    explicit TAdjRecCheck(ProgramState& state, QWidget* parent = nullptr);
    ~TAdjRecCheck() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TAdjRecCheck* AdjRecCheck;

} // namespace jt::reports

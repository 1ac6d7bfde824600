#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Grid marks report definition. Created once at start-up and shown modally; its controls come with
// the work on this window.
class TAdjAForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAdjAForm)

public:
    explicit TAdjAForm(ProgramState& state, QWidget* parent = nullptr);
    ~TAdjAForm() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TAdjAForm* AdjAForm;

} // namespace jt::reports

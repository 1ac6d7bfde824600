#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Solo result definition. Created once at start-up and shown modally; its controls come with the
// work on this window.
class TSoloWinForm final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSoloWinForm)

public:
    explicit TSoloWinForm(ProgramState& state, QWidget* parent = nullptr);
    ~TSoloWinForm() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TSoloWinForm* SoloWinForm;

} // namespace jt::reports

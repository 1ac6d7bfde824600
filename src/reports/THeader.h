#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Header sheet definition. Created once at start-up and shown modally; its controls come with the
// work on this window.
class THeader final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(THeader)

public:
    explicit THeader(ProgramState& state, QWidget* parent = nullptr);
    ~THeader() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern THeader* Header;

} // namespace jt::reports

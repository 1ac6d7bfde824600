#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::marks {

// Column Totals. Created once at start-up and shown modally; its controls come with the
// work on this window.
class TColTotal final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TColTotal)

public:
    explicit TColTotal(ProgramState& state, QWidget* parent = nullptr);
    ~TColTotal() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TColTotal* ColTotal;

} // namespace jt::marks

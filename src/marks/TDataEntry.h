#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::marks {

// View All Fields: every field of one dancer. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TDataEntry final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDataEntry)

public:
    explicit TDataEntry(ProgramState& state, QWidget* parent = nullptr);
    ~TDataEntry() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TDataEntry* DataEntry;

} // namespace jt::marks

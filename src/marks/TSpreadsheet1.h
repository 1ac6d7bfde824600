#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::marks {

// Enter Marks: marks of one adjudicator and round. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TSpreadsheet1 final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpreadsheet1)

public:
    explicit TSpreadsheet1(ProgramState& state, QWidget* parent = nullptr);
    ~TSpreadsheet1() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TSpreadsheet1* Spreadsheet1;

} // namespace jt::marks

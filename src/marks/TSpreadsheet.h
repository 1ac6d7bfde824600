#pragma once

#include <QDialog>

namespace jt {
class ProgramState;
}

namespace jt::marks {

// See All Marks: every mark of every dancer. Created once at start-up and shown modally; its
// controls come with the work on this window.
class TSpreadsheet final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpreadsheet)

public:
    explicit TSpreadsheet(ProgramState& state, QWidget* parent = nullptr);
    ~TSpreadsheet() override;

private:
    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TSpreadsheet* Spreadsheet;

} // namespace jt::marks

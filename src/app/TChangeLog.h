#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace jt {
class ProgramState;
}

namespace jt::app {

// Utils > "Change Log": the open competition's change log in a read-only grid, one row
// per logged change, newest last. Each opening reads the log afresh.
class TChangeLog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TChangeLog)

public:
    explicit TChangeLog(ProgramState& state, QWidget* parent = nullptr);
    ~TChangeLog() override;

    // Reads the log of the competition open now into the grid; the window is then shown
    // by exec().
    void FormShow();

    QLabel* Label1 = nullptr; // the log's file, or why it could not be read
    QTableView* DBGrid1 = nullptr;
    QPushButton* Button1 = nullptr; // "Exit"

private:
    ProgramState& m_state;
    QStandardItemModel* m_model = nullptr;
};

} // namespace jt::app

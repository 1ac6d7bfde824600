#pragma once

#include "MarksWindow.h"

class QKeyEvent;
class QLabel;
class QPushButton;

namespace jt::dbcontrols {
class DBGrid;
class DBNavigator;
} // namespace jt::dbcontrols

namespace jt::marks {

// See All Marks: every mark of every dancer in one grid, adjudicator by adjudicator,
// each block after its own "Dancer" column. Created once at start-up and shown modally,
// maximised. Enter goes to the next dancer as Down does; Down on the last dancer saves
// the mark and stays; Alt+O switches the order, Ctrl+T shows the current column's
// totals, Alt+X is Exit.
class TSpreadsheet final : public MarksWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpreadsheet)

public:
    explicit TSpreadsheet(ProgramState& state, QWidget* parent = nullptr);
    ~TSpreadsheet() override;

    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button1 = nullptr; // "Exit"
    QLabel* Label1 = nullptr;       // "Current Order:"
    QPushButton* Button2 = nullptr; // the order
    dbcontrols::DBGrid* DBGrid1 = nullptr;
    QLabel* Panel1 = nullptr; // the competition display name

    void Button2Click();
    void DBGrid1KeyDown(QKeyEvent* event, bool& swallow);
    void Button1Click();
    void showTotalsOf(int column);

protected:
    void FormActivate() override;
    bool FormClose() override;
    void bindControls(engine::DataSource* source) override;
};

// The program's instance (set while one exists).
extern TSpreadsheet* Spreadsheet;

} // namespace jt::marks

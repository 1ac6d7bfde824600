#pragma once

#include "ColumnTotals.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace jt {
class ProgramState;
}
namespace jt::engine {
class Table;
}

namespace jt::marks {

// Column Totals: the sum of one mark column, how many dancers have a mark in it and
// how many are blank. Created once at start-up; the marks windows show it modally when a
// mark column's heading is clicked.
class TColTotal final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TColTotal)

public:
    explicit TColTotal(ProgramState& state, QWidget* parent = nullptr);
    ~TColTotal() override;

    QPushButton* Button1 = nullptr; // "Exit"
    QTableWidget* DBGrid1 = nullptr;

    // Adds the column up over the rows the table lists now and shows the figures.
    void showTotals(const engine::Table& table, const QString& field);
    void showTotals(const ColumnTotals& totals);
    const ColumnTotals& totals() const { return m_totals; }

    void Button1Click();

private:
    ProgramState& m_state;
    ColumnTotals m_totals;
};

// The program's instance (set while one exists).
extern TColTotal* ColTotal;

// Shows the totals of the field over the table in the program's Column Totals window.
void showColumnTotals(const engine::Table& table, const QString& field);

} // namespace jt::marks

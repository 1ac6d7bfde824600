#pragma once

#include "CompetitionSetupChoices.h"
#include "MarkChoices.h"
#include "MarksWindow.h"
#include "SetupChoices.h"
#include "dbcontrols/GridColumn.h"

class QLabel;
class QPushButton;

namespace jt::dbcontrols {
class DBGrid;
class DBNavigator;
struct DrawColumnCell;
} // namespace jt::dbcontrols

namespace jt::marks {

class ChoiceGroup;

// Enter Marks: the marks of one adjudicator in one round, typed straight down the
// dancers in dancing order. Created once at start-up and shown modally, maximised.
//
// Keys besides the grid's own: Enter goes to the next dancer as Down does; Alt+A to
// Alt+E choose the adjudicator, Alt+1 to Alt+3 and Alt+S the round, Alt+O switches the
// order, Ctrl+T shows the current column's totals, Alt+X is Exit.
class TSpreadsheet1 final : public MarksWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpreadsheet1)

public:
    explicit TSpreadsheet1(ProgramState& state, QWidget* parent = nullptr);
    ~TSpreadsheet1() override;

    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button1 = nullptr; // "Exit"
    QLabel* Label1 = nullptr;       // "Current Order:"
    QPushButton* Button2 = nullptr; // the order
    ChoiceGroup* AdjGroup = nullptr;
    ChoiceGroup* RndGroup = nullptr;
    QLabel* Label2 = nullptr; // the adjudicator's name
    QLabel* Label3 = nullptr; // the round's title
    dbcontrols::DBGrid* DBGrid1 = nullptr;
    QLabel* Panel1 = nullptr; // the competition display name

    // Where the numbers of adjudicators and rounds come from when the info table has none
    // stored: the Competition Setup window's choices unless others are set here.
    void setSetupChoices(SetupChoices* choices);
    SetupChoices& setupChoices() const;

    // The mark field on show, "A1" after every opening.
    QString shownField() const { return m_shown.field; }

    void AdjGroupClick();
    void Button2Click();
    void DBGrid1DrawColumnCell(dbcontrols::DrawColumnCell& cell);
    void Button1Click();
    // Saves the mark being typed and shows the totals of a mark column.
    void showTotalsOf(int column);

    // Makes the first grid column bound to the field current and gives the grid the focus.
    static void FocusFieldColumn(dbcontrols::DBGrid* grid, const QString& fieldName);

protected:
    void FormShow() override;
    void FormActivate() override;
    bool FormClose() override;
    void bindControls(engine::DataSource* source) override;

private:
    QString infoText(const QString& field) const;
    void addShortcut(const QKeySequence& keys, std::function<void()> action);
    void chooseItem(ChoiceGroup* group, const QString& item);

    QList<dbcontrols::GridColumn> m_columns;
    CompetitionSetupChoices m_setupWindow;
    SetupChoices* m_choices = nullptr;
    int m_rounds = 2;
    MarkChoice m_shown;
    int m_adjItem = -1;
    int m_rndItem = -1;
};

// The program's instance (set while one exists).
extern TSpreadsheet1* Spreadsheet1;

} // namespace jt::marks

#pragma once

#include "SchoolList.h"

#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;
class QToolButton;

namespace jt {
class ProgramState;
}

namespace jt::dbcontrols {
class DBEdit;
class DBGrid;
class DBNavigator;
struct DrawColumnCell;
} // namespace jt::dbcontrols

namespace jt::setup {

// Dancer Setup: the dancers of the open competition, typed in or imported from a
// spreadsheet, and their dancing order. Created once at start-up and shown modally;
// the click sequencing mode lasts from one opening to the next.
class TCompSetup final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCompSetup)

public:
    // Files of this many rows or more show the "Importing..." window.
    static constexpr int kProgressRows = 500;

    explicit TCompSetup(ProgramState& state, QWidget* parent = nullptr);
    ~TCompSetup() override;

    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button1 = nullptr;      // "Exit"
    QToolButton* SpeedButton1 = nullptr; // "Click Seq", held down while click sequencing is on
    QPushButton* Button3 = nullptr;      // "Clear Seq"
    QPushButton* Button2 = nullptr;      // "Auto Seq"
    QPushButton* Button5 = nullptr;      // "Import"
    QPushButton* Button4 = nullptr;      // "Import Wizard"
    dbcontrols::DBGrid* DBGrid1 = nullptr;
    dbcontrols::DBEdit* DBEdit1 = nullptr; // the school box, floating over the grid
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr; // the competition display name

    // The school names the box completes from; filled while the window is open.
    const SchoolList& schools() const { return m_schools; }
    bool clickSequencing() const;
    // The grid column that shows SCHOOL.
    int schoolColumn() const;

    void FormShow();
    void FormActivate();
    void FormHide();
    void Button1Click();
    void SpeedButton1Click();
    void DBGrid1DblClick();
    void Button2Click();
    void Button3Click();
    void Button5Click();
    void Button4Click();
    void DBGrid1DrawColumnCell(dbcontrols::DrawColumnCell& cell);
    void DBGrid1ColExit(int column);
    void DBGrid1KeyPress(QKeyEvent* event, bool& swallow);
    void DBEdit1KeyUp(QKeyEvent* event);
    void DBEdit1Exit();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls are bound when the window is first shown: the data module is made
    // after this window at start-up.
    void bindControls();
    QString schoolListPath() const;
    void placeSchoolBox(const QRect& cellInViewport);

    ProgramState& m_state;
    // The posting window named before this one showed, named again when it hides.
    QString m_previousPostingWindow;
    SchoolList m_schools;
};

// The program's instance (set while one exists).
extern TCompSetup* CompSetup;

} // namespace jt::setup

#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QPushButton;

namespace jt {
class ProgramState;
}

namespace jt::dbcontrols {
class DBEdit;
class DBNavigator;
} // namespace jt::dbcontrols

namespace jt::setup {

class RadioGroup;

// Competition Setup: the open competition's number and description, its adjudicators
// and rounds, and the round titles, edited in place in the info record. Created once at
// start-up and shown modally; the choice groups and their "Locked" boxes keep their
// state between openings (Enter Marks reads the groups and sets the boxes).
class TCompInfoSetup final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCompInfoSetup)

public:
    // Input limits of the window (shorter than the fields for the description and the
    // adjudicators).
    static constexpr int kDescriptionLength = 30;
    static constexpr int kCompNoLength = 3;
    static constexpr int kAdjudicatorLength = 20;
    static constexpr int kRoundTitleLength = 20;

    explicit TCompInfoSetup(ProgramState& state, QWidget* parent = nullptr);
    ~TCompInfoSetup() override;

    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button1 = nullptr;
    // In tab order: COMPNAME, COMPNO, then ADJANAME, ADJAFROM ... ADJEFROM, then
    // RD1TITLE to RD4TITLE.
    dbcontrols::DBEdit* DBEdit1 = nullptr;  // COMPNAME
    dbcontrols::DBEdit* DBEdit2 = nullptr;  // COMPNO
    dbcontrols::DBEdit* DBEdit3 = nullptr;  // ADJANAME
    dbcontrols::DBEdit* DBEdit4 = nullptr;  // ADJAFROM
    dbcontrols::DBEdit* DBEdit5 = nullptr;  // ADJBNAME
    dbcontrols::DBEdit* DBEdit6 = nullptr;  // ADJBFROM
    dbcontrols::DBEdit* DBEdit7 = nullptr;  // ADJCNAME
    dbcontrols::DBEdit* DBEdit8 = nullptr;  // ADJCFROM
    dbcontrols::DBEdit* DBEdit9 = nullptr;  // ADJDNAME
    dbcontrols::DBEdit* DBEdit10 = nullptr; // ADJDFROM
    dbcontrols::DBEdit* DBEdit11 = nullptr; // ADJENAME
    dbcontrols::DBEdit* DBEdit12 = nullptr; // ADJEFROM
    dbcontrols::DBEdit* DBEdit13 = nullptr; // RD1TITLE
    dbcontrols::DBEdit* DBEdit14 = nullptr; // RD2TITLE
    dbcontrols::DBEdit* DBEdit15 = nullptr; // RD3TITLE
    dbcontrols::DBEdit* DBEdit16 = nullptr; // RD4TITLE
    RadioGroup* AdjGroup = nullptr;
    QCheckBox* AdjLocked = nullptr;
    RadioGroup* RdsGroup = nullptr;
    QCheckBox* RdsLocked = nullptr;

    // The edit boxes in tab order.
    QList<dbcontrols::DBEdit*> edits() const;

    void FormShow();
    void Button1Click();
    void AdjGroupClick();
    void RdsGroupClick();
    void AdjLockedClick();
    void RdsLockedClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The edit boxes and the navigator are bound when the window is first shown: the
    // data module is made after this window at start-up.
    void bindControls();
    void setAdjudicatorsDandE(bool enabled);

    ProgramState& m_state;
};

// The program's instance (set while one exists).
extern TCompInfoSetup* CompInfoSetup;

} // namespace jt::setup

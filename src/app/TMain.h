#pragma once

#include "CompetitionFiles.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;

namespace jt {
class ProgramState;
}

namespace jt::app {

class TChangeLog;

// The main window: a picture, the menu bar that opens every other window, and the
// bottom panel naming the open competition beside the recalculation indicator.
class TMain final : public QMainWindow, public CompetitionView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMain)

public:
    static inline const QString kCalculated = QStringLiteral("Calculated");
    static inline const QString kRecalc = QStringLiteral("! Recalc !");

    // Builds the window, runs FormCreate, then loads the stored event name.
    explicit TMain(ProgramState& state, QWidget* parent = nullptr);
    ~TMain() override;

    QLabel* Image1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* ReCalcButton = nullptr;

    QMenu* File1 = nullptr;
    QAction* Select1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* Create1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* SetEventName1 = nullptr;
    QAction* MarksPack1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Setup3 = nullptr;
    QAction* SetUp2 = nullptr;
    QAction* Setup1 = nullptr;
    QMenu* Results1 = nullptr;
    QAction* EnterSetScores1 = nullptr;
    QAction* EnterScores1 = nullptr;
    QMenu* Reports1 = nullptr;
    QAction* ListCompetitors1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* RecallChecklists1 = nullptr;
    QAction* FinalResults1 = nullptr;
    QAction* HeaderSheet1 = nullptr;
    QAction* ResultsbyAdjA1 = nullptr;
    QAction* WinnersList1 = nullptr;
    QAction* SoloWinners1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* Utils1 = nullptr;
    QAction* SeeAllSpreadsheet1 = nullptr;
    QAction* DataEntry1 = nullptr;
    QAction* ChangeLog1 = nullptr;

    CompetitionFiles& files() { return m_files; }

    // Start-up work of the window: the data folder, the dialogs' folder, the alias.
    void FormCreate();

    void Select1Click() { m_files.Select1Click(); }
    void Create1Click() { m_files.Create1Click(); }
    void Close1Click() { m_files.Close1Click(); }
    void Delete1Click() { m_files.Delete1Click(); }
    void SetEventName1Click();
    void MarksPack1Click();
    void Exit1Click();
    // Whether the main window may close: "Close Jigtally?" answered Yes, or the program
    // is already ending.
    bool FormClose();
    void SetUp2Click();
    void Setup1Click();
    void EnterSetScores1Click();
    void EnterScores1Click();
    void SeeAllSpreadsheet1Click();
    void DataEntry1Click();
    // Shows the open competition's change log, read-only.
    void ChangeLog1Click();
    void Contents1Click();
    void About1Click();
    void ReCalculate1Click();
    void IntermediateGrid1Click();
    void FinalGrid1Click();

    // A command of a menu item that another part of the program supplies (the report
    // commands); it runs under the general error display like every other.
    void setCommand(QAction* item, std::function<void()> command);

    // CompetitionView
    bool competitionOpen() const override;
    void showCompetitionName(const QString& text) override;
    void enableCompetitionCommands(bool enable) override;
    void disableFileCommands() override;
    void CheckReCalcFlag() override;
    void showStatus(const QString& text) override;

    // How long showStatus keeps its text.
    static constexpr int kStatusMilliseconds = 4000;

Q_SIGNALS:
    // The user confirmed "Close Jigtally?"; the program ends.
    void closeConfirmed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildPanel();
    void connectCommands();
    // Shows one of the program's windows modally, then refreshes the indicator.
    void launch(QWidget* window, const QString& name);

    ProgramState& m_state;
    CompetitionFiles m_files;
    // Made when first asked for.
    TChangeLog* m_changeLog = nullptr;
};

extern TMain* Main;

} // namespace jt::app

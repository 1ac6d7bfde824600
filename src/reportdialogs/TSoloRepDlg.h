#pragma once

#include "LaunchDialogBase.h"
#include "reports/LaunchChoices.h"

#include <QListWidget>

namespace jt {
class ProgramState;
}

namespace jt::reports {

// Launch dialog of the solo result, with the adjudicator and the round to rank by.
class TSoloRepDlg final : public LaunchDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSoloRepDlg)

public:
    explicit TSoloRepDlg(ProgramState& state, QWidget* parent = nullptr);
    ~TSoloRepDlg() override;

    // Fills the lists and selects the given positions.
    void showLists(const SoloLists& lists);
    // The positions selected now; a list without a selection keeps its preselection.
    void readSelection(SoloLists& lists) const;

    QListWidget* AdjSelected = nullptr;
    QListWidget* RndSelected = nullptr;
};

// The program's instance (set while one exists).
extern TSoloRepDlg* SoloRepDlg;

} // namespace jt::reports

#include "TSoloRepDlg.h"

#include "reports/ReportCommands.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace jt::reports {

TSoloRepDlg* SoloRepDlg = nullptr;

TSoloRepDlg::TSoloRepDlg(ProgramState&, QWidget* parent)
    : LaunchDialogBase(LaunchDialog::SoloResult, QStringLiteral("SoloRepDlg"),
                       QStringList{QStringLiteral("Select an Adjudicator and Round, then"),
                                   QStringLiteral("use the Print button to preview and/or print"),
                                   kLaunchLines[1]},
                       parent) {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Adjudicator"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Round"), this), 0, 1);
    AdjSelected = new QListWidget(this);
    AdjSelected->setObjectName(QStringLiteral("AdjSelected"));
    RndSelected = new QListWidget(this);
    RndSelected->setObjectName(QStringLiteral("RndSelected"));
    grid->addWidget(AdjSelected, 1, 0);
    grid->addWidget(RndSelected, 1, 1);
    extras()->addLayout(grid);
    SoloRepDlg = this;
}

void TSoloRepDlg::showLists(const SoloLists& lists) {
    AdjSelected->clear();
    AdjSelected->addItems(lists.adjudicators);
    AdjSelected->setCurrentRow(lists.adjudicator);
    RndSelected->clear();
    RndSelected->addItems(lists.rounds);
    RndSelected->setCurrentRow(lists.round);
}

void TSoloRepDlg::readSelection(SoloLists& lists) const {
    if (AdjSelected->currentRow() >= 0)
        lists.adjudicator = AdjSelected->currentRow();
    if (RndSelected->currentRow() >= 0)
        lists.round = RndSelected->currentRow();
}

TSoloRepDlg::~TSoloRepDlg() {
    if (SoloRepDlg == this)
        SoloRepDlg = nullptr;
}

} // namespace jt::reports

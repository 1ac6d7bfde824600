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

TSoloRepDlg::~TSoloRepDlg() {
    if (SoloRepDlg == this)
        SoloRepDlg = nullptr;
}

} // namespace jt::reports

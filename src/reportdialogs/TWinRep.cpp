#include "TWinRep.h"

#include "reports/ReportCommands.h"

#include <QLabel>
#include <QVBoxLayout>

namespace jt::reports {

TWinRep* WinRep = nullptr;

TWinRep::TWinRep(ProgramState&, QWidget* parent)
    : LaunchDialogBase(LaunchDialog::WinnersRoster, QStringLiteral("WinRep"), kLaunchLines,
                       parent) {
    Championship = new QCheckBox(QStringLiteral("Championship includes Recall"), this);
    Championship->setObjectName(QStringLiteral("Championship"));
    Championship->setChecked(true);
    extras()->addWidget(Championship);
    auto* note = new QLabel(QStringLiteral("(Uncheck the box for non-recall competition)"), this);
    note->setObjectName(QStringLiteral("Note"));
    extras()->addWidget(note);
    WinRep = this;
}

TWinRep::~TWinRep() {
    if (WinRep == this)
        WinRep = nullptr;
}

} // namespace jt::reports

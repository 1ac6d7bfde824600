#include "WidgetReportDialogs.h"

#include "TAdjAReport.h"
#include "TFinalChk.h"
#include "TFinalReport.h"
#include "TRecallChk.h"
#include "TRecallReport.h"
#include "TSoloRepDlg.h"
#include "TWinRep.h"
#include "engine/EngineError.h"
#include "reports/LaunchChoices.h"

#include <QCheckBox>

namespace jt::reports {
namespace {

template <typename T> T& window(T* object) {
    if (!object)
        throw engine::EngineError(QStringLiteral("A report dialog has not been created"));
    return *object;
}

LaunchDialogBase& launchWindow(LaunchDialog dialog) {
    switch (dialog) {
    case LaunchDialog::RecallReport:
        return window(RecallReport);
    case LaunchDialog::FinalReport:
        return window(FinalReport);
    case LaunchDialog::GridMarks:
        return window(AdjAReport);
    case LaunchDialog::WinnersRoster:
        return window(WinRep);
    case LaunchDialog::SoloResult:
        break;
    }
    return window(SoloRepDlg);
}

} // namespace

bool WidgetReportDialogs::showChecklist(Checklist checklist,
                                        const std::vector<ChecklistFinding>& findings) {
    ChecklistDialogBase& dialog = checklist == Checklist::Recall
                                      ? static_cast<ChecklistDialogBase&>(window(RecallChk))
                                      : static_cast<ChecklistDialogBase&>(window(FinalChk));
    dialog.CheckBox1->setChecked(false);
    dialog.showFindings(findings);
    dialog.exec();
    return dialog.CheckBox1->isChecked();
}

void WidgetReportDialogs::showLaunchDialog(LaunchDialog dialog,
                                           const std::function<void()>& preview) {
    LaunchDialogBase& w = launchWindow(dialog);
    LaunchChoices& choices = launchChoices();
    std::function<void()> run = preview;
    if (dialog == LaunchDialog::SoloResult) {
        // The lists as the command filled them; "Preview" ranks by what is selected then.
        TSoloRepDlg& solo = window(SoloRepDlg);
        solo.showLists(choices.solo);
        run = [&solo, &choices, &preview] {
            solo.readSelection(choices.solo);
            preview();
        };
    } else if (dialog == LaunchDialog::WinnersRoster) {
        // The box decides the run when "Preview" is pressed.
        TWinRep& roster = window(WinRep);
        run = [&roster, &choices, &preview] {
            choices.championship = roster.Championship->isChecked();
            preview();
        };
    }
    w.setPreview(run);
    w.exec();
    w.setPreview(nullptr);
}

} // namespace jt::reports

#include "WidgetReportDialogs.h"

#include "TAdjAReport.h"
#include "TFinalChk.h"
#include "TFinalReport.h"
#include "TRecallChk.h"
#include "TRecallReport.h"
#include "TSoloRepDlg.h"
#include "TWinRep.h"
#include "engine/EngineError.h"

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

bool WidgetReportDialogs::showChecklist(Checklist checklist) {
    ChecklistDialogBase& dialog = checklist == Checklist::Recall
                                      ? static_cast<ChecklistDialogBase&>(window(RecallChk))
                                      : static_cast<ChecklistDialogBase&>(window(FinalChk));
    dialog.CheckBox1->setChecked(false);
    dialog.exec();
    return dialog.CheckBox1->isChecked();
}

void WidgetReportDialogs::showLaunchDialog(LaunchDialog dialog,
                                           const std::function<void()>& preview) {
    LaunchDialogBase& w = launchWindow(dialog);
    w.setPreview(preview);
    w.exec();
    w.setPreview(nullptr);
}

} // namespace jt::reports

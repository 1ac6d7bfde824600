#pragma once

#include "reports/ReportDialogs.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace jt::reports {

// The look both checklists share: two bold lines, five numbered lines, what the program
// found for itself (a list, or "No problems found."), the box "Checklist completed"
// (CheckBox1) and "Continue", which only closes the dialog.
class ChecklistDialogBase : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChecklistDialogBase)

public:
    ChecklistDialogBase(Checklist checklist, const QString& objectName, QWidget* parent);
    ~ChecklistDialogBase() override;

    // Puts the findings of this showing in the list, one line each.
    void showFindings(const std::vector<ChecklistFinding>& findings);

    QLabel* FindingsTitle = nullptr;
    QListWidget* Findings = nullptr;
    QLabel* NoFindings = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Continue = nullptr;
};

} // namespace jt::reports

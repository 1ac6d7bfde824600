#pragma once

#include "reports/ReportDialogs.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace jt::reports {

// The look both checklists share: two bold lines, five numbered lines, the box
// "Checklist completed" (CheckBox1) and "Continue", which only closes the dialog.
class ChecklistDialogBase : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChecklistDialogBase)

public:
    ChecklistDialogBase(Checklist checklist, const QString& objectName, QWidget* parent);
    ~ChecklistDialogBase() override;

    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Continue = nullptr;
};

} // namespace jt::reports

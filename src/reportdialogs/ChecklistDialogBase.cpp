#include "ChecklistDialogBase.h"

#include "platform/HelpTopic.h"
#include "reports/ReportCommands.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace jt::reports {

ChecklistDialogBase::ChecklistDialogBase(Checklist checklist, const QString& objectName,
                                         QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(checklistCaption(checklist));
    platform::setHelpTopic(this, checklistHelpTopic(checklist));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    for (const QString& text : {QStringLiteral("Please check the list below and click"),
                                QStringLiteral("the checkbox if you are satisfied")}) {
        auto* label = new QLabel(text, this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        layout->addWidget(label);
    }
    for (const QString& line : checklistLines(checklist))
        layout->addWidget(new QLabel(line, this));
    CheckBox1 = new QCheckBox(QStringLiteral("Checklist completed"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    layout->addWidget(CheckBox1);
    auto* buttons = new QHBoxLayout;
    Continue = new QPushButton(QStringLiteral("Continue"), this);
    Continue->setObjectName(QStringLiteral("Continue"));
    Continue->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(Continue);
    layout->addLayout(buttons);
    connect(Continue, &QPushButton::clicked, this, &QDialog::accept);
}

ChecklistDialogBase::~ChecklistDialogBase() = default;

} // namespace jt::reports

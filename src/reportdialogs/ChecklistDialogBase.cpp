#include "ChecklistDialogBase.h"

#include "platform/HelpTopic.h"
#include "reports/ReportCommands.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
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

    layout->addSpacing(8);
    FindingsTitle = new QLabel(QStringLiteral("Checked by the program:"), this);
    FindingsTitle->setObjectName(QStringLiteral("FindingsTitle"));
    QFont bold = FindingsTitle->font();
    bold.setBold(true);
    FindingsTitle->setFont(bold);
    layout->addWidget(FindingsTitle);
    NoFindings = new QLabel(QStringLiteral("No problems found."), this);
    NoFindings->setObjectName(QStringLiteral("NoFindings"));
    layout->addWidget(NoFindings);
    // However many there are, the findings scroll inside a list of bounded height, so
    // the box and "Continue" stay in view.
    Findings = new QListWidget(this);
    Findings->setObjectName(QStringLiteral("Findings"));
    Findings->setWordWrap(true);
    // Shaded in turn, so a finding that wraps onto a second line reads as one.
    Findings->setAlternatingRowColors(true);
    Findings->setSelectionMode(QAbstractItemView::NoSelection);
    Findings->setFocusPolicy(Qt::NoFocus);
    Findings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Findings->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    Findings->setMinimumWidth(480);
    Findings->setMaximumHeight(Findings->fontMetrics().lineSpacing() * 12);
    layout->addWidget(Findings);
    layout->addSpacing(8);
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

void ChecklistDialogBase::showFindings(const std::vector<ChecklistFinding>& findings) {
    Findings->clear();
    for (const ChecklistFinding& f : findings) {
        auto* item = new QListWidgetItem(f.text, Findings);
        item->setToolTip(f.text);
    }
    Findings->setVisible(!findings.empty());
    NoFindings->setVisible(findings.empty());
    if (!findings.empty())
        Findings->scrollToTop();
    adjustSize();
}

} // namespace jt::reports

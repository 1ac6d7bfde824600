#include "LaunchDialogBase.h"

#include "platform/HelpTopic.h"
#include "reports/ReportCommands.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace jt::reports {

LaunchDialogBase::LaunchDialogBase(LaunchDialog dialog, const QString& objectName,
                                   const QStringList& lines, QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    const LaunchDialogText text = launchDialogText(dialog);
    setWindowTitle(text.caption);
    platform::setHelpTopic(this, text.helpTopic);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    int n = 1;
    for (const QString& line : lines) {
        auto* label = new QLabel(line, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n++));
        layout->addWidget(label);
    }
    m_extras = new QVBoxLayout;
    layout->addLayout(m_extras);
    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Preview"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Cancel"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &LaunchDialogBase::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

LaunchDialogBase::~LaunchDialogBase() = default;

void LaunchDialogBase::Button1Click() {
    // The frame hands over a procedure that shows its own errors.
    if (m_preview)
        m_preview();
    accept();
}

} // namespace jt::reports

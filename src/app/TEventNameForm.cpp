#include "TEventNameForm.h"

#include "EventName.h"
#include "platform/Guarded.h"
#include "platform/HelpTopic.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace jt::app {

TEventNameForm* EventNameForm = nullptr;

TEventNameForm::TEventNameForm(ProgramState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("EventNameForm"));
    setWindowTitle(QStringLiteral("Set Event Name"));
    platform::setHelpTopic(this, 560);
    resize(402, 184);

    Label1 = new QLabel(QStringLiteral("Current dance school/event name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    EventEdit = new QLineEdit(this);
    EventEdit->setObjectName(QStringLiteral("EventEdit"));
    EventEdit->setMaxLength(kMaxLength);
    Label2 =
        new QLabel(QStringLiteral("Type new dance school/event name and click OK to save"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(EventEdit);
    layout->addWidget(Label2);
    layout->addStretch();
    layout->addLayout(buttons);

    platform::connectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    platform::connectGuarded(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    EventNameForm = this;
}

TEventNameForm::~TEventNameForm() {
    if (EventNameForm == this)
        EventNameForm = nullptr;
}

void TEventNameForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::runGuarded([this] { FormActivate(); });
}

void TEventNameForm::FormActivate() {
    const std::optional<QString> stored = loadEventNameOrTerminate();
    if (stored) {
        EventEdit->setText(*stored);
        return;
    }
    // The program is ending; the window goes with it.
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void TEventNameForm::Button1Click() {
    storeEventNameOrTerminate(EventEdit->text());
    accept();
}

void TEventNameForm::Button2Click() {
    reject();
}

} // namespace jt::app

#include "TAboutBox.h"

#include "Pictures.h"
#include "platform/HelpTopic.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace jt::app {

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(ProgramState& state, QWidget* parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    platform::setHelpTopic(this, 340);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(programIcon());
    ProductName = new QLabel(QStringLiteral("Jigtally"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont nameFont = ProductName->font();
    nameFont.setPixelSize(19);
    nameFont.setBold(true);
    ProductName->setFont(nameFont);
    Version = new QLabel(QStringLiteral("Version 0.1 2008"), this);
    Version->setObjectName(QStringLiteral("Version"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setToolTip(QStringLiteral("Displays your organisation's name"));
    DataPath = new QLineEdit(this);
    DataPath->setObjectName(QStringLiteral("DataPath"));
    DataPath->setReadOnly(true);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* heading = new QGridLayout;
    heading->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignTop);
    heading->addWidget(ProductName, 0, 1);
    heading->addWidget(Version, 1, 1);
    heading->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("Event name:"), this));
    layout->addWidget(Edit1);
    layout->addWidget(new QLabel(QStringLiteral("Data folder:"), this));
    layout->addWidget(DataPath);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    // A fixed dialog border: the box keeps the size its contents need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(320);
    AboutBox = this;
}

TAboutBox::~TAboutBox() {
    if (AboutBox == this)
        AboutBox = nullptr;
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace jt::app

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
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

namespace jt::app {
namespace {

// A read-only line that asks for room for its whole text (up to most of the screen's
// width), so the box, which takes the size its contents need, shows the event name and
// the data folder from end to end.
class WholeLine final : public QLineEdit {
public:
    explicit WholeLine(QWidget* parent) : QLineEdit(parent) {
        setReadOnly(true);
        connect(this, &QLineEdit::textChanged, this, [this] { updateGeometry(); });
    }

    QSize sizeHint() const override {
        const QSize base = QLineEdit::sizeHint();
        QStyleOptionFrame option;
        initStyleOption(&option);
        const QMargins text = textMargins();
        const QMargins contents = contentsMargins();
        // The line's own inner margin is 2 pixels a side, and the cursor needs one more.
        const int inner = fontMetrics().horizontalAdvance(this->text()) + 2 * 2 + 1 + text.left() +
                          text.right() + contents.left() + contents.right();
        int width =
            style()
                ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, base.height()), this)
                .width();
        if (const QScreen* s = screen())
            width = qMin(width, s->availableGeometry().width() * 9 / 10);
        return {qMax(base.width(), width), base.height()};
    }
};

} // namespace

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
    Edit1 = new WholeLine(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("Displays your organisation's name"));
    DataPath = new WholeLine(this);
    DataPath->setObjectName(QStringLiteral("DataPath"));
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
    // A fixed dialog border: the box takes the size its contents need, and never less
    // than 320 pixels across (a minimum width of the box itself would be overruled by
    // the fixed size).
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addStrut(320);
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

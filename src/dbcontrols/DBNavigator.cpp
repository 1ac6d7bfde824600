#include "DBNavigator.h"

#include "RecordLink.h"
#include "engine/DataSource.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace jt::dbcontrols {

QString DBNavigator::caption(Button which) {
    static const std::array<QString, kButtonCount> captions = {
        QStringLiteral("First"),  QStringLiteral("Prior"),  QStringLiteral("Next"),
        QStringLiteral("Last"),   QStringLiteral("Insert"), QStringLiteral("Delete"),
        QStringLiteral("Edit"),   QStringLiteral("Post"),   QStringLiteral("Cancel"),
        QStringLiteral("Refresh")};
    return captions[std::size_t(which)];
}

QString DBNavigator::hint(Button which) {
    static const std::array<QString, kButtonCount> hints = {
        QStringLiteral("First record"),  QStringLiteral("Prior record"),
        QStringLiteral("Next record"),   QStringLiteral("Last record"),
        QStringLiteral("Insert record"), QStringLiteral("Delete record"),
        QStringLiteral("Edit record"),   QStringLiteral("Post edit"),
        QStringLiteral("Cancel edit"),   QStringLiteral("Refresh data")};
    return hints[std::size_t(which)];
}

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < kButtonCount; ++i) {
        const auto which = Button(i);
        auto* b = new QToolButton(this);
        b->setObjectName(caption(which));
        b->setText(caption(which));
        b->setToolTip(hint(which));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // The buttons never take the focus from the grid or edit box being typed in.
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(false);
        connect(b, &QToolButton::clicked, this, [this, which] { btnClick(which); });
        layout->addWidget(b);
        m_buttons[std::size_t(i)] = b;
    }
    layout->addStretch();
    updateButtons();
}

DBNavigator::~DBNavigator() = default;

void DBNavigator::setDataSource(engine::DataSource* source) {
    m_binding.setDataSource(source);
}

void DBNavigator::bindTable() {
    const auto update = [this] { updateButtons(); };
    m_binding.connect(&engine::Table::stateChanged, update);
    m_binding.connect(&engine::Table::dataChanged, update);
    m_binding.connect(&engine::Table::currentChanged, update);
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<Button>& buttons) {
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[std::size_t(i)]->setVisible(buttons.contains(Button(i)));
}

void DBNavigator::setShowHints(bool show) {
    m_showHints = show;
    for (int i = 0; i < kButtonCount; ++i)
        m_buttons[std::size_t(i)]->setToolTip(show ? hint(Button(i)) : QString());
}

void DBNavigator::updateButtons() {
    const engine::Table* t = m_binding.table();
    const bool active = t && t->active();
    const int row = active ? t->currentRow() : -1;
    const int rows = active ? t->rowCount() : 0;
    const bool editing = active && t->editing();
    const bool up = active && row > 0;
    const bool down = active && row >= 0 && row < rows - 1;
    button(First)->setEnabled(up);
    button(Prior)->setEnabled(up);
    button(Next)->setEnabled(down);
    button(Last)->setEnabled(down);
    button(Insert)->setEnabled(active);
    button(Delete)->setEnabled(active && rows > 0);
    button(Edit)->setEnabled(active && !editing);
    button(Post)->setEnabled(editing);
    button(Cancel)->setEnabled(editing);
    button(Refresh)->setEnabled(active);
}

void DBNavigator::btnClick(Button which) {
    engine::Table* t = m_binding.table();
    if (!t)
        return;
    // A control whose typed text the field refused has shown why; nothing more is done.
    bool refused = false;
    const bool ok = platform::runGuarded([&] {
        switch (which) {
        case First:
        case Prior:
        case Next:
        case Last:
        case Insert:
        case Refresh:
            // Moving off the record saves it, with what is still being typed.
            if (!updateRecord(*t)) {
                refused = true;
                return;
            }
            break;
        default:
            break;
        }
        switch (which) {
        case First:
            t->first();
            break;
        case Prior:
            t->prior();
            break;
        case Next:
            t->next();
            break;
        case Last:
            t->last();
            break;
        case Insert:
            t->insert();
            break;
        case Delete:
            if (!m_confirmDelete ||
                platform::dialogs().message(platform::MessageType::Confirmation,
                                            platform::kApplicationTitle,
                                            QStringLiteral("Delete record?"),
                                            platform::Yes | platform::No) == platform::Yes)
                t->deleteRecord();
            break;
        case Edit:
            t->edit();
            break;
        case Post:
            refused = !postRecord(*t);
            break;
        case Cancel:
            t->cancel();
            break;
        case Refresh:
            t->refresh();
            break;
        }
    });
    if (ok && !refused)
        Q_EMIT click(which);
}

} // namespace jt::dbcontrols

#include "MarksWindow.h"

#include "DancerOrder.h"
#include "SaveMark.h"
#include "data/ProgramState.h"
#include "dbcontrols/DBNavigator.h"
#include "engine/Table.h"
#include "platform/Guarded.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace jt::marks {

MarksWindow::MarksWindow(ProgramState& state, QWidget* parent, bool maximised)
    : QDialog(parent), m_state(state), m_maximised(maximised) {}

MarksWindow::~MarksWindow() = default;

engine::Table& MarksWindow::results() const {
    return *m_state.module().results;
}

engine::DataSource* MarksWindow::resultsSource() const {
    return m_state.module().DataSource1;
}

void MarksWindow::reopenResults() {
    engine::Table& t = results();
    t.close();
    t.open();
    bindControls(resultsSource());
}

bool MarksWindow::openWindow() {
    if (m_open)
        return true;
    m_opening = true;
    m_previousPostingWindow = m_state.PostingWindow;
    m_state.PostingWindow = windowTitle();
    const bool ok = platform::runGuarded([this] {
        FormShow();
        FormActivate();
    });
    m_opening = false;
    if (!ok) {
        // Nothing of a half-done opening stays bound to the table.
        bindControls(nullptr);
        m_state.PostingWindow = m_previousPostingWindow;
        return false;
    }
    m_open = true;
    return true;
}

int MarksWindow::exec() {
    if (!openWindow())
        return Rejected;
    if (m_maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    return QDialog::exec();
}

void MarksWindow::setVisible(bool visible) {
    if (visible && !isVisible() && !m_opening) {
        if (!openWindow())
            return;
        if (m_maximised)
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    QDialog::setVisible(visible);
}

bool MarksWindow::finish() {
    if (!m_open)
        return true;
    bool closes = false;
    platform::runGuarded([&] { closes = FormClose(); });
    if (!closes)
        return false;
    m_open = false;
    bindControls(nullptr);
    m_state.PostingWindow = m_previousPostingWindow;
    return true;
}

void MarksWindow::done(int result) {
    if (!finish())
        return;
    QDialog::done(result);
}

void MarksWindow::closeEvent(QCloseEvent* event) {
    if (!finish()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

MarksWindow::OrderBar MarksWindow::addOrderBar(QBoxLayout* layout) {
    using dbcontrols::DBNavigator;
    OrderBar parts{};
    parts.navigator = new DBNavigator(this);
    parts.navigator->setObjectName(QStringLiteral("DBNavigator1"));
    parts.navigator->setVisibleButtons({DBNavigator::First, DBNavigator::Prior, DBNavigator::Next,
                                        DBNavigator::Last, DBNavigator::Post, DBNavigator::Cancel});
    parts.exit = makeButton(QStringLiteral("Exit"), QStringLiteral("Button1"));
    parts.exit->setToolTip(QStringLiteral("Click to return to main menu"));
    parts.orderLabel = makeOrderLabel(this);
    parts.order = makeButton(kAsDanced, QStringLiteral("Button2"));
    parts.order->setToolTip(kAsDancedHint);
    auto* bar = new QHBoxLayout;
    bar->addWidget(parts.navigator);
    bar->addWidget(parts.exit);
    bar->addSpacing(16);
    bar->addWidget(parts.orderLabel);
    bar->addWidget(parts.order);
    bar->addStretch();
    layout->addLayout(bar);
    return parts;
}

QPushButton* MarksWindow::makeButton(const QString& caption, const QString& objectName) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(objectName);
    // A click leaves the keyboard where the marks are typed; Enter never presses it.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}

QLabel* MarksWindow::makeOrderLabel(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("Current Order:"), parent);
    label->setObjectName(QStringLiteral("Label1"));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QLabel* MarksWindow::makeNamePanel(QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumHeight(40);
    QFont f = panel->font();
    f.setBold(true);
    f.setPointSize(std::max(f.pointSize(), 9) * 2);
    panel->setFont(f);
    return panel;
}

void MarksWindow::showOrder(QPushButton* button, engine::Table& results, bool asDanced) {
    if (asDanced)
        showAsDanced(results);
    else
        showAsEntered(results);
    button->setText(asDanced ? kAsDanced : kAsEntered);
    button->setToolTip(asDanced ? kAsDancedHint : kAsEnteredHint);
}

bool MarksWindow::toggleOrder(QPushButton* button, engine::Table& results) {
    if (!saveMark(results))
        return false;
    showOrder(button, results, button->text() == kAsEntered);
    return true;
}

bool MarksWindow::asDanced(const QPushButton* button) {
    return button->text() == kAsDanced;
}

} // namespace jt::marks

#include "ChoiceGroup.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>

namespace jt::marks {

ChoiceGroup::ChoiceGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked && !m_updating)
            Q_EMIT click();
    });
}

ChoiceGroup::~ChoiceGroup() = default;

void ChoiceGroup::setItems(const QStringList& items) {
    if (items == m_items) {
        setItemIndex(-1);
        return;
    }
    m_updating = true;
    for (QRadioButton* b : std::as_const(m_buttons)) {
        m_group->removeButton(b);
        delete b;
    }
    m_buttons.clear();
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("item%1").arg(items[i]));
        m_group->addButton(b, i);
        layout()->addWidget(b);
        m_buttons << b;
    }
    m_updating = false;
}

int ChoiceGroup::itemIndex() const {
    return m_group->checkedId();
}

void ChoiceGroup::setItemIndex(int index) {
    m_updating = true;
    if (index >= 0 && index < m_buttons.size()) {
        m_buttons[index]->setChecked(true);
    } else if (QAbstractButton* checked = m_group->checkedButton()) {
        // An exclusive group keeps one button checked; clearing takes it out of the group.
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
    m_updating = false;
}

QRadioButton* ChoiceGroup::button(int index) const {
    return index >= 0 && index < m_buttons.size() ? m_buttons[index] : nullptr;
}

void ChoiceGroup::choose(int index) {
    if (index < 0 || index >= m_buttons.size() || index == itemIndex())
        return;
    m_buttons[index]->setChecked(true);
}

} // namespace jt::marks

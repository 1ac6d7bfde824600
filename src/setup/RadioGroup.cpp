#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace jt::setup {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        m_group->addButton(button, int(m_items.size()));
        m_items.append(button);
        layout->addWidget(button);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !m_setting)
            Q_EMIT selectionChanged(id);
    });
}

RadioGroup::~RadioGroup() = default;

int RadioGroup::itemIndex() const {
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    QRadioButton* button = item(index);
    if (!button || button->isChecked())
        return;
    m_setting = true;
    button->setChecked(true);
    m_setting = false;
}

} // namespace jt::setup

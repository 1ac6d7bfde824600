#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace jt::marks {

// A captioned group of radio buttons side by side, one of which is selected.
// click() follows a change of selection made by the user (mouse, arrow keys or
// choose()); setItemIndex() is the program's own and says nothing.
class ChoiceGroup final : public QGroupBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChoiceGroup)

public:
    explicit ChoiceGroup(const QString& caption, QWidget* parent = nullptr);
    ~ChoiceGroup() override;

    // Replaces the items; none is selected afterwards.
    void setItems(const QStringList& items);
    QStringList items() const { return m_items; }
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* button(int index) const;
    // Selects the item as a click on it would; nothing happens when it is already selected
    // or there is no such item.
    void choose(int index);

Q_SIGNALS:
    void click();

private:
    QButtonGroup* m_group;
    QList<QRadioButton*> m_buttons;
    QStringList m_items;
    bool m_updating = false;
};

} // namespace jt::marks

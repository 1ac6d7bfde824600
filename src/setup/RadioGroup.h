#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace jt::setup {

// A framed group of mutually exclusive choices with a caption, one of them selected.
// selectionChanged follows the user's choice only (a click or the arrow keys), not
// setItemIndex, so a window can show a stored choice without storing it again.
class RadioGroup final : public QGroupBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioGroup)

public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);
    ~RadioGroup() override;

    // The selected item, -1 when none is.
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return m_items.value(index); }
    int count() const { return int(m_items.size()); }

Q_SIGNALS:
    void selectionChanged(int index);

private:
    QButtonGroup* m_group;
    QList<QRadioButton*> m_items;
    bool m_setting = false;
};

} // namespace jt::setup

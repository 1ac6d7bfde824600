#pragma once

#include "TableBinding.h"
#include "engine/DataSource.h"
#include "engine/Table.h"

#include <QList>
#include <QWidget>

#include <array>

class QToolButton;

namespace jt::dbcontrols {

// A bar of buttons that move through, edit and save the records of a table. Each
// window shows the subset it needs; the buttons follow the table's state (nothing on
// a closed table, no First or Prior on the first record, no Next or Last on the last,
// Post and Cancel only while the record is being edited).
class DBNavigator final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBNavigator)

public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    Q_ENUM(Button)
    static constexpr int kButtonCount = 10;

    explicit DBNavigator(QWidget* parent = nullptr);
    ~DBNavigator() override;

    void setDataSource(engine::DataSource* source);
    engine::DataSource* dataSource() const { return m_binding.dataSource(); }

    void setVisibleButtons(const QList<Button>& buttons);
    QToolButton* button(Button which) const { return m_buttons[std::size_t(which)]; }
    // Tool tips on the buttons ("First record" ...); some windows show none.
    void setShowHints(bool show);
    // Delete asks "Delete record?" first.
    void setConfirmDelete(bool confirm) { m_confirmDelete = confirm; }

    static QString caption(Button which);
    static QString hint(Button which);

public Q_SLOTS:
    // What pressing the button does; errors are shown, and `click` follows a press
    // whose action did not fail.
    void btnClick(jt::dbcontrols::DBNavigator::Button which);

Q_SIGNALS:
    // After a button's action has succeeded, for the window's own follow-up.
    void click(jt::dbcontrols::DBNavigator::Button which);

private:
    void bindTable();
    void updateButtons();

    std::array<QToolButton*, kButtonCount> m_buttons{};
    TableBinding m_binding{this, [this] { bindTable(); }};
    bool m_confirmDelete = true;
    bool m_showHints = true;
};

} // namespace jt::dbcontrols

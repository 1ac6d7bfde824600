#pragma once

#include "MarksWindow.h"

#include <QHash>
#include <QStringList>

class QLabel;
class QPushButton;

namespace jt::dbcontrols {
class DBEdit;
class DBNavigator;
} // namespace jt::dbcontrols

namespace jt::marks {

// View All Fields: one dancer at a time, laid out as a score sheet: the raw marks of
// every adjudicator in every round (editable) beside the calculation's totals and points
// (read-only). Created once at start-up and shown modally. Page Down and Page Up go to the
// next and prior dancer, Ctrl+Home and Ctrl+End to the first and last, as the navigator's
// buttons do; Alt+O switches the order, Alt+X is Exit.
class TDataEntry final : public MarksWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDataEntry)

public:
    explicit TDataEntry(ProgramState& state, QWidget* parent = nullptr);
    ~TDataEntry() override;

    dbcontrols::DBNavigator* DBNavigator1 = nullptr;
    QPushButton* Button1 = nullptr; // "Exit"
    QLabel* Label1 = nullptr;       // "Current Order:"
    QPushButton* Button2 = nullptr; // the order
    QLabel* Label14 = nullptr;      // "Recalled" for a recalled dancer

    // The edit box bound to a field, nullptr when there is none.
    dbcontrols::DBEdit* edit(const QString& field) const { return m_edits.value(field); }
    // The fields in the order the Tab key visits their boxes.
    const QStringList& tabOrder() const { return m_tabOrder; }
    // The fields the calculation writes, shown read-only.
    static bool isCalculatedField(const QString& field);

    void Button2Click();
    void DBNavigator1Click();
    void Button1Click();

protected:
    void FormActivate() override;
    bool FormClose() override;
    void bindControls(engine::DataSource* source) override;

private:
    dbcontrols::DBEdit* makeEdit(const QString& field);
    void refreshRecallLabel();

    QHash<QString, dbcontrols::DBEdit*> m_edits;
    QStringList m_tabOrder;
};

// The program's instance (set while one exists).
extern TDataEntry* DataEntry;

} // namespace jt::marks

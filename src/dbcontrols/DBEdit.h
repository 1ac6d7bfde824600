#pragma once

#include "TableBinding.h"
#include "engine/DataSource.h"
#include "engine/Table.h"

#include <QLineEdit>

namespace jt::dbcontrols {

// An edit box bound to one field of a table's current record. It shows the field's
// display text, and the plain value while it has the focus; typing puts the record
// into editing, and the text goes into the field when the box is left or the record
// is saved or left (a number field refuses text that does not read as a number and
// keeps the box open). Escape throws away the record's unsaved changes.
//
// The longest input is the field's width, or the window's maximum length when that
// is shorter (QLineEdit::setMaxLength).
class DBEdit final : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBEdit)

public:
    explicit DBEdit(QWidget* parent = nullptr);
    ~DBEdit() override;

    void setDataSource(engine::DataSource* source);
    engine::DataSource* dataSource() const { return m_binding.dataSource(); }
    void setDataField(const QString& fieldName);
    QString dataField() const { return m_fieldName; }
    // The bound field of the open table, nullptr when there is none.
    engine::Field* field() const;

    // Writes typed text into the field; false when it was refused (and shown).
    bool commit();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void bindTable();
    void showField();
    void onTextEdited();
    void applyFieldLimits();

    TableBinding m_binding{this, [this] { bindTable(); }, [this] { return commit(); }};
    QString m_fieldName;
    bool m_committing = false;
    bool m_updating = false;
};

} // namespace jt::dbcontrols

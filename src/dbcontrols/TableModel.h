#pragma once

#include "GridColumn.h"
#include "TableBinding.h"
#include "engine/DataSource.h"
#include "engine/Table.h"

#include <QAbstractTableModel>
#include <QList>

#include <vector>

namespace jt::dbcontrols {

// A table's rows in its current order and filter, seen through a data source. Cells
// are read on demand (Table::valueAt), so a repaint reads only the rows on screen.
// The row being edited shows its unsaved values.
//
// The model follows the table's notifications: rows that came, went or moved reset
// it (once, also when the table's bound controls are enabled again after a bulk
// update); a move of the cursor, a change of state or a field written in the current
// record repaints the rows concerned.
class TableModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableModel)

public:
    explicit TableModel(QObject* parent = nullptr);
    ~TableModel() override;

    void setDataSource(engine::DataSource* source);
    engine::DataSource* dataSource() const { return m_binding.dataSource(); }
    engine::Table* table() const { return m_binding.table(); }

    // The window's columns. With none set, every field of the open table is shown
    // under its own name.
    void setColumns(const QList<GridColumn>& columns);
    bool hasConfiguredColumns() const { return !m_columns.isEmpty(); }
    GridColumn column(int column) const;
    // The field a column shows in the open table; nullptr for separators, a closed
    // table or a field the table lacks.
    engine::Field* fieldAt(int column) const;
    // The first column bound to the named field, -1 when none is.
    int columnOfField(const QString& name) const;

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    // Whether typing into the column can change its field.
    bool isColumnEditable(int column) const;

    // A field's value in a row, without moving the cursor (for drawing handlers).
    QVariant fieldValue(int row, const QString& fieldName) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Writes typed text into the current record's field, putting the record into
    // editing first. A refusal (text that does not read as a number, a record that
    // cannot be edited) is shown in the general error display and returns false.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Counts model resets, for the bulk-update check.
    int resetCount() const { return m_resets; }

private:
    void bindTable();
    void resetFromTable();
    void onCurrentChanged();
    void onStateChanged();
    void repaintRow(int row);
    void resolveFields();
    int fieldNoAt(int column) const;
    bool isCell(const QModelIndex& index) const;

    TableBinding m_binding{this, [this] { bindTable(); }};
    QList<GridColumn> m_columns;
    std::vector<int> m_fieldNos; // per shown column, -1 without a field
    int m_rows = 0;              // the row count last announced to views
    int m_columnCount = 0;       // likewise for columns
    int m_currentRow = -1;
    bool m_readOnly = false;
    int m_resets = 0;
};

} // namespace jt::dbcontrols

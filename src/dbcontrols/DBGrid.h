#pragma once

#include "DrawColumnCell.h"
#include "GridColumn.h"
#include "TableBinding.h"
#include "engine/DataSource.h"
#include "engine/Table.h"

#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

#include <functional>

namespace jt::dbcontrols {

class CellDelegate;
class TableModel;

// A grid bound to a table through a data source. The table's cursor is the grid's
// current row and the other way round: moving in the grid moves the table, which
// saves an edited row on the way.
//
// Keys: typing puts the current row into editing; Up, Down, Page Up, Page Down, Tab
// and a click move (saving the row); Escape throws the row's changes away; Insert adds
// a blank row; Ctrl+Delete deletes the row after "Delete record?"; Down on the last
// row opens a blank row, which is dropped again when it is left unchanged.
class DBGrid : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBGrid)

public:
    explicit DBGrid(QWidget* parent = nullptr);
    ~DBGrid() override;

    void setDataSource(engine::DataSource* source);
    engine::DataSource* dataSource() const;
    engine::Table* table() const;
    TableModel* tableModel() const { return m_model; }

    // The window's columns; none shows every field of the table.
    void setColumns(const QList<GridColumn>& columns);
    GridColumn gridColumn(int column) const;
    int columnOfField(const QString& fieldName) const;
    void setGridColumnVisible(int column, bool visible);

    // A read-only grid takes no typing, Insert, Ctrl+Delete or new rows.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const;
    // The current cell's editor is open whenever the grid has the focus, so that a
    // mark is typed straight in (the marks windows).
    void setAlwaysOpenForTyping(bool on);
    bool alwaysOpenForTyping() const { return m_alwaysOpen; }
    // Down on the last row does nothing instead of opening a blank row.
    void setSwallowDownOnLastRow(bool on) { m_swallowDownOnLast = on; }
    bool swallowDownOnLastRow() const { return m_swallowDownOnLast; }

    int currentColumn() const { return m_column; }
    // Makes the column current in the current row (saving nothing; the row stays).
    void setCurrentColumn(int column);
    // Moves to a cell, saving an edited row when the row changes. False when the move
    // was refused (typed text not accepted, or the save failed; both already shown).
    bool goToCell(int row, int column);

    // Writes the open editor's typed text into the current record. False when the
    // field refused it: the refusal has been shown and the editor stays open.
    bool commitEditor();
    // The open cell editor, if any.
    QLineEdit* cellEditor() const { return m_editor.data(); }

Q_SIGNALS:
    // For every cell drawn, before it is drawn: the window may colour or draw it.
    void drawColumnCell(jt::dbcontrols::DrawColumnCell& cell);
    // A key pressed in the grid or its cell editor, before the grid acts on it, so a
    // window can take typing or stop a step past the last row. Setting swallow stops the grid from
    // acting on it.
    void keyDown(QKeyEvent* event, bool& swallow);
    // The current column is about to change from this one, so a window can put away
    // what it laid over the cell.
    void columnExited(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    using QTableView::edit;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    friend class CellDelegate;

    // Keys from the grid or from its editor; true when the grid dealt with the key.
    bool handleKey(QKeyEvent* event);
    bool moveRows(int delta);
    bool downOnLastRow();
    void insertRow();
    void deleteRow();
    void cancelRow();
    bool tabTo(bool forward);
    int nextEnabledColumn(int from, int step) const;

    // Grid actions run through here: engine errors are shown, and the grid is brought
    // into line with the table once the action is over.
    bool runAction(const std::function<void()>& action);
    void settle();
    void syncFromTable();
    void openEditorIfAlwaysOpen();
    void closeEditorWithoutSaving();
    void setViewColumn(int column);
    void applyColumnLayout();
    void bindTable();

    void editorCreated(QLineEdit* editor, const QModelIndex& index);
    void editorTextEdited();
    void editorFocusLost();

    TableModel* m_model;
    CellDelegate* m_delegate;
    TableBinding m_binding{this, [this] { bindTable(); }, [this] { return commitEditor(); }};
    QPointer<QLineEdit> m_editor;
    QPersistentModelIndex m_editorIndex;
    int m_column = 0;
    int m_busy = 0;
    bool m_syncing = false;
    bool m_committing = false;
    bool m_forwarding = false; // a key handed on to the editor, already seen
    bool m_alwaysOpen = false;
    bool m_swallowDownOnLast = false;
};

} // namespace jt::dbcontrols

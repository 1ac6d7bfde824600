#include "DBGrid.h"

#include "CellDelegate.h"
#include "TableModel.h"
#include "engine/DataSource.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace jt::dbcontrols {

DBGrid::DBGrid(QWidget* parent)
    : QTableView(parent), m_model(new TableModel(this)), m_delegate(new CellDelegate(this)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Editing starts from the grid's own key handling (typing, F2, Enter), never by itself.
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(14);
    horizontalHeader()->setHighlightSections(false);
    // The separators between blocks of columns are a few pixels wide.
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionsClickable(false);
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        // The view drops its editors on a reset; typed text cannot be kept.
        m_editor = nullptr;
        m_editorIndex = QPersistentModelIndex();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnLayout();
        if (m_busy == 0)
            settle();
    });
}

DBGrid::~DBGrid() {
    m_delegate->detach();
    if (m_editor)
        m_editor->removeEventFilter(m_delegate);
    m_editor = nullptr;
}

void DBGrid::setDataSource(engine::DataSource* source) {
    // The model follows the source first, so the grid binds to a model already reset.
    m_model->setDataSource(source);
    m_binding.setDataSource(source);
}

engine::DataSource* DBGrid::dataSource() const {
    return m_model->dataSource();
}

engine::Table* DBGrid::table() const {
    return m_model->table();
}

void DBGrid::bindTable() {
    m_binding.connect(&engine::Table::currentChanged, [this] {
        if (m_busy > 0)
            return;
        if (m_editor && m_editorIndex.row() != m_binding.table()->currentRow())
            closeEditorWithoutSaving();
        settle();
    });
    m_binding.connect(&engine::Table::stateChanged, [this] {
        if (m_busy > 0)
            return;
        // Saved or cancelled from elsewhere (the navigator): what the editor shows
        // is no longer the record's.
        if (m_editor && !m_binding.table()->editing())
            closeEditorWithoutSaving();
        settle();
    });
    settle();
}

void DBGrid::setColumns(const QList<GridColumn>& columns) {
    m_model->setColumns(columns);
    m_column = std::clamp(m_column, 0, std::max(0, m_model->columnCount() - 1));
}

GridColumn DBGrid::gridColumn(int column) const {
    return m_model->column(column);
}

int DBGrid::columnOfField(const QString& fieldName) const {
    return m_model->columnOfField(fieldName);
}

void DBGrid::setGridColumnVisible(int column, bool visible) {
    if (column < 0 || column >= m_model->columnCount())
        return;
    setColumnHidden(column, !visible);
    if (!visible && column == m_column) {
        const int next = nextEnabledColumn(column, 1) >= 0 ? nextEnabledColumn(column, 1)
                                                           : nextEnabledColumn(column, -1);
        if (next >= 0)
            setCurrentColumn(next);
    }
}

void DBGrid::applyColumnLayout() {
    const QFontMetrics fm(font());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const GridColumn gc = m_model->column(c);
        if (m_model->hasConfiguredColumns())
            setColumnHidden(c, !gc.visible);
        int width = gc.width;
        if (width < 0) {
            const engine::Field* f = m_model->fieldAt(c);
            const int chars = f ? std::clamp(f->size(), 4, 30) : 4;
            const QString title = gc.title.isEmpty() ? gc.fieldName : gc.title;
            width = std::max(fm.averageCharWidth() * chars, fm.horizontalAdvance(title)) + 10;
        }
        setColumnWidth(c, width);
    }
}

void DBGrid::setReadOnly(bool readOnly) {
    m_model->setReadOnly(readOnly);
    if (readOnly)
        closeEditorWithoutSaving();
}

bool DBGrid::isReadOnly() const {
    return m_model->isReadOnly();
}

void DBGrid::setAlwaysOpenForTyping(bool on) {
    m_alwaysOpen = on;
    if (on)
        openEditorIfAlwaysOpen();
}

// ---- keeping the grid and the table together ---------------------------------

bool DBGrid::runAction(const std::function<void()>& action) {
    ++m_busy;
    const bool ok = platform::runGuarded(action);
    --m_busy;
    if (m_busy == 0)
        settle();
    return ok;
}

void DBGrid::settle() {
    syncFromTable();
    openEditorIfAlwaysOpen();
}

void DBGrid::syncFromTable() {
    const engine::Table* t = m_binding.table();
    const int rows = m_model->rowCount();
    const int row = t && t->active() ? t->currentRow() : -1;
    if (row < 0 || row >= rows || m_model->columnCount() == 0)
        return;
    m_column = std::clamp(m_column, 0, m_model->columnCount() - 1);
    const QModelIndex target = m_model->index(row, m_column);
    if (currentIndex() != target) {
        m_syncing = true;
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        m_syncing = false;
    }
    scrollTo(target);
}

void DBGrid::openEditorIfAlwaysOpen() {
    if (!m_alwaysOpen || m_editor || m_busy > 0)
        return;
    const QWidget* focus = QApplication::focusWidget();
    if (focus != this && focus != viewport())
        return;
    const QModelIndex current = currentIndex();
    if (current.isValid() && m_model->isColumnEditable(current.column()))
        QTableView::edit(current, AllEditTriggers, nullptr);
}

void DBGrid::closeEditorWithoutSaving() {
    QLineEdit* editor = m_editor.data();
    if (!editor)
        return;
    m_editor = nullptr;
    m_editorIndex = QPersistentModelIndex();
    const bool hadFocus = editor->hasFocus();
    editor->setModified(false);
    editor->removeEventFilter(m_delegate);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (hadFocus)
        setFocus();
}

void DBGrid::editorCreated(QLineEdit* editor, const QModelIndex& index) {
    m_editor = editor;
    m_editorIndex = index;
    connect(editor, &QLineEdit::textEdited, this, &DBGrid::editorTextEdited);
}

void DBGrid::editorTextEdited() {
    engine::Table* t = m_binding.table();
    if (!t || t->editing())
        return;
    // The first change typed puts the record into editing.
    if (!runAction([&] {
            if (t->currentRow() != m_editorIndex.row())
                t->moveToRow(m_editorIndex.row());
            t->edit();
        }))
        closeEditorWithoutSaving();
}

bool DBGrid::commitEditor() {
    QLineEdit* editor = m_editor.data();
    if (!editor || !editor->isModified() || m_committing)
        return true;
    m_committing = true;
    ++m_busy;
    const bool ok = m_model->setData(m_editorIndex, editor->text(), Qt::EditRole);
    --m_busy;
    m_committing = false;
    if (ok) {
        editor->setModified(false);
    } else if (m_editor) {
        // The cell stays open with the text, for the user to correct.
        m_editor->setFocus();
    }
    return ok;
}

void DBGrid::editorFocusLost() {
    if (m_committing || !m_editor)
        return;
    QWidget* focus = QApplication::focusWidget();
    // A click into the grid itself is dealt with by the mouse handler.
    if (focus == this || focus == viewport() || (focus && m_editor->isAncestorOf(focus)))
        return;
    if (!commitEditor()) {
        QPointer<QLineEdit> editor = m_editor;
        QTimer::singleShot(0, this, [editor] {
            if (editor)
                editor->setFocus();
        });
    }
}

void DBGrid::setViewColumn(int column) {
    if (column != m_column)
        Q_EMIT columnExited(m_column);
    m_column = column;
}

bool DBGrid::goToCell(int row, int column) {
    engine::Table* t = m_binding.table();
    if (!t || !t->active() || m_model->rowCount() == 0)
        return false;
    row = std::clamp(row, 0, m_model->rowCount() - 1);
    column = std::clamp(column, 0, std::max(0, m_model->columnCount() - 1));
    if (!commitEditor())
        return false;
    const bool cellChanges = row != t->currentRow() || column != m_column;
    return runAction([&] {
        if (cellChanges)
            closeEditorWithoutSaving();
        if (row != t->currentRow())
            t->moveToRow(row);
        setViewColumn(column);
    });
}

void DBGrid::setCurrentColumn(int column) {
    const engine::Table* t = m_binding.table();
    if (t && t->active() && t->currentRow() >= 0)
        goToCell(t->currentRow(), column);
    else
        setViewColumn(column);
}

// ---- keys ---------------------------------------------------------------------

int DBGrid::nextEnabledColumn(int from, int step) const {
    for (int c = from + step; c >= 0 && c < m_model->columnCount(); c += step)
        if (!isColumnHidden(c) && !m_model->column(c).isSeparator())
            return c;
    return -1;
}

bool DBGrid::moveRows(int delta) {
    const engine::Table* t = m_binding.table();
    if (!t || !t->active() || t->currentRow() < 0)
        return true;
    const int target = std::clamp(t->currentRow() + delta, 0, m_model->rowCount() - 1);
    if (target != t->currentRow())
        goToCell(target, m_column);
    return true;
}

bool DBGrid::downOnLastRow() {
    engine::Table* t = m_binding.table();
    if (m_swallowDownOnLast || isReadOnly())
        return true;
    // Already on the blank row that Down opened: nothing more to open.
    if (t->state() == engine::Table::State::Insert && !t->modified() &&
        !(m_editor && m_editor->isModified()))
        return true;
    if (!commitEditor())
        return true;
    runAction([&] {
        closeEditorWithoutSaving();
        t->append();
    });
    return true;
}

void DBGrid::insertRow() {
    engine::Table* t = m_binding.table();
    if (!t || !t->active() || isReadOnly())
        return;
    if (!commitEditor())
        return;
    runAction([&] {
        closeEditorWithoutSaving();
        t->insert();
    });
}

void DBGrid::deleteRow() {
    engine::Table* t = m_binding.table();
    if (!t || !t->active() || isReadOnly() || t->rowCount() == 0)
        return;
    const platform::Button answer = platform::dialogs().message(
        platform::MessageType::Confirmation, platform::kApplicationTitle,
        QStringLiteral("Delete record?"), platform::Yes | platform::No);
    if (answer != platform::Yes)
        return;
    runAction([&] {
        closeEditorWithoutSaving();
        t->deleteRecord();
    });
}

void DBGrid::cancelRow() {
    engine::Table* t = m_binding.table();
    runAction([&] {
        closeEditorWithoutSaving();
        if (t && t->active() && t->editing())
            t->cancel();
    });
}

bool DBGrid::tabTo(bool forward) {
    const engine::Table* t = m_binding.table();
    if (!t || !t->active() || t->currentRow() < 0)
        return true;
    const int step = forward ? 1 : -1;
    int column = nextEnabledColumn(m_column, step);
    int row = t->currentRow();
    if (column < 0) {
        // Past the last column: the first of the next row (and back likewise).
        const int wrapped = nextEnabledColumn(forward ? -1 : m_model->columnCount(), step);
        if (wrapped < 0)
            return true;
        if (forward && row == m_model->rowCount() - 1) {
            downOnLastRow();
            setViewColumn(wrapped);
            settle();
            return true;
        }
        if (!forward && row == 0)
            return true;
        row += step;
        column = wrapped;
    }
    goToCell(row, column);
    return true;
}

bool DBGrid::handleKey(QKeyEvent* event) {
    bool swallow = false;
    Q_EMIT keyDown(event, swallow);
    if (swallow)
        return true;
    const engine::Table* t = m_binding.table();
    if (!t || !t->active())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool editorOpen = !m_editor.isNull();
    const int page =
        std::max(1, viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()) - 1);
    switch (event->key()) {
    case Qt::Key_Up:
        return moveRows(-1);
    case Qt::Key_Down:
        if (t->rowCount() > 0 && t->currentRow() == t->rowCount() - 1)
            return downOnLastRow();
        return moveRows(1);
    case Qt::Key_PageUp:
        return moveRows(-page);
    case Qt::Key_PageDown:
        return moveRows(page);
    case Qt::Key_Home:
        if (ctrl)
            return moveRows(-t->rowCount());
        if (editorOpen)
            return false;
        if (const int c = nextEnabledColumn(-1, 1); c >= 0)
            goToCell(t->currentRow(), c);
        return true;
    case Qt::Key_End:
        if (ctrl)
            return moveRows(t->rowCount());
        if (editorOpen)
            return false;
        if (const int c = nextEnabledColumn(m_model->columnCount(), -1); c >= 0)
            goToCell(t->currentRow(), c);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (editorOpen && !m_alwaysOpen)
            return false;
        if (editorOpen && m_alwaysOpen && m_editor->isModified())
            return false;
        if (const int c = nextEnabledColumn(m_column, event->key() == Qt::Key_Left ? -1 : 1);
            c >= 0)
            goToCell(t->currentRow(), c);
        return true;
    case Qt::Key_Tab:
        return tabTo(!(mods & Qt::ShiftModifier));
    case Qt::Key_Backtab:
        return tabTo(false);
    case Qt::Key_Escape:
        cancelRow();
        return true;
    case Qt::Key_Insert:
        if (mods != Qt::NoModifier)
            return false;
        insertRow();
        return true;
    case Qt::Key_Delete:
        if (!ctrl)
            return false;
        deleteRow();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (editorOpen) {
            if (commitEditor() && !m_alwaysOpen)
                closeEditorWithoutSaving();
        } else if (currentIndex().isValid()) {
            QTableView::edit(currentIndex(), AllEditTriggers, nullptr);
        }
        return true;
    default:
        return false;
    }
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    if (handleKey(event)) {
        event->accept();
        return;
    }
    if (m_forwarding) {
        // The editor did not want it and it came back up through the viewport.
        event->ignore();
        return;
    }
    if (m_editor) {
        // Sent to the grid while its editor is open: the editor types it.
        m_forwarding = true;
        QCoreApplication::sendEvent(m_editor, event);
        m_forwarding = false;
        return;
    }
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                       !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!typed) {
        if (event->key() == Qt::Key_F2)
            QTableView::keyPressEvent(event);
        else
            event->ignore();
        return;
    }
    engine::Table* t = m_binding.table();
    if (!t || !t->active() || isReadOnly())
        return;
    if (t->rowCount() == 0) {
        // Typing into an empty grid starts its first row.
        if (!runAction([&] { t->append(); }))
            return;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid() && m_model->isColumnEditable(current.column()))
        QTableView::edit(current, AnyKeyPressed, event);
}

bool DBGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // Only the current cell is ever edited, and only through the grid's own keys.
    if (!index.isValid() || index != currentIndex() || !m_model->isColumnEditable(index.column()))
        return false;
    return QTableView::edit(index, trigger, event);
}

// ---- mouse --------------------------------------------------------------------

void DBGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() ||
        !(m_model->flags(index) & Qt::ItemIsEnabled)) {
        if (!index.isValid())
            QTableView::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (index != currentIndex())
        goToCell(index.row(), index.column());
    else
        openEditorIfAlwaysOpen();
    event->accept();
}

void DBGrid::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: the current cell is the table's cursor.
    if (event->buttons() & Qt::LeftButton)
        return;
    QTableView::mouseMoveEvent(event);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() ||
        !(m_model->flags(index) & Qt::ItemIsEnabled))
        return;
    if (index != currentIndex() && !goToCell(index.row(), index.column()))
        return;
    Q_EMIT doubleClicked(currentIndex());
    event->accept();
}

void DBGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (m_busy == 0 && !m_editor)
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                openEditorIfAlwaysOpen();
        });
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (m_syncing || m_busy > 0 || !current.isValid())
        return;
    // Moved by something other than the grid's keys or mouse (a program call): the
    // table follows, and the view is put back in line afterwards.
    if (current.column() != m_column)
        setViewColumn(current.column());
    engine::Table* t = m_binding.table();
    if (t && t->active() && current.row() != t->currentRow()) {
        ++m_busy;
        platform::runGuarded([&] {
            closeEditorWithoutSaving();
            t->moveToRow(current.row());
        });
        --m_busy;
        QTimer::singleShot(0, this, [this] { settle(); });
    }
}

} // namespace jt::dbcontrols

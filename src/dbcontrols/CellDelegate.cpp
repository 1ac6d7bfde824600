#include "CellDelegate.h"

#include "DBGrid.h"
#include "NumberValidator.h"
#include "TableModel.h"
#include "engine/Field.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace jt::dbcontrols {

QVariant DrawColumnCell::fieldValue(const QString& fieldName) const {
    return model.fieldValue(row, fieldName);
}

CellDelegate::CellDelegate(DBGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const GridColumn column = m_grid->gridColumn(index.column());
    DrawColumnCell cell{painter,
                        opt,
                        index.row(),
                        index.column(),
                        column,
                        *m_grid->tableModel(),
                        index == m_grid->currentIndex()};
    Q_EMIT m_grid->drawColumnCell(cell);
    if (cell.handled)
        return;
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    if (const engine::Field* field = m_grid->tableModel()->fieldAt(index.column())) {
        if (field->isNumber())
            editor->setValidator(new NumberValidator(editor));
        else if (field->dataType() == engine::FieldType::Character)
            editor->setMaxLength(field->size());
    }
    const QVariant alignment = index.data(Qt::TextAlignmentRole);
    if (alignment.isValid())
        editor->setAlignment(alignment.value<Qt::Alignment>());
    editor->installEventFilter(const_cast<CellDelegate*>(this));
    m_grid->editorCreated(editor, index);
    return editor;
}

void CellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line || line->isModified())
        return;
    line->setText(index.data(Qt::EditRole).toString());
    line->selectAll();
}

void CellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {
    // The view asks for this when it closes an editor on its own; the grid writes the
    // text (only when something was typed) and shows a refusal.
    m_grid->commitEditor();
}

bool CellDelegate::eventFilter(QObject* object, QEvent* event) {
    if (!m_grid)
        return false;
    if (object != m_grid->cellEditor())
        return QStyledItemDelegate::eventFilter(object, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (m_grid->m_forwarding)
            return false;
        return m_grid->handleKey(static_cast<QKeyEvent*>(event));
    case QEvent::ShortcutOverride: {
        // Escape and the grid's keys are the grid's, not a shortcut's.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::FocusOut:
        m_grid->editorFocusLost();
        return false;
    default:
        return false;
    }
}

} // namespace jt::dbcontrols

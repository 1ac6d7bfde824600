#pragma once

#include <QStyledItemDelegate>

namespace jt::dbcontrols {

class DBGrid;

// Draws the grid's cells (through the window's drawing handler) and makes the cell
// editor: a line edit that shows the plain value, cut at the field's width, taking
// only number characters in number fields. The editor's keys that move, save or throw
// away go to the grid, which writes the typed text into the record itself.
class CellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CellDelegate)

public:
    explicit CellDelegate(DBGrid* grid);
    // The grid is going: its editor's events are no longer its business.
    void detach() { m_grid = nullptr; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    DBGrid* m_grid;
};

} // namespace jt::dbcontrols

#pragma once

#include "GridColumn.h"

#include <QStyleOptionViewItem>
#include <QVariant>

class QPainter;

namespace jt::dbcontrols {

class TableModel;

// What a window's cell-drawing handler (connected to DBGrid::drawColumnCell) is given for each cell
// the grid draws. The handler may change the option (text colour through its palette,
// font, background brush) before the grid draws the cell as usual, or draw the whole
// cell itself and set handled.
struct DrawColumnCell {
    QPainter* painter;
    QStyleOptionViewItem& option;
    int row;    // in the table's current order
    int column; // in the grid
    const GridColumn& gridColumn;
    const TableModel& model;
    bool focused; // the grid's current cell
    bool handled = false;

    QRect rect() const { return option.rect; }
    // A field's value in the row being drawn.
    QVariant fieldValue(const QString& fieldName) const;
};

} // namespace jt::dbcontrols

#pragma once

#include <QColor>
#include <QString>

namespace jt::dbcontrols {

// One column of a data grid as a window sets it up. A column without a field shows
// nothing and takes no input: the narrow grey separators between blocks of columns.
struct GridColumn {
    QString fieldName;       // empty: a separator
    QString title;           // empty: the field's name
    int width = -1;          // pixels; -1 lets the grid choose from the field's width
    Qt::Alignment alignment; // none given: numbers right, everything else left
    bool readOnly = false;
    QColor color; // background; invalid: the grid's own
    bool visible = true;

    static GridColumn field(const QString& name, const QString& title = {}) {
        GridColumn c;
        c.fieldName = name;
        c.title = title;
        return c;
    }
    static GridColumn separator(int width = 3) {
        GridColumn c;
        c.width = width;
        c.readOnly = true;
        c.color = QColor(0xA0, 0xA0, 0xA0);
        return c;
    }
    bool isSeparator() const { return fieldName.isEmpty(); }
};

} // namespace jt::dbcontrols

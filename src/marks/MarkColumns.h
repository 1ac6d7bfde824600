#pragma once

#include "dbcontrols/GridColumn.h"

#include <QColor>
#include <QList>

namespace jt::marks {

// The colours of the mark columns: light green for adjudicators A, C and E, light blue
// for B and D, so that neighbouring adjudicators stand apart.
QColor lightGreen();
QColor lightBlue();
QColor markColour(QChar adjudicator);

// A mark column: titled with its field's name, right-aligned, in its adjudicator's colour.
dbcontrols::GridColumn markColumn(const QString& field);
// "Dancer": the competitor number, read-only.
dbcontrols::GridColumn dancerColumn(int width = -1);
// RecDancer, read-only and centred.
dbcontrols::GridColumn recalledColumn(const QString& title);

} // namespace jt::marks

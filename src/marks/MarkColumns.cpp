#include "MarkColumns.h"

namespace jt::marks {

QColor lightGreen() {
    return QColor(0xC0, 0xFF, 0xC0);
}

QColor lightBlue() {
    return QColor(0xC0, 0xE0, 0xFF);
}

QColor markColour(QChar adjudicator) {
    const char letter = adjudicator.toUpper().toLatin1();
    return letter == 'B' || letter == 'D' ? lightBlue() : lightGreen();
}

dbcontrols::GridColumn markColumn(const QString& field) {
    dbcontrols::GridColumn c = dbcontrols::GridColumn::field(field);
    c.alignment = Qt::AlignRight;
    c.color = markColour(field.isEmpty() ? QChar() : field.front());
    c.width = 64;
    return c;
}

dbcontrols::GridColumn dancerColumn(int width) {
    dbcontrols::GridColumn c =
        dbcontrols::GridColumn::field(QStringLiteral("COMP_NO"), QStringLiteral("Dancer"));
    c.readOnly = true;
    c.width = width;
    return c;
}

dbcontrols::GridColumn recalledColumn(const QString& title) {
    dbcontrols::GridColumn c = dbcontrols::GridColumn::field(QStringLiteral("RecDancer"), title);
    c.readOnly = true;
    c.alignment = Qt::AlignHCenter;
    return c;
}

} // namespace jt::marks

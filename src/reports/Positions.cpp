#include "Positions.h"

#include "engine/Table.h"
#include "render/NumberText.h"

namespace jt::reports {

void AssignPositions(engine::Table& table, const QString& totalField) {
    engine::Field* total = table.fieldByName(totalField);
    engine::Field* position = table.fieldByName(QStringLiteral("POSITION"));
    const auto groupKey = [total] {
        return render::printText(total->value(), true, QStringLiteral("0.00"), QString());
    };
    int p = 1;
    table.first();
    while (!table.eof()) {
        const QString key = groupKey();
        int n = 0;
        while (!table.eof() && groupKey() == key) {
            table.edit();
            position->setAsInteger(p);
            table.post();
            table.next();
            ++n;
        }
        p += n;
    }
    table.first();
}

} // namespace jt::reports

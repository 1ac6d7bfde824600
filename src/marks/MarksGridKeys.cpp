#include "MarksGridKeys.h"

#include "SaveMark.h"
#include "dbcontrols/DBGrid.h"
#include "engine/Table.h"
#include "platform/Guarded.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace jt::marks {
namespace {

void saveAndStay(engine::Table& t) {
    platform::runGuarded([&] { saveMark(t); });
}

} // namespace

bool marksGridKey(dbcontrols::DBGrid& grid, const QKeyEvent& event, bool swallowDownOnLast) {
    engine::Table* t = grid.table();
    if (!t || !t->active() || t->rowCount() == 0)
        return false;
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier)
        return false;
    const bool last = t->currentRow() == t->rowCount() - 1;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (last)
            saveAndStay(*t);
        else
            grid.goToCell(t->currentRow() + 1, grid.currentColumn());
        return true;
    case Qt::Key_Down:
        if (!swallowDownOnLast || !last)
            return false;
        saveAndStay(*t);
        return true;
    default:
        return false;
    }
}

void keyboardToGrid(dbcontrols::DBGrid& grid) {
    if (grid.cellEditor() && grid.cellEditor()->hasFocus())
        grid.setFocus();
}

} // namespace jt::marks

#include "RecalcRunner.h"

#include "data/ProgramState.h"
#include "platform/Guarded.h"
#include "scoring/Recalculation.h"

#include <QApplication>

namespace jt::app {

bool runRecalculation(ProgramState& state) noexcept {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        scoring::recalculate(*state.module().results);
    } catch (...) {
        state.ReCalcFlag = true;
        QApplication::restoreOverrideCursor();
        platform::reportCurrentException();
        return false;
    }
    QApplication::restoreOverrideCursor();
    state.ReCalcFlag = false;
    return true;
}

} // namespace jt::app

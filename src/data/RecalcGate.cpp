#include "RecalcGate.h"

#include "ProgramState.h"
#include "platform/Dialogs.h"

namespace jt {

bool passRecalcGate(const ProgramState& state) {
    if (!state.ReCalcFlag)
        return true;
    platform::dialogs().message(platform::MessageType::Information, platform::kApplicationTitle,
                                QStringLiteral("Please RECALC"), platform::Ok);
    return false;
}

} // namespace jt

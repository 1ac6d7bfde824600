#include "Recalculation.h"

#include "Stages.h"
#include "data/DataModule.h"
#include "data/RecalcFlag.h"
#include "engine/EngineError.h"
#include "engine/SyncSession.h"
#include "platform/Dialogs.h"

namespace jt::scoring {

void recalculate(engine::Table& results) {
    try {
        // The dozen passes rewrite the table over and over; it reaches the disk once, at
        // the end, and a crash on the way puts back the table as it was before.
        engine::SyncSession session;
        IntermediateGrid1Click(results);
        FinalGrid1Click(results);
        session.finish();
    } catch (...) {
        ReCalcFlag = true;
        throw;
    }
    ReCalcFlag = false;
}

void recalculate() {
    if (!data::DataModule1)
        throw engine::EngineError(QStringLiteral("No competition is open"));
    recalculate(*data::DataModule1->results);
}

bool passRecalcGate() {
    if (!ReCalcFlag)
        return true;
    platform::dialogs().message(platform::MessageType::Information, platform::kApplicationTitle,
                                QStringLiteral("Please RECALC"), platform::Ok);
    return false;
}

} // namespace jt::scoring

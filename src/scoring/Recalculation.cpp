#include "Recalculation.h"

#include "Stages.h"
#include "engine/SyncSession.h"

namespace jt::scoring {

void recalculate(engine::Table& results) {
    // The dozen passes rewrite the table over and over; it reaches the disk once, at the
    // end, and a crash on the way puts back the table as it was before.
    engine::SyncSession session;
    IntermediateGrid1Click(results);
    FinalGrid1Click(results);
    session.finish();
}

} // namespace jt::scoring

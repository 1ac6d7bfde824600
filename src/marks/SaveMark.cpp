#include "SaveMark.h"

#include "dbcontrols/RecordLink.h"
#include "engine/Table.h"

namespace jt::marks {

bool saveMark(engine::Table& results) {
    if (!results.active())
        return true;
    if (!dbcontrols::updateRecord(results))
        return false;
    if (results.editing()) {
        if (results.modified())
            results.post();
        else
            results.cancel();
    }
    return true;
}

} // namespace jt::marks

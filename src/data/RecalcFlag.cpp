#include "RecalcFlag.h"

namespace jt {

bool ReCalcFlag = false;

} // namespace jt

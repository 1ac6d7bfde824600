#pragma once

#include <functional>

namespace jt::dbcontrols {

// Runs an action started from a control. An engine error (or any other exception)
// is shown in the general error display instead of reaching Qt's event loop.
// Returns false when the action failed.
bool guarded(const std::function<void()>& action);

} // namespace jt::dbcontrols

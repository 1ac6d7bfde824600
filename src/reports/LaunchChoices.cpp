#include "LaunchChoices.h"

namespace jt::reports {

LaunchChoices& launchChoices() {
    static LaunchChoices choices;
    return choices;
}

} // namespace jt::reports

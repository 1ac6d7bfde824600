#include "Guarded.h"

#include "engine/EngineError.h"
#include "platform/Dialogs.h"

#include <exception>

namespace jt::dbcontrols {

bool guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const engine::EngineError& error) {
        platform::showError(error.message());
    } catch (const std::exception& error) {
        platform::showError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace jt::dbcontrols

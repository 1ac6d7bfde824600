#include "Termination.h"

namespace jt::platform {
namespace {
bool requested = false;
std::function<void()>& handler() {
    static std::function<void()> h;
    return h;
}
} // namespace

void requestTermination() {
    requested = true;
    if (handler())
        handler()();
}

bool terminationRequested() {
    return requested;
}

void setTerminationHandler(std::function<void()> h) {
    handler() = std::move(h);
}

void clearTerminationRequest() {
    requested = false;
}

} // namespace jt::platform

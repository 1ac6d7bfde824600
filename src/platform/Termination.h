#pragma once

#include <functional>

namespace jt::platform {

// Ends the program at once, without the shut-down question: the windowed program
// leaves every event loop, so open dialogs close and nothing else is asked. Callers
// stop what they were doing once terminationRequested() is true.
void requestTermination();
bool terminationRequested();

// What requestTermination does besides raising the flag (the program installs one
// that quits the application); tests leave it empty and look at the flag.
void setTerminationHandler(std::function<void()> handler);
// Lowers the flag again (tests).
void clearTerminationRequest();

} // namespace jt::platform

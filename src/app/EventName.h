#pragma once

#include <QString>

#include <optional>

namespace jt {
class ProgramState;
}

namespace jt::app {

// The event name in the per-machine settings store (the value "company").
// A settings key that will not open is fatal where the event name is edited: the user
// is told "Could not open registry key. Terminating" and the program ends.

// The stored event name for the edit box; nothing when the key would not open (the
// program is then ending).
std::optional<QString> loadEventNameOrTerminate();
// Stores the event name and says so; false when the key would not open (the program is
// then ending). A failed write throws, for the general error display.
bool storeEventNameOrTerminate(const QString& name);
// Reloads the state's GlobalSchool from the stored value; when the key will not open it
// warns "Could not refresh GlobalSchool!" and leaves GlobalSchool as it was.
void refreshGlobalSchool(ProgramState& state);
// Start-up: the state's GlobalSchool becomes the stored value, so reports print the
// event name from the first run on. A key that will not open leaves it empty and says
// nothing; Set Event Name reports a missing key when it is used.
void loadGlobalSchool(ProgramState& state);

} // namespace jt::app

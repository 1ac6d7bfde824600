#pragma once

#include <QString>

namespace jt {

// The user's documents folder followed by "/Jigtally 2008/data", without a trailing
// separator; worked out once when the main window is created (empty when the platform
// knows no documents folder). The file dialogs start in it, the reports look for their
// logo pictures in it and the About box shows it.
extern QString DataFolder;

// The event name in force for printing. Set Event Name reloads it from the stored
// setting; nothing reads that setting into it at start-up.
extern QString GlobalSchool;

} // namespace jt

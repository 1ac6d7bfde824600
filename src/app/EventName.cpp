#include "EventName.h"

#include "data/ProgramState.h"
#include "platform/Dialogs.h"
#include "platform/MachineSettings.h"
#include "platform/Termination.h"

namespace jt::app {
namespace {

void terminateForMissingKey() {
    platform::dialogs().message(platform::MessageType::Warning, platform::kApplicationTitle,
                                QStringLiteral("Could not open registry key. Terminating"),
                                platform::Cancel);
    platform::requestTermination();
}

} // namespace

std::optional<QString> loadEventNameOrTerminate() {
    const auto key = platform::SettingsKey::open(platform::kEventNameKey);
    if (!key) {
        terminateForMissingKey();
        return std::nullopt;
    }
    return key->readString(platform::kEventNameValue);
}

bool storeEventNameOrTerminate(const QString& name) {
    auto key = platform::SettingsKey::open(platform::kEventNameKey);
    if (!key) {
        terminateForMissingKey();
        return false;
    }
    key->writeString(platform::kEventNameValue, name);
    platform::dialogs().message(platform::MessageType::Information, platform::kApplicationTitle,
                                QStringLiteral("Ok. New event name stored."), platform::Ok);
    return true;
}

void refreshGlobalSchool(ProgramState& state) {
    const auto key = platform::SettingsKey::open(platform::kEventNameKey);
    if (!key) {
        platform::dialogs().message(platform::MessageType::Warning, platform::kApplicationTitle,
                                    QStringLiteral("Could not refresh GlobalSchool!"),
                                    platform::Cancel);
        return;
    }
    state.GlobalSchool = key->readString(platform::kEventNameValue);
}

void loadGlobalSchool(ProgramState& state) {
    if (const auto key = platform::SettingsKey::open(platform::kEventNameKey))
        state.GlobalSchool = key->readString(platform::kEventNameValue);
}

} // namespace jt::app

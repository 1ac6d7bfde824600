#include "DataFolder.h"

#include "CompetitionFiles.h"
#include "data/ProgramState.h"
#include "engine/AliasRegistry.h"
#include "engine/EngineError.h"
#include "platform/Dialogs.h"

#include <QStandardPaths>

namespace jt::app {

void prepareDataFolder(ProgramState& state, const QString& documentsFolder,
                       CompetitionFiles& files) {
    if (documentsFolder.isEmpty())
        throw engine::EngineError(QStringLiteral("Could not find MyDocuments folder location."));
    state.DataFolder = documentsFolder + QStringLiteral("/Jigtally 2008/data");
    files.setInitialFolder(state.DataFolder);
    auto& aliases = engine::AliasRegistry::instance();
    if (aliases.exists(kAliasName))
        return;
    aliases.addStandardAlias(kAliasName, state.DataFolder, QStringLiteral("DBASE"));
    aliases.saveConfig();
    platform::dialogs().message(platform::MessageType::Information, platform::kApplicationTitle,
                                QStringLiteral("Alias \"%1\" created").arg(kAliasName),
                                platform::Ok);
}

QString platformDocumentsFolder() {
    // writableLocation only reports the folder; it does not create it.
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace jt::app

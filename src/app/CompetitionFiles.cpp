#include "CompetitionFiles.h"

#include "CompetitionNames.h"
#include "data/ChangeLog.h"
#include "data/ProgramState.h"
#include "data/ResultsCheck.h"
#include "engine/AliasRegistry.h"
#include "engine/BatchCopy.h"
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <QDir>
#include <QFileInfo>

namespace jt::app {
namespace {

using platform::Button;
using platform::dialogs;
using platform::kApplicationTitle;
using platform::MessageType;

void refuse(const QString& text) {
    dialogs().message(MessageType::Error, kApplicationTitle, text, platform::Cancel);
}

bool confirmed(const QString& text) {
    return dialogs().message(MessageType::Warning, kApplicationTitle, text,
                             platform::Yes | platform::No) == platform::Yes;
}

platform::FileDialogOptions dialogOptions(const QString& title, bool mustExist,
                                          bool refuseReadOnly) {
    platform::FileDialogOptions o;
    o.title = title;
    o.filter = QStringLiteral("Competition Tables (*.dbf)");
    o.defaultSuffix = QStringLiteral("dbf");
    o.mustExist = mustExist;
    o.refuseReadOnly = refuseReadOnly;
    return o;
}

// Create and Delete make the chosen file's folder the working folder; Select leaves it.
// Tables are found through the alias either way, so only a relative file name given
// later depends on it.
void enterFolderOf(const QString& path) {
    QDir::setCurrent(QFileInfo(path).absolutePath());
}

// Opens a table for sole use just long enough to read its index definitions again.
void reopenForSoleUse(engine::Table& table) {
    const bool wasExclusive = table.exclusive();
    table.setExclusive(true);
    try {
        table.open();
        table.updateIndexDefs();
        table.close();
    } catch (...) {
        table.close();
        table.setExclusive(wasExclusive);
        throw;
    }
    table.setExclusive(wasExclusive);
}

// The error traps of Create and Delete: the operating system's refusals get the
// command's own box, with the system's reason and the file under it (a full disk, a
// folder that cannot be written); every other failure goes on to the general error
// display. True when the steps ran to their end.
template <typename F> bool underFileTrap(const QString& failureText, F&& steps) {
    try {
        return steps();
    } catch (const engine::EngineError& e) {
        if (e.kind() != engine::EngineError::Kind::Io)
            throw;
        dialogs().message(MessageType::Error, kApplicationTitle,
                          failureText + QStringLiteral("\n\n") + e.message(), platform::Ok);
        return false;
    }
}

// The competition as the main window names it: the file's base name in capitals.
QString displayName(const QString& fileName) {
    return asciiUpper(competitionNames(fileName).baseName);
}

} // namespace

CompetitionFiles::CompetitionFiles(ProgramState& state, CompetitionView& view)
    : m_state(state), m_view(view),
      m_selectOpen(dialogOptions(QStringLiteral("Select Competition Table"), true, true)),
      m_createOpen(dialogOptions(QStringLiteral("Create Competition Table"), false, false)),
      m_deleteOpen(dialogOptions(QStringLiteral("Delete Competition Table"), true, false)) {}

void CompetitionFiles::setInitialFolder(const QString& folder) {
    m_selectOpen.folder = folder;
    m_createOpen.folder = folder;
    m_deleteOpen.folder = folder;
}

void CompetitionFiles::Select1Click() {
    if (m_view.competitionOpen())
        Close1Click();
    const std::optional<QString> chosen = dialogs().openFileName(m_selectOpen);
    if (!chosen)
        return;
    const QString fileName = QFileInfo(*chosen).fileName();
    const QString lower = asciiLower(fileName);
    if (refusedForSelect(lower)) {
        refuse(QStringLiteral("Cannot select system file ") + lower);
        return;
    }
    const CompetitionNames names = competitionNames(lower);
    m_view.showCompetitionName(asciiUpper(names.baseName));

    data::TDataModule1& dm = m_state.module();
    // A selection that failed half-way can leave the info table open with no
    // competition on offer; it is closed here so that the next selection can go ahead.
    dm.compinfo->close();
    dm.compinfo->setTableName(names.infoName);
    dm.compinfo->open();

    engine::Table& results = *dm.results;
    results.close();
    results.setTableName(fileName);
    // A results table of the wrong shape is refused here, before its indexes are touched.
    const QStringList warnings = data::resultsWarnings(results, dm.compinfoNUMADJS->asString(),
                                                       dm.compinfoNUMROUNDS->asString());
    results.updateIndexDefs();
    bool orderIndex = false;
    const engine::IndexDefList defs = results.indexDefs();
    for (const engine::IndexDef& def : defs) {
        if (def.field == QStringLiteral("SEQUENCE"))
            orderIndex = true;
        else
            results.deleteIndex(def.name);
    }
    if (!orderIndex) {
        results.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
        reopenForSoleUse(results);
    }

    m_view.disableFileCommands();
    m_view.enableCompetitionCommands(true);
    m_state.ReCalcFlag = true;
    m_view.CheckReCalcFlag();
    for (const QString& warning : warnings)
        dialogs().message(MessageType::Warning, kApplicationTitle, warning, platform::Ok);
}

void CompetitionFiles::Create1Click() {
    const std::optional<QString> chosen = dialogs().openFileName(m_createOpen);
    if (!chosen)
        return;
    const QString path = *chosen;
    enterFolderOf(path);
    const QFileInfo info(path);
    // The tables are found without regard to letter case, so a file that differs only
    // in case is the same competition.
    if (QFileInfo::exists(engine::findFileIgnoringCase(info.absolutePath(), info.fileName()))) {
        refuse(QStringLiteral("File ") + path + QStringLiteral(" already exists"));
        return;
    }
    const bool created = underFileTrap(QStringLiteral("File Creation Error"), [&] {
        engine::Table CreateSrce;
        CreateSrce.setDatabaseName(data::TDataModule1::kAlias);
        CreateSrce.setTableName(data::TDataModule1::kResultsTemplate);
        engine::Table CreateDest;
        CreateDest.setDatabaseName(data::TDataModule1::kAlias);
        CreateDest.setTableName(path);
        engine::batchCopy(CreateSrce, CreateDest);

        const CompetitionNames names = competitionNames(info.fileName());
        engine::Table CreateInfoSrce;
        CreateInfoSrce.setDatabaseName(data::TDataModule1::kAlias);
        CreateInfoSrce.setTableName(data::TDataModule1::kInfoTemplate);
        engine::Table CreateInfoDest;
        CreateInfoDest.setDatabaseName(data::TDataModule1::kAlias);
        CreateInfoDest.setTableName(info.path() + QLatin1Char('/') + names.infoName);
        try {
            CreateDest.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
            reopenForSoleUse(CreateDest);
            engine::batchCopy(CreateInfoSrce, CreateInfoDest);
        } catch (const engine::EngineError& e) {
            // A disk that filled up part-way leaves no half-made competition behind.
            if (e.kind() == engine::EngineError::Kind::Io) {
                try {
                    CreateDest.close();
                    CreateDest.deleteTable();
                } catch (const engine::EngineError&) {
                }
            }
            throw;
        }
        return true;
    });
    if (created)
        m_view.showStatus(QStringLiteral("Created ") + displayName(info.fileName()));
}

void CompetitionFiles::Close1Click() {
    data::TDataModule1& dm = m_state.module();
    dm.results->close();
    dm.compinfo->close();
    m_view.showCompetitionName(kNoneSelected);
    dm.results->setTableName(QString());
    dm.compinfo->setTableName(QString());
    m_view.enableCompetitionCommands(false);
    m_state.ReCalcFlag = false;
    m_view.CheckReCalcFlag();
}

void CompetitionFiles::Delete1Click() {
    if (!confirmed(QStringLiteral("This action DELETES competitions. Continue?")))
        return;
    const std::optional<QString> chosen = dialogs().openFileName(m_deleteOpen);
    if (!chosen)
        return;
    const QString path = *chosen;
    enterFolderOf(path);
    const QString fileName = QFileInfo(path).fileName();
    if (refusedForDelete(fileName)) {
        refuse(QStringLiteral("Cannot delete system file ") + asciiLower(fileName));
        return;
    }
    const bool deleted = underFileTrap(QStringLiteral("File Delete Error"), [&] {
        if (!confirmed(QStringLiteral("Are you sure you want to DELETE TABLE ") + path +
                       QLatin1Char('?')))
            return false;
        engine::Table DelTable;
        DelTable.setDatabaseName(data::TDataModule1::kAlias);
        DelTable.setTableName(path);
        DelTable.close();
        // The change log goes with the table it belongs to.
        const QString resultsPath = DelTable.resolvedPath();
        DelTable.deleteTable();
        data::deleteChangeLog(resultsPath);
        DelTable.setTableName(competitionNames(fileName).infoName);
        DelTable.close();
        DelTable.deleteTable();
        return true;
    });
    if (deleted)
        m_view.showStatus(QStringLiteral("Deleted ") + displayName(fileName));
}

} // namespace jt::app

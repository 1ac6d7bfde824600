#include "TempDataFolder.h"

#include "data/SystemTables.h"
#include "engine/AliasRegistry.h"

#include <QDir>
#include <QFile>

namespace jt::test {

TempDataFolder::TempDataFolder(const QString& alias) {
    QDir().mkpath(path());
    auto& registry = engine::AliasRegistry::instance();
    registry.setConfigFile(m_dir.path() + QStringLiteral("/aliases.ini"));
    if (!alias.isEmpty()) {
        registry.addStandardAlias(alias, path(), QStringLiteral("DBASE"));
        registry.saveConfig();
    }
}

TempDataFolder::~TempDataFolder() {
    engine::AliasRegistry::instance().setConfigFile(m_dir.path() + QStringLiteral("/gone.ini"));
}

QString systemTablesFolder() {
    return QStringLiteral(JIGTALLY_SYSTEM_TABLES_DIR);
}

void TempDataFolder::addSystemTables() const {
    const QDir source(systemTablesFolder());
    const QStringList files = source.entryList(QDir::Files);
    for (const QString& file : files)
        QFile::copy(source.filePath(file), filePath(file));
}

void TempDataFolder::addCompetition(const QString& name) const {
    const QDir source(systemTablesFolder());
    QFile::copy(source.filePath(QStringLiteral("template.DBF")),
                filePath(name + QStringLiteral(".dbf")));
    QFile::copy(source.filePath(QStringLiteral("template_inf.dbf")),
                filePath(name + QStringLiteral("_inf.dbf")));
}

} // namespace jt::test

#include "AliasRegistry.h"

#include "EngineError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace jt::engine {

AliasRegistry& AliasRegistry::instance() {
    static AliasRegistry registry;
    return registry;
}

AliasRegistry::AliasRegistry() {
    m_configFile = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                   QStringLiteral("/jigtally/aliases.ini");
    load();
}

void AliasRegistry::setConfigFile(const QString& path) {
    m_configFile = path;
    load();
}

void AliasRegistry::load() {
    m_aliases.clear();
    QSettings settings(m_configFile, QSettings::IniFormat);
    const int count = settings.beginReadArray(QStringLiteral("aliases"));
    for (int i = 0; i < count; ++i) {
        settings.setArrayIndex(i);
        Entry e{settings.value(QStringLiteral("name")).toString(),
                settings.value(QStringLiteral("path")).toString(),
                settings.value(QStringLiteral("driver")).toString()};
        if (!e.name.isEmpty())
            m_aliases.insert(e.name.toLower(), e);
    }
    settings.endArray();
}

bool AliasRegistry::exists(const QString& alias) const {
    return m_aliases.contains(alias.toLower());
}

void AliasRegistry::addStandardAlias(const QString& alias, const QString& folder,
                                     const QString& driver) {
    if (alias.trimmed().isEmpty())
        throw EngineError(QStringLiteral("An alias needs a name"));
    m_aliases.insert(alias.toLower(), Entry{alias, QDir::cleanPath(folder), driver});
}

void AliasRegistry::saveConfig() {
    QDir().mkpath(QFileInfo(m_configFile).absolutePath());
    QSettings settings(m_configFile, QSettings::IniFormat);
    settings.remove(QStringLiteral("aliases"));
    settings.beginWriteArray(QStringLiteral("aliases"), int(m_aliases.size()));
    int i = 0;
    for (const Entry& e : m_aliases) {
        settings.setArrayIndex(i++);
        settings.setValue(QStringLiteral("name"), e.name);
        settings.setValue(QStringLiteral("path"), e.folder);
        settings.setValue(QStringLiteral("driver"), e.driver);
    }
    settings.endArray();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw EngineError(
            QStringLiteral("Cannot save the alias configuration to %1").arg(m_configFile),
            EngineError::Kind::Io);
}

QString AliasRegistry::folderOf(const QString& alias) const {
    const auto it = m_aliases.constFind(alias.toLower());
    if (it == m_aliases.constEnd())
        throw EngineError(QStringLiteral("Unknown database: %1").arg(alias),
                          EngineError::Kind::NotFound);
    return it->folder;
}

QString AliasRegistry::driverOf(const QString& alias) const {
    const auto it = m_aliases.constFind(alias.toLower());
    return it == m_aliases.constEnd() ? QString() : it->driver;
}

QString findFileIgnoringCase(const QString& folder, const QString& fileName) {
    const QString exact = QDir(folder).filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return exact;
}

QString resolveTablePath(const QString& alias, const QString& tableName) {
    if (tableName.isEmpty())
        throw EngineError(QStringLiteral("No table name given"), EngineError::Kind::NotFound);
    if (tableName.contains(QLatin1Char('/')) || alias.isEmpty()) {
        const QFileInfo info(tableName);
        return findFileIgnoringCase(info.path(), info.fileName());
    }
    return findFileIgnoringCase(AliasRegistry::instance().folderOf(alias), tableName);
}

} // namespace jt::engine

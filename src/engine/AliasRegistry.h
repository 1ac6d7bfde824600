#pragma once

#include <QMap>
#include <QString>

namespace jt::engine {

// Named database aliases: a name that stands for a folder of dBASE tables.
// The configuration is an INI file in the user's configuration folder; tests
// point it elsewhere with setConfigFile().
class AliasRegistry final {
public:
    static AliasRegistry& instance();

    // Where the configuration is read from and saved to. Reloads it.
    void setConfigFile(const QString& path);
    QString configFile() const { return m_configFile; }

    bool exists(const QString& alias) const;
    // Adds or replaces an alias in memory; saveConfig() makes it outlive the run.
    void addStandardAlias(const QString& alias, const QString& folder, const QString& driver);
    void saveConfig();
    // Folder of the alias; throws EngineError (NotFound) for an unknown alias.
    QString folderOf(const QString& alias) const;
    QString driverOf(const QString& alias) const;

private:
    AliasRegistry();
    void load();

    struct Entry {
        QString name;
        QString folder;
        QString driver;
    };
    QString m_configFile;
    QMap<QString, Entry> m_aliases; // keyed by lower-case name: alias names ignore case
};

// The file a table handle names: a name with a folder is used as given; a bare name is
// looked for in the alias's folder, without regard to letter case when there is no
// exact match. A name that matches no file gives the path it would be created at.
QString resolveTablePath(const QString& alias, const QString& tableName);

// An existing file in the folder whose name equals fileName ignoring case, preferring
// an exact match; otherwise folder + fileName.
QString findFileIgnoringCase(const QString& folder, const QString& fileName);

} // namespace jt::engine

#pragma once

#include "engine/FieldDef.h"

#include <QString>
#include <QTemporaryDir>

namespace jt::test {

// A temporary data folder with the alias "jigtally 2008" pointing at it. The alias
// configuration lives inside the folder too, so tests never touch the user's own.
class TempDataFolder final {
public:
    explicit TempDataFolder(const QString& alias = QStringLiteral("jigtally 2008"));
    ~TempDataFolder();

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path() + QStringLiteral("/data"); }
    QString filePath(const QString& name) const { return path() + QLatin1Char('/') + name; }

    // Copies the built system tables (template.DBF, template_inf.dbf, example.*) in.
    void addSystemTables() const;
    // Creates a competition from the templates: NAME.dbf and NAME_inf.dbf.
    void addCompetition(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// Where the build put the system tables.
QString systemTablesFolder();

} // namespace jt::test

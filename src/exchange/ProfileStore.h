#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace jt::exchange {

// Saved import or export profiles: one JSON file per name in a folder of the
// user's configuration ("<config>/jigtally/import-profiles"). Names are what the user
// typed; the file name is made safe from it. Errors come back as text.
class ProfileStore final {
public:
    // kind is "import" or "export"; folder empty means the user's configuration folder.
    explicit ProfileStore(const QString& kind, const QString& folder = {});

    QString folder() const { return m_folder; }
    QStringList names() const; // sorted, as saved
    // Empty on success, else why not.
    QString save(const QString& name, const QJsonObject& profile) const;
    // The profile, or nothing with error set.
    std::optional<QJsonObject> load(const QString& name, QString* error = nullptr) const;
    QString remove(const QString& name) const;

    // The folder the user's profiles of this kind live in (QStandardPaths).
    static QString defaultFolder(const QString& kind);

private:
    QString pathOf(const QString& name) const;

    QString m_folder;
};

} // namespace jt::exchange

#include "ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace jt::exchange {

ProfileStore::ProfileStore(const QString& kind, const QString& folder)
    : m_folder(folder.isEmpty() ? defaultFolder(kind) : folder) {}

QString ProfileStore::defaultFolder(const QString& kind) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/jigtally/%1-profiles").arg(kind);
}

QString ProfileStore::pathOf(const QString& name) const {
    // Hex-encode anything but letters and digits, so any name maps to one safe file name.
    QString safe;
    for (const QChar c : name) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            safe += c;
        else
            safe += QStringLiteral("_%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return m_folder + u'/' + safe + QStringLiteral(".json");
}

QStringList ProfileStore::names() const {
    QStringList names;
    const QDir dir(m_folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        QFile f(dir.filePath(file));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
        const QString name = o.value(QStringLiteral("name")).toString();
        if (!name.isEmpty() && pathOf(name) == dir.filePath(file))
            names.append(name);
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    return names;
}

QString ProfileStore::save(const QString& name, const QJsonObject& profile) const {
    if (name.trimmed().isEmpty())
        return QStringLiteral("A profile needs a name.");
    if (!QDir().mkpath(m_folder))
        return QStringLiteral("The folder %1 cannot be created.")
            .arg(QDir::toNativeSeparators(m_folder));
    QJsonObject o = profile;
    o.insert(QStringLiteral("name"), name);
    QSaveFile f(pathOf(name));
    if (!f.open(QIODevice::WriteOnly))
        return QStringLiteral("The profile \"%1\" cannot be saved: %2").arg(name, f.errorString());
    f.write(QJsonDocument(o).toJson());
    if (!f.commit())
        return QStringLiteral("The profile \"%1\" cannot be saved: %2").arg(name, f.errorString());
    return {};
}

std::optional<QJsonObject> ProfileStore::load(const QString& name, QString* error) const {
    auto fail = [&](const QString& text) -> std::optional<QJsonObject> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    QFile f(pathOf(name));
    if (!f.exists())
        return fail(QStringLiteral("There is no profile \"%1\".").arg(name));
    if (!f.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("The profile \"%1\" cannot be read: %2").arg(name, f.errorString()));
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject())
        return fail(QStringLiteral("The profile \"%1\" is damaged: %2")
                        .arg(name, parse.error != QJsonParseError::NoError
                                       ? parse.errorString()
                                       : QStringLiteral("not an object")));
    return doc.object();
}

QString ProfileStore::remove(const QString& name) const {
    QFile f(pathOf(name));
    if (!f.exists())
        return QStringLiteral("There is no profile \"%1\".").arg(name);
    if (!f.remove())
        return QStringLiteral("The profile \"%1\" cannot be deleted: %2")
            .arg(name, f.errorString());
    return {};
}

} // namespace jt::exchange

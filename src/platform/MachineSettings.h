#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace jt::platform {

// The per-machine settings store. Settings live in one INI-style text file shared by
// every user of the machine, by default /etc/jigtally-2008/registry.ini:
//
//     [SOFTWARE\Jigtally Software\Jigtally 2008\0.1.0.0]
//     company="Scoil Rince Example"
//
// The program never creates that file nor a key in it; the machine's administrator (or
// the installer) does. A key "opens" when the file exists, can be both read and written,
// and holds the key's section; a value that is missing reads as the empty text.
QString machineSettingsFile();
// Points the store at another file (tests, or a machine set up differently).
void setMachineSettingsFile(const QString& path);

// Raised when an opened key cannot be written.
class SettingsError final : public std::runtime_error {
public:
    explicit SettingsError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// One opened key: read at open, written back at once by writeString. Closing is the
// end of the object's life, so open a key, use it and let it go.
class SettingsKey final {
public:
    // The key, opened for reading and writing without being created; nothing when the
    // settings file is missing, cannot be read and written, or has no such key.
    static std::optional<SettingsKey> open(const QString& keyPath);

    // The value's text; empty when the value is missing.
    QString readString(const QString& name) const;
    // Stores a string value in the key, keeping everything else in the file. Throws
    // SettingsError.
    void writeString(const QString& name, const QString& value);

private:
    SettingsKey(QString file, QString keyPath, QStringList lines);

    QString m_file;
    QString m_keyPath;
    QStringList m_lines;
};

// The key and value that hold the event name.
inline const QString kEventNameKey =
    QStringLiteral("SOFTWARE\\Jigtally Software\\Jigtally 2008\\0.1.0.0");
inline const QString kEventNameValue = QStringLiteral("company");

} // namespace jt::platform

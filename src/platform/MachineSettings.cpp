#include "MachineSettings.h"

#include <QFile>

#include <unistd.h>

namespace jt::platform {
namespace {

QString& settingsFile() {
    static QString path = QStringLiteral("/etc/jigtally-2008/registry.ini");
    return path;
}

bool isSection(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
}

bool isSectionNamed(const QString& line, const QString& keyPath) {
    const QString t = line.trimmed();
    // Key paths and value names ignore letter case, as they do in a registry.
    return isSection(t) &&
           t.mid(1, t.size() - 2).trimmed().compare(keyPath, Qt::CaseInsensitive) == 0;
}

// The value name of a "name=value" line, or nothing for comments and other lines.
std::optional<QString> valueName(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return std::nullopt;
    return t.left(eq).trimmed();
}

QString parseValue(const QString& line) {
    QString v = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() < 2 || !v.startsWith(QLatin1Char('"')) || !v.endsWith(QLatin1Char('"')))
        return v; // typed by hand without quotes
    QString out;
    for (qsizetype i = 1; i < v.size() - 1; ++i) {
        if (v[i] == QLatin1Char('\\') && i + 1 < v.size() - 1)
            ++i;
        out += v[i];
    }
    return out;
}

QString quoted(const QString& value) {
    QString out = QStringLiteral("\"");
    for (const QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

QString machineSettingsFile() {
    return settingsFile();
}

void setMachineSettingsFile(const QString& path) {
    settingsFile() = path;
}

SettingsKey::SettingsKey(QString file, QString keyPath, QStringList lines)
    : m_file(std::move(file)), m_keyPath(std::move(keyPath)), m_lines(std::move(lines)) {}

std::optional<SettingsKey> SettingsKey::open(const QString& keyPath) {
    QFile file(settingsFile());
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(file.readAll());
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    bool hasKey = false;
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        hasKey = hasKey || isSectionNamed(line, keyPath);
    }
    // A key that is not there is as missing as a file that is not there: opening never
    // creates one.
    if (!hasKey)
        return std::nullopt;
    return SettingsKey(settingsFile(), keyPath, std::move(lines));
}

QString SettingsKey::readString(const QString& name) const {
    bool inKey = false;
    for (const QString& line : m_lines) {
        if (isSection(line)) {
            inKey = isSectionNamed(line, m_keyPath);
            continue;
        }
        const auto n = valueName(line);
        if (inKey && n && n->compare(name, Qt::CaseInsensitive) == 0)
            return parseValue(line);
    }
    return {};
}

void SettingsKey::writeString(const QString& name, const QString& value) {
    QStringList lines = m_lines;
    const QString entry = name + QLatin1Char('=') + quoted(value);
    qsizetype section = -1;
    qsizetype insertAt = -1;
    bool replaced = false;
    for (qsizetype i = 0; i < lines.size() && !replaced; ++i) {
        if (isSection(lines[i])) {
            if (section >= 0)
                break;
            if (isSectionNamed(lines[i], m_keyPath))
                section = insertAt = i + 1;
            continue;
        }
        if (section < 0)
            continue;
        const auto n = valueName(lines[i]);
        if (n && n->compare(name, Qt::CaseInsensitive) == 0) {
            lines[i] = entry;
            replaced = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    // open() refuses a file without the key's section, so it is there.
    if (!replaced && insertAt < 0)
        throw SettingsError(
            QStringLiteral("The settings file %1 has no key %2").arg(m_file, m_keyPath));
    if (!replaced)
        lines.insert(insertAt, entry);

    // Written in place: the file's owner and mode are the administrator's choice, and the
    // folder holding it need not be writable by the user.
    const QByteArray bytes = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    QFile file(m_file);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        throw SettingsError(QStringLiteral("Cannot write the settings file %1: %2")
                                .arg(m_file, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush() ||
        ::fsync(file.handle()) != 0)
        throw SettingsError(QStringLiteral("Cannot write the settings file %1: %2")
                                .arg(m_file, file.errorString()));
    m_lines = std::move(lines);
}

} // namespace jt::platform

#include "SchoolList.h"

#include "engine/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

namespace jt::setup {

namespace {

bool lessIgnoringCase(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

QString decodeLines(const QByteArray& bytes) {
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    // Lists written by older Windows programs are in the Windows code page.
    if (utf8.hasError())
        text = engine::decodeCp1252(data.data(), data.size());
    return text;
}

} // namespace

bool SchoolList::add(const QString& name) {
    if (name.isEmpty())
        return false;
    const auto at = std::lower_bound(m_names.begin(), m_names.end(), name, lessIgnoringCase);
    if (at != m_names.end() && at->compare(name, Qt::CaseInsensitive) == 0)
        return false;
    m_names.insert(at, name);
    return true;
}

bool SchoolList::contains(const QString& name) const {
    const auto at = std::lower_bound(m_names.begin(), m_names.end(), name, lessIgnoringCase);
    return at != m_names.end() && at->compare(name, Qt::CaseInsensitive) == 0;
}

std::optional<QString> SchoolList::completionOf(const QString& typed) const {
    if (typed.isEmpty())
        return std::nullopt;
    for (const QString& name : m_names)
        if (name.startsWith(typed, Qt::CaseInsensitive) &&
            name.compare(typed, Qt::CaseInsensitive) != 0)
            return name;
    return std::nullopt;
}

QString SchoolList::load(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly))
            return QStringLiteral("The school list %1 could not be created: %2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The school list %1 could not be read: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFile::NoError)
        return QStringLiteral("The school list %1 could not be read: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    const QString text = decodeLines(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            add(line.toString());
    }
    return {};
}

QString SchoolList::save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("The school list %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    QByteArray bytes;
    for (const QString& name : m_names)
        bytes += name.toUtf8() + "\r\n";
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("The school list %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

} // namespace jt::setup

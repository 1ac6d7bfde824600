#include "SchoolList.h"

#include "engine/Cp1252.h"
#include "engine/PosixIo.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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
    QByteArray bytes;
    for (const QString& name : m_names)
        bytes += name.toUtf8() + "\r\n";
    // Written to a synced file beside the list and renamed over it, every step checked:
    // on a full disk the old list stays as it was.
    const QByteArray temp = QFile::encodeName(path + QStringLiteral(".tmp"));
    int error = 0;
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = errno;
    } else {
        qint64 done = 0;
        while (error == 0 && done < bytes.size()) {
            const ssize_t n =
                ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
            if (n < 0 && errno != EINTR)
                error = errno;
            else if (n > 0)
                done += n;
        }
        if (error == 0 && ::fsync(fd) != 0)
            error = errno;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error == 0 && ::rename(temp.constData(), QFile::encodeName(path).constData()) != 0)
            error = errno;
        if (error != 0)
            ::unlink(temp.constData());
    }
    if (error != 0)
        return QStringLiteral("The school list %1 could not be written: %2")
            .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(error)));
    engine::posix::syncDirectoryOf(path);
    return {};
}

} // namespace jt::setup

#include "PosixIo.h"

#include "EngineError.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jt::engine::posix {
namespace {

constexpr int kLockAttempts = 20;
constexpr unsigned long kLockRetryMs = 5;

IoObserver& observer() {
    static IoObserver instance;
    return instance;
}

int openRetrying(const QString& path, int flags) {
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(native.constData(), flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

void setIoObserver(IoObserver o) {
    observer() = std::move(o);
}

int observe(IoEvent::Kind kind, const QString& path, qint64 offset, qint64 length) {
    const IoObserver& o = observer();
    return o ? o(IoEvent{kind, path, offset, length}) : 0;
}

EngineError ioError(const QString& what, const QString& path, int error) {
    return EngineError(QStringLiteral("Cannot %1 %2: %3").arg(what, path, systemError(error)),
                       EngineError::Kind::Io);
}

EngineError inUse(const QString& path) {
    return EngineError(QStringLiteral("Table %1 is in use by another user").arg(path),
                       EngineError::Kind::InUse);
}

int openFile(const QString& path, int flags, const QString& what) {
    const int fd = openRetrying(path, flags);
    if (fd < 0)
        throw ioError(what, path, errno);
    return fd;
}

int openQuietly(const QString& path, int flags) {
    return openRetrying(path, flags);
}

int openTable(const QString& path, int flags, const QString& what) {
    const int fd = openRetrying(path, flags);
    if (fd >= 0)
        return fd;
    if (errno == ENOENT)
        throw EngineError(QStringLiteral("Table does not exist: %1").arg(path),
                          EngineError::Kind::NotFound);
    throw ioError(what, path, errno);
}

void lockTable(int fd, bool exclusive, const QString& path) {
    const int how = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (int attempt = 0;; ++attempt) {
        if (::flock(fd, how) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            throw ioError(QStringLiteral("lock"), path, errno);
        if (attempt + 1 >= kLockAttempts)
            throw inUse(path);
        QThread::msleep(kLockRetryMs);
    }
}

void lockBlocking(int fd, int how) {
    while (::flock(fd, how) != 0 && errno == EINTR) {
    }
}

FileId fileId(int fd, const QString& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ioError(QStringLiteral("open"), path, errno);
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

qint64 fileSize(int fd, const QString& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ioError(QStringLiteral("read"), path, errno);
    return qint64(st.st_size);
}

std::uint64_t birthTimeNs(int fd) {
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &stx) != 0 || !(stx.stx_mask & STATX_BTIME))
        return 0;
    return std::uint64_t(stx.stx_btime.tv_sec) * 1000000000u + stx.stx_btime.tv_nsec;
}

QByteArray readAll(int fd, const QString& path, qint64 limit) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ioError(QStringLiteral("read"), path, errno);
    if (!S_ISREG(st.st_mode))
        throw EngineError(QStringLiteral("%1 is not a file").arg(path), EngineError::Kind::BadFile);
    if (st.st_size > limit)
        throw EngineError(QStringLiteral("%1 is too large to be a competition table").arg(path),
                          EngineError::Kind::BadFile);
    QByteArray data(qsizetype(st.st_size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < st.st_size) {
        const ssize_t n = ::pread(fd, data.data() + done, std::size_t(st.st_size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ioError(QStringLiteral("read"), path, errno);
        if (n == 0)
            break;
        done += n;
    }
    data.truncate(qsizetype(done));
    return data;
}

QByteArray readHead(int fd, const QString& path, qint64 length) {
    QByteArray head(qsizetype(length), Qt::Uninitialized);
    ssize_t n = 0;
    do {
        n = ::pread(fd, head.data(), std::size_t(head.size()), 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        throw ioError(QStringLiteral("read"), path, errno);
    head.truncate(qsizetype(n));
    return head;
}

void writeAll(int fd, const char* bytes, qint64 length, qint64 offset, const QString& path) {
    if (const int injected = observe(IoEvent::Kind::Write, path, offset, length))
        throw ioError(QStringLiteral("write"), path, injected);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pwrite(fd, bytes + done, std::size_t(length - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ioError(QStringLiteral("write"), path, errno);
        done += n;
    }
}

void truncate(int fd, qint64 length, const QString& path) {
    if (::ftruncate(fd, length) != 0)
        throw ioError(QStringLiteral("write"), path, errno);
}

void sync(int fd, const QString& path) {
    if (const int injected = observe(IoEvent::Kind::Sync, path))
        throw ioError(QStringLiteral("write"), path, injected);
    int rc = 0;
    do {
        rc = ::fdatasync(fd);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        throw ioError(QStringLiteral("write"), path, errno);
}

void unlinkQuietly(const QString& path) {
    if (observe(IoEvent::Kind::Unlink, path) == 0)
        ::unlink(QFile::encodeName(path).constData());
}

void syncDirectoryOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (observe(IoEvent::Kind::Sync, folder) != 0)
        return;
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

void Descriptor::reset(int fd) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

} // namespace jt::engine::posix

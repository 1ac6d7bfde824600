#include "DbfFile.h"

#include "EngineError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jt::engine {
namespace {

constexpr char kJournalMagic[4] = {'J', 'T', 'J', '1'};
constexpr int kJournalHeaderSize = 20;
constexpr qint64 kLargestTable = qint64(1) << 30;

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

EngineError ioError(const QString& what, const QString& path, int error) {
    return EngineError(QStringLiteral("Cannot %1 %2: %3").arg(what, path, systemError(error)),
                       EngineError::Kind::Io);
}

std::uint32_t crc32(const char* data, std::size_t size, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ std::uint8_t(data[i])) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

template <typename T> void putLE(char* p, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i)
        p[i] = char((std::uint64_t(value) >> (8 * i)) & 0xFF);
}

template <typename T> T getLE(const char* p) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        v |= std::uint64_t(std::uint8_t(p[i])) << (8 * i);
    return T(v);
}

QByteArray readAll(int fd, const QString& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ioError(QStringLiteral("read"), path, errno);
    if (!S_ISREG(st.st_mode))
        throw EngineError(QStringLiteral("%1 is not a file").arg(path), EngineError::Kind::BadFile);
    if (st.st_size > kLargestTable)
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

} // namespace

void syncDirectoryOf(const QString& path) {
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

DbfFile::~DbfFile() {
    try {
        close();
    } catch (...) {
        // A failed final sync has nobody to tell from a destructor; close() reports it when called.
    }
}

QString DbfFile::journalPath(const QString& tablePath) { return tablePath + QStringLiteral("-journal"); }

void DbfFile::open(const QString& path, Mode mode) {
    close();
    const QByteArray native = QFile::encodeName(path);
    const int flags = (mode == Mode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(native.constData(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENOENT)
            throw EngineError(QStringLiteral("Table does not exist: %1").arg(path), EngineError::Kind::NotFound);
        throw ioError(mode == Mode::ReadOnly ? QStringLiteral("open") : QStringLiteral("open for writing"),
                      path, errno);
    }
    m_fd = fd;
    m_path = path;
    m_mode = mode;
    try {
        lockOrThrow(mode);
        m_image = readAll(m_fd, path);
        recoverJournal();
        m_header = parseHeader(m_image, path);
        validateRecords(m_header, m_image, path);
    } catch (...) {
        ::close(m_fd);
        m_fd = -1;
        if (m_journalFd >= 0)
            ::close(m_journalFd);
        m_journalFd = -1;
        m_image.clear();
        throw;
    }
    m_dirty = false;
    m_dateTouched = false;
}

void DbfFile::lockOrThrow(Mode mode) {
    const int how = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int rc = 0;
    do {
        rc = ::flock(m_fd, how);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return;
    if (errno == EWOULDBLOCK)
        throw EngineError(QStringLiteral("Table %1 is in use by another user").arg(m_path),
                          EngineError::Kind::InUse);
    throw ioError(QStringLiteral("lock"), m_path, errno);
}

// A journal left by a post that was cut short holds the complete new bytes of the
// record being written; putting them in again brings the record to its new state.
void DbfFile::recoverJournal() {
    const QString jpath = journalPath(m_path);
    const QByteArray native = QFile::encodeName(jpath);
    if (::access(native.constData(), F_OK) != 0)
        return;
    const bool writable = m_mode != Mode::ReadOnly;
    const int jfd = ::open(native.constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (jfd < 0)
        return;
    // Wait for a post of another process that may be writing the journal right now.
    while (::flock(jfd, LOCK_EX) != 0 && errno == EINTR) {
    }
    QByteArray entry;
    try {
        entry = readAll(jfd, jpath);
    } catch (const EngineError&) {
    }
    if (entry.size() >= kJournalHeaderSize && std::memcmp(entry.constData(), kJournalMagic, 4) == 0) {
        const auto length = getLE<std::uint32_t>(entry.constData() + 4);
        const auto offset = getLE<std::uint64_t>(entry.constData() + 8);
        const auto crc = getLE<std::uint32_t>(entry.constData() + 16);
        const bool fits = length > 0 && length <= 0xFFFF &&
                          qint64(kJournalHeaderSize) + length <= entry.size() &&
                          offset >= 32 && offset + length <= std::uint64_t(m_image.size());
        if (fits) {
            const char* payload = entry.constData() + kJournalHeaderSize;
            std::uint32_t check = crc32(entry.constData() + 4, 12);
            check = crc32(payload, length, check);
            if (check == crc) {
                std::memcpy(m_image.data() + offset, payload, length);
                if (writable) {
                    pwriteAll(m_fd, payload, length, qint64(offset), m_path);
                    syncFd(m_fd, m_path);
                }
            }
        }
    }
    // The table now holds the journal's state, so the journal can go once nobody else
    // has the table open: a sole user knows that, a shared user finds out at close.
    if (m_mode == Mode::Exclusive) {
        ::unlink(native.constData());
        syncDirectoryOf(jpath);
        ::close(jfd);
    } else if (writable) {
        ::flock(jfd, LOCK_UN);
        m_journalFd = jfd;
    } else {
        ::close(jfd);
    }
}

void DbfFile::close() {
    if (m_fd < 0)
        return;
    int syncError = 0;
    if (m_dirty && ::fdatasync(m_fd) != 0)
        syncError = errno;
    m_dirty = false;
    if (syncError == 0)
        removeJournalIfAlone();
    if (m_journalFd >= 0)
        ::close(m_journalFd);
    m_journalFd = -1;
    ::close(m_fd);
    m_fd = -1;
    m_image.clear();
    m_header = {};
    if (syncError != 0)
        throw ioError(QStringLiteral("write"), m_path, syncError);
}

void DbfFile::removeJournalIfAlone() {
    if (m_mode != Mode::Shared || m_journalFd < 0)
        return;
    // Only when no other process has the table open is the journal nobody's.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return;
    const QString jpath = journalPath(m_path);
    ::unlink(QFile::encodeName(jpath).constData());
    syncDirectoryOf(jpath);
}

const char* DbfFile::record(std::uint32_t index) const {
    Q_ASSERT(index < m_header.recordCount);
    return m_image.constData() + m_header.structure.headerLength +
           qint64(index) * m_header.structure.recordLength;
}

void DbfFile::pwriteAll(int fd, const char* bytes, qint64 length, qint64 offset, const QString& what) {
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::pwrite(fd, bytes + done, std::size_t(length - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ioError(QStringLiteral("write"), what, errno);
        done += n;
    }
}

void DbfFile::syncFd(int fd, const QString& what) {
    int rc = 0;
    do {
        rc = ::fdatasync(fd);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        throw ioError(QStringLiteral("write"), what, errno);
}

void DbfFile::ensureJournalOpen() {
    if (m_journalFd >= 0)
        return;
    const QString jpath = journalPath(m_path);
    m_journalFd = ::open(QFile::encodeName(jpath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_journalFd < 0)
        throw ioError(QStringLiteral("write"), jpath, errno);
    syncDirectoryOf(jpath);
}

void DbfFile::writeJournal(qint64 offset, const char* bytes, int length) {
    const QString jpath = journalPath(m_path);
    QByteArray entry(kJournalHeaderSize + length, Qt::Uninitialized);
    char* e = entry.data();
    std::memcpy(e, kJournalMagic, 4);
    putLE<std::uint32_t>(e + 4, std::uint32_t(length));
    putLE<std::uint64_t>(e + 8, std::uint64_t(offset));
    std::memcpy(e + kJournalHeaderSize, bytes, std::size_t(length));
    std::uint32_t crc = crc32(e + 4, 12);
    crc = crc32(e + kJournalHeaderSize, std::size_t(length), crc);
    putLE<std::uint32_t>(e + 16, crc);
    pwriteAll(m_journalFd, entry.constData(), entry.size(), 0, jpath);
    syncFd(m_journalFd, jpath);
}

void DbfFile::touchHeaderDate() {
    if (m_dateTouched)
        return;
    const QDate today = QDate::currentDate();
    writeHeaderCountAndDate(m_image.data(), m_header.recordCount, today);
    pwriteAll(m_fd, m_image.constData() + 1, 3, 1, m_path);
    m_header.lastUpdate = today;
    m_dateTouched = true;
}

void DbfFile::writeRecord(std::uint32_t index, const char* bytes) {
    if (m_mode == Mode::ReadOnly)
        throw EngineError(QStringLiteral("Table %1 is open for reading only").arg(m_path));
    Q_ASSERT(index < m_header.recordCount);
    const int length = m_header.structure.recordLength;
    const qint64 offset = m_header.structure.headerLength + qint64(index) * length;
    char* current = m_image.data() + offset;
    if (std::memcmp(current, bytes, std::size_t(length)) == 0)
        return;
    if (m_mode == Mode::Shared) {
        ensureJournalOpen();
        // The journal lock serialises the posts of several processes.
        while (::flock(m_journalFd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct Unlock {
            int fd;
            ~Unlock() { ::flock(fd, LOCK_UN); }
        } unlock{m_journalFd};
        writeJournal(offset, bytes, length);
        pwriteAll(m_fd, bytes, length, offset, m_path);
        touchHeaderDate();
        syncFd(m_fd, m_path);
    } else {
        pwriteAll(m_fd, bytes, length, offset, m_path);
        touchHeaderDate();
        m_dirty = true;
    }
    std::memcpy(current, bytes, std::size_t(length));
}

std::uint32_t DbfFile::appendRecord(const char* bytes) {
    if (m_mode == Mode::ReadOnly)
        throw EngineError(QStringLiteral("Table %1 is open for reading only").arg(m_path));
    const int length = m_header.structure.recordLength;
    const std::uint32_t index = m_header.recordCount;
    const qint64 offset = m_header.structure.headerLength + qint64(index) * length;
    QByteArray tail(bytes, length);
    tail.append(kEndOfFile);
    // Record and end marker first, the count after: a crash in between leaves the old count.
    pwriteAll(m_fd, tail.constData(), tail.size(), offset, m_path);
    if (m_mode == Mode::Shared)
        syncFd(m_fd, m_path);
    const QDate today = QDate::currentDate();
    char counts[8];
    std::memcpy(counts, m_image.constData(), 8);
    writeHeaderCountAndDate(counts, index + 1, today);
    pwriteAll(m_fd, counts + 1, 7, 1, m_path);
    if (m_mode == Mode::Shared)
        syncFd(m_fd, m_path);
    else
        m_dirty = true;

    if (m_image.size() < offset + tail.size())
        m_image.resize(offset + tail.size());
    std::memcpy(m_image.data() + offset, tail.constData(), std::size_t(tail.size()));
    std::memcpy(m_image.data(), counts, 8);
    m_header.recordCount = index + 1;
    m_header.lastUpdate = today;
    m_dateTouched = true;
    return index;
}

void DbfFile::sync() {
    if (m_fd >= 0 && m_dirty) {
        syncFd(m_fd, m_path);
        m_dirty = false;
    }
}

void DbfFile::writeWholeTable(const QString& path, const DbfStructure& structure,
                              const QByteArray& records, std::uint32_t count) {
    const QFileInfo info(path);
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                      QLatin1Char('0'));
    const QByteArray nativeTemp = QFile::encodeName(temp);
    const QByteArray nativePath = QFile::encodeName(path);

    // A destination that someone has open is in use; hold it so nobody opens it meanwhile.
    int oldFd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC);
    struct CloseOld {
        int& fd;
        ~CloseOld() {
            if (fd >= 0)
                ::close(fd);
        }
    } closeOld{oldFd};
    if (oldFd >= 0 && ::flock(oldFd, LOCK_EX | LOCK_NB) != 0)
        throw EngineError(QStringLiteral("Table %1 is in use by another user").arg(path),
                          EngineError::Kind::InUse);

    const int fd = ::open(nativeTemp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw ioError(QStringLiteral("create"), path, errno);
    DbfFile writer;
    writer.m_path = path;
    try {
        QByteArray image = buildHeader(structure, count, QDate::currentDate());
        image.append(records);
        image.append(kEndOfFile);
        writer.pwriteAll(fd, image.constData(), image.size(), 0, path);
        writer.syncFd(fd, path);
    } catch (...) {
        ::close(fd);
        ::unlink(nativeTemp.constData());
        throw;
    }
    ::close(fd);
    if (::rename(nativeTemp.constData(), nativePath.constData()) != 0) {
        const int error = errno;
        ::unlink(nativeTemp.constData());
        throw ioError(QStringLiteral("create"), path, error);
    }
    syncDirectoryOf(path);
}

} // namespace jt::engine

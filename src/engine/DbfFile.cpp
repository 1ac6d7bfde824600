#include "DbfFile.h"

#include "EngineError.h"
#include "SyncSession.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jt::engine {
namespace {

constexpr char kJournalMagic[4] = {'J', 'T', 'J', '2'};
constexpr int kJournalHeaderSize = 32;
constexpr int kChangeHeaderSize = 12;
constexpr qint64 kLargestTable = qint64(1) << 30;
// A process that is closing a table holds it alone for a moment to tidy up; an open
// that meets that lock tries again for this long before it reports "in use".
constexpr int kLockAttempts = 20;
constexpr unsigned long kLockRetryMs = 5;

IoObserver& observer() {
    static IoObserver instance;
    return instance;
}

// Asks the test observer whether the operation may go ahead; 0 means yes.
int observe(IoEvent::Kind kind, const QString& path, qint64 offset = 0, qint64 length = 0) {
    const IoObserver& o = observer();
    return o ? o(IoEvent{kind, path, offset, length}) : 0;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

EngineError ioError(const QString& what, const QString& path, int error) {
    return EngineError(QStringLiteral("Cannot %1 %2: %3").arg(what, path, systemError(error)),
                       EngineError::Kind::Io);
}

EngineError inUse(const QString& path) {
    return EngineError(QStringLiteral("Table %1 is in use by another user").arg(path),
                       EngineError::Kind::InUse);
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

void pwriteAll(int fd, const char* bytes, qint64 length, qint64 offset, const QString& path) {
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

void syncFd(int fd, const QString& path) {
    if (const int injected = observe(IoEvent::Kind::Sync, path))
        throw ioError(QStringLiteral("write"), path, injected);
    int rc = 0;
    do {
        rc = ::fdatasync(fd);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        throw ioError(QStringLiteral("write"), path, errno);
}

void lockBlocking(int fd, int how) {
    while (::flock(fd, how) != 0 && errno == EINTR) {
    }
}

// Holds the journal's lock, which serialises the changes of several processes.
struct JournalLock {
    int fd;
    explicit JournalLock(int f) : fd(f) {
        if (fd >= 0)
            lockBlocking(fd, LOCK_EX);
    }
    ~JournalLock() {
        if (fd >= 0)
            ::flock(fd, LOCK_UN);
    }
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;
};

void unlinkFile(const QString& path) {
    if (observe(IoEvent::Kind::Unlink, path) == 0)
        ::unlink(QFile::encodeName(path).constData());
}

// ---- sync sessions ---------------------------------------------------------

constexpr char kUndoMagic[4] = {'J', 'T', 'U', '1'};
constexpr int kUndoHeaderSize = 40; // magic, device, inode, birth time, image length, checksum

struct SessionFile {
    int fd = -1;     // the table, opened anew: no lock of ours rides on it
    int undoFd = -1; // locked for as long as the session lives
    QString undoPath;
};

struct SessionState {
    int depth = 0;
    std::map<QString, SessionFile> files;
};

SessionState& sessionState() {
    static SessionState state;
    return state;
}

// The file's birth time tells a table from a later one that got the same inode number.
std::uint64_t birthTimeNs(int fd) {
    struct statx stx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &stx) != 0 || !(stx.stx_mask & STATX_BTIME))
        return 0;
    return std::uint64_t(stx.stx_btime.tv_sec) * 1000000000u + stx.stx_btime.tv_nsec;
}

QString undoPathOf(const QString& tablePath) {
    return tablePath + QStringLiteral("-undo");
}

// ---- files this process has checked ------------------------------------------

// A table this process checked or wrote and that nobody changed since (same file,
// size and change times to the nanosecond) need not have every value checked again:
// a recalculation opens the results table a dozen times over.
struct FileStamp {
    std::uint64_t device = 0, inode = 0;
    qint64 size = 0, mtimeNs = 0, ctimeNs = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

std::map<QString, FileStamp>& checkedFiles() {
    static std::map<QString, FileStamp> files;
    return files;
}

std::optional<FileStamp> stampOf(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return FileStamp{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                     qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

bool checkedBefore(const QString& path, int fd) {
    const auto it = checkedFiles().find(path);
    const auto stamp = stampOf(fd);
    return it != checkedFiles().end() && stamp && *stamp == it->second;
}

void rememberChecked(const QString& path, int fd) {
    if (const auto stamp = stampOf(fd))
        checkedFiles()[path] = *stamp;
    else
        checkedFiles().erase(path);
}

} // namespace

void DbfFile::setIoObserver(IoObserver o) {
    observer() = std::move(o);
}

SyncSession::SyncSession() {
    ++sessionState().depth;
}

SyncSession::~SyncSession() {
    try {
        finish();
    } catch (...) {
        // The undo files stay; the next open puts the earlier state back.
    }
}

bool SyncSession::active() {
    return sessionState().depth > 0;
}

void SyncSession::finish() {
    if (m_finished)
        return;
    m_finished = true;
    SessionState& state = sessionState();
    if (--state.depth > 0)
        return;
    std::map<QString, SessionFile> files;
    files.swap(state.files);
    QString failure;
    for (auto& [path, file] : files) {
        try {
            syncFd(file.fd, path);
            rememberChecked(path, file.fd);
            unlinkFile(file.undoPath);
            syncDirectoryOf(file.undoPath);
        } catch (const EngineError& e) {
            if (failure.isEmpty())
                failure = e.message();
        }
        ::close(file.fd);
        ::close(file.undoFd);
    }
    if (!failure.isEmpty())
        throw EngineError(failure, EngineError::Kind::Io);
}

// Writes a sole user's changes in a session: the table's state on the disk is saved to
// its undo file first (once a session), then the changes go in place without a sync.
void DbfFile::writeInSession(const std::vector<Change>& changes) {
    auto& files = sessionState().files;
    if (files.find(m_path) == files.end()) {
        SessionFile file;
        file.undoPath = undoPathOf(m_path);
        const QByteArray nativeUndo = QFile::encodeName(file.undoPath);
        file.undoFd = ::open(nativeUndo.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (file.undoFd < 0)
            throw ioError(QStringLiteral("write"), file.undoPath, errno);
        try {
            lockBlocking(file.undoFd, LOCK_EX);
            const QByteArray disk = readAll(m_fd, m_path, kLargestTable);
            QByteArray entry(kUndoHeaderSize, '\0');
            char* e = entry.data();
            std::memcpy(e, kUndoMagic, 4);
            putLE<std::uint64_t>(e + 4, m_device);
            putLE<std::uint64_t>(e + 12, m_inode);
            putLE<std::uint64_t>(e + 20, birthTimeNs(m_fd));
            putLE<std::uint64_t>(e + 28, std::uint64_t(disk.size()));
            std::uint32_t crc = crc32(e + 4, 32);
            crc = crc32(disk.constData(), std::size_t(disk.size()), crc);
            putLE<std::uint32_t>(e + 36, crc);
            entry += disk;
            pwriteAll(file.undoFd, entry.constData(), entry.size(), 0, file.undoPath);
            syncFd(file.undoFd, file.undoPath);
            syncDirectoryOf(file.undoPath);
            file.fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CLOEXEC);
            if (file.fd < 0)
                throw ioError(QStringLiteral("write"), m_path, errno);
        } catch (...) {
            ::close(file.undoFd);
            unlinkFile(file.undoPath);
            throw;
        }
        files.emplace(m_path, file);
    }
    for (const Change& c : changes)
        pwriteAll(m_fd, c.bytes.constData(), c.bytes.size(), c.offset, m_path);
}

// An undo file that nobody holds was left by a session that died: the table goes
// back to the state the file saved, which the session had synced before it wrote.
void DbfFile::recoverUndo() {
    const QString upath = undoPathOf(m_path);
    const QByteArray native = QFile::encodeName(upath);
    const bool writable = m_mode != Mode::ReadOnly;
    const int ufd = ::open(native.constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (ufd < 0)
        return;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{ufd};
    if (::flock(ufd, LOCK_EX | LOCK_NB) != 0)
        return; // a session that is still at work
    QByteArray entry;
    try {
        entry = readAll(ufd, upath, kLargestTable + kUndoHeaderSize);
    } catch (const EngineError&) {
        return;
    }
    bool sound = entry.size() >= kUndoHeaderSize &&
                 std::memcmp(entry.constData(), kUndoMagic, 4) == 0 &&
                 getLE<std::uint64_t>(entry.constData() + 4) == m_device &&
                 getLE<std::uint64_t>(entry.constData() + 12) == m_inode &&
                 getLE<std::uint64_t>(entry.constData() + 20) == birthTimeNs(m_fd) &&
                 getLE<std::uint64_t>(entry.constData() + 28) ==
                     std::uint64_t(entry.size() - kUndoHeaderSize);
    if (sound) {
        std::uint32_t crc = crc32(entry.constData() + 4, 32);
        crc = crc32(entry.constData() + kUndoHeaderSize,
                    std::size_t(entry.size() - kUndoHeaderSize), crc);
        sound = crc == getLE<std::uint32_t>(entry.constData() + 36);
    }
    if (sound) {
        QByteArray image = entry.mid(kUndoHeaderSize);
        try {
            parseHeader(image, m_path);
        } catch (const EngineError&) {
            sound = false;
        }
        if (sound) {
            m_image = std::move(image);
            if (writable) {
                pwriteAll(m_fd, m_image.constData(), m_image.size(), 0, m_path);
                if (::ftruncate(m_fd, m_image.size()) != 0)
                    throw ioError(QStringLiteral("write"), m_path, errno);
                syncFd(m_fd, m_path);
            }
        }
    }
    // A torn undo file was being written when the session died, before the table was touched.
    if (writable) {
        unlinkFile(upath);
        syncDirectoryOf(upath);
    }
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

DbfFile::~DbfFile() {
    try {
        close();
    } catch (...) {
        // A failed final sync has nobody to tell from a destructor; close() reports it when called.
    }
}

QString DbfFile::journalPath(const QString& tablePath) {
    return tablePath + QStringLiteral("-journal");
}

void DbfFile::closeDescriptors() {
    if (m_journalFd >= 0)
        ::close(m_journalFd);
    m_journalFd = -1;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_image.clear();
    m_header = {};
    m_pendingRecords.clear();
    m_pendingAppendFrom = -1;
    m_pendingHeader = false;
    m_dateTouched = false;
}

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
            throw EngineError(QStringLiteral("Table does not exist: %1").arg(path),
                              EngineError::Kind::NotFound);
        throw ioError(mode == Mode::ReadOnly ? QStringLiteral("open")
                                             : QStringLiteral("open for writing"),
                      path, errno);
    }
    m_fd = fd;
    m_path = path;
    m_mode = mode;
    try {
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            throw ioError(QStringLiteral("open"), path, errno);
        m_device = std::uint64_t(st.st_dev);
        m_inode = std::uint64_t(st.st_ino);
        lockOrThrow(mode);
        openExistingJournal();
        // Read under the journal's lock, so a post of another process is seen whole.
        const JournalLock lock(m_journalFd);
        readAndCheck();
    } catch (...) {
        closeDescriptors();
        throw;
    }
    if (m_mode == Mode::Exclusive && m_journalFd >= 0) {
        // Nobody else has the table, and it holds everything the journal did.
        ::close(m_journalFd);
        m_journalFd = -1;
        unlinkFile(journalPath(m_path));
    }
}

void DbfFile::lockOrThrow(Mode mode) {
    const int how = (mode == Mode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (int attempt = 0;; ++attempt) {
        if (::flock(m_fd, how) == 0)
            return;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            throw ioError(QStringLiteral("lock"), m_path, errno);
        if (attempt + 1 >= kLockAttempts)
            throw inUse(m_path);
        QThread::msleep(kLockRetryMs);
    }
}

TableLock::TableLock(const QString& path) {
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        if (errno == ENOENT)
            throw EngineError(QStringLiteral("Table does not exist: %1").arg(path),
                              EngineError::Kind::NotFound);
        throw ioError(QStringLiteral("open"), path, errno);
    }
    try {
        for (int attempt = 0;; ++attempt) {
            if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
                break;
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK)
                throw ioError(QStringLiteral("lock"), path, errno);
            if (attempt + 1 >= kLockAttempts)
                throw inUse(path);
            QThread::msleep(kLockRetryMs);
        }
        struct stat st {};
        if (::fstat(m_fd, &st) != 0)
            throw ioError(QStringLiteral("read"), path, errno);
        if (!checkedBefore(path, m_fd)) {
            // A table this process has not checked as it stands is checked whole, as an
            // open would: a bad table gets no indexes either.
            const QByteArray image = readAll(m_fd, path, kLargestTable);
            const DbfHeader header = parseHeader(image, path);
            validateRecords(header, image, path);
            rememberChecked(path, m_fd);
            m_structure = header.structure;
        } else {
            // The header is at most 32 bytes a field plus the file header; 64 KiB holds any.
            QByteArray head(qsizetype(std::min<qint64>(st.st_size, 65536)), Qt::Uninitialized);
            const ssize_t n = ::pread(m_fd, head.data(), std::size_t(head.size()), 0);
            if (n < 0)
                throw ioError(QStringLiteral("read"), path, errno);
            head.truncate(qsizetype(n));
            m_structure = parseHeader(head, qint64(st.st_size), path).structure;
        }
    } catch (...) {
        ::close(m_fd);
        throw;
    }
}

TableLock::~TableLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void DbfFile::openExistingJournal() {
    const QByteArray native = QFile::encodeName(journalPath(m_path));
    const int flags = (m_mode == Mode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    m_journalFd = ::open(native.constData(), flags);
}

// Puts the changes of a complete journal into the table. The journal is used only when
// it belongs to this very file and the table it gives is sound; otherwise the file is
// checked as it is. The table is written only after that check, so a bad file is never
// changed by being opened.
void DbfFile::recoverJournal() {
    std::vector<Change> changes;
    if (m_journalFd >= 0) {
        QByteArray entry;
        try {
            entry = readAll(m_journalFd, journalPath(m_path), kLargestTable + kJournalHeaderSize);
        } catch (const EngineError&) {
        }
        if (entry.size() >= kJournalHeaderSize &&
            std::memcmp(entry.constData(), kJournalMagic, 4) == 0 &&
            getLE<std::uint64_t>(entry.constData() + 4) == m_device &&
            getLE<std::uint64_t>(entry.constData() + 12) == m_inode) {
            const auto count = getLE<std::uint32_t>(entry.constData() + 20);
            const auto bodyLength = getLE<std::uint32_t>(entry.constData() + 24);
            const auto crc = getLE<std::uint32_t>(entry.constData() + 28);
            if (qint64(kJournalHeaderSize) + bodyLength <= entry.size()) {
                const char* body = entry.constData() + kJournalHeaderSize;
                std::uint32_t check = crc32(entry.constData() + 4, 24);
                check = crc32(body, bodyLength, check);
                qint64 pos = 0;
                bool sound = check == crc;
                for (std::uint32_t i = 0; sound && i < count; ++i) {
                    if (pos + kChangeHeaderSize > bodyLength) {
                        sound = false;
                        break;
                    }
                    const auto offset = getLE<std::uint64_t>(body + pos);
                    const auto length = getLE<std::uint32_t>(body + pos + 8);
                    pos += kChangeHeaderSize;
                    if (offset < 1 || offset > std::uint64_t(kLargestTable) ||
                        pos + length > bodyLength) {
                        sound = false;
                        break;
                    }
                    changes.push_back({qint64(offset), QByteArray(body + pos, length)});
                    pos += length;
                }
                if (!sound || pos != bodyLength)
                    changes.clear();
            }
        }
    }

    bool recovered = false;
    if (!changes.empty()) {
        QByteArray candidate = m_image;
        bool fits = true;
        for (const Change& c : changes) {
            if (c.offset > candidate.size() || c.offset + c.bytes.size() > kLargestTable) {
                fits = false;
                break;
            }
            if (candidate.size() < c.offset + c.bytes.size())
                candidate.resize(c.offset + c.bytes.size());
            std::memcpy(candidate.data() + c.offset, c.bytes.constData(),
                        std::size_t(c.bytes.size()));
        }
        if (fits) {
            try {
                DbfHeader header = parseHeader(candidate, m_path);
                validateRecords(header, candidate, m_path);
                m_image = std::move(candidate);
                m_header = std::move(header);
                recovered = true;
            } catch (const EngineError&) {
                // Not this table's state after all; the file is judged as it stands.
            }
        }
    }
    if (!recovered) {
        m_header = parseHeader(m_image, m_path);
        if (!m_trusted)
            validateRecords(m_header, m_image, m_path);
        return;
    }
    if (m_mode == Mode::ReadOnly)
        return;
    for (const Change& c : changes)
        pwriteAll(m_fd, c.bytes.constData(), c.bytes.size(), c.offset, m_path);
    syncFd(m_fd, m_path);
}

// Reads the table as the disk holds it, finishes what a dead session or a cut-short
// post left, and checks every value unless this process checked the file as it stands.
// The caller holds the journal lock.
void DbfFile::readAndCheck() {
    m_image = readAll(m_fd, m_path, kLargestTable);
    recoverUndo();
    m_trusted = checkedBefore(m_path, m_fd);
    recoverJournal();
    if (!m_trusted)
        rememberChecked(m_path, m_fd);
}

void DbfFile::reload() {
    if (m_fd < 0 || m_mode == Mode::Exclusive)
        return;
    const QByteArray oldImage = m_image;
    const DbfHeader oldHeader = m_header;
    try {
        if (m_journalFd < 0)
            openExistingJournal();
        const JournalLock lock(m_journalFd);
        readAndCheck();
    } catch (...) {
        m_image = oldImage;
        m_header = oldHeader;
        throw;
    }
}

void DbfFile::close() {
    if (m_fd < 0)
        return;
    try {
        flushPending();
    } catch (...) {
        closeDescriptors();
        throw;
    }
    if (m_mode == Mode::Exclusive && m_journalFd >= 0)
        unlinkFile(journalPath(m_path));
    else
        removeJournalIfAlone();
    if (m_mode != Mode::ReadOnly && m_dateTouched)
        rememberChecked(m_path, m_fd);
    closeDescriptors();
}

// Only when no other process has the table open is the journal nobody's.
void DbfFile::removeJournalIfAlone() {
    if (m_mode != Mode::Shared || m_journalFd < 0)
        return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return;
    unlinkFile(journalPath(m_path));
}

const char* DbfFile::record(std::uint32_t index) const {
    Q_ASSERT(index < m_header.recordCount);
    return m_image.constData() + m_header.structure.headerLength +
           qint64(index) * m_header.structure.recordLength;
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

// Writes the changes durably: journal, sync, table, sync. When something fails the
// table is put back as it was where that can be done, and the journal is made void;
// where the table cannot be put back the journal stays, and the next open completes
// the change. Either way nothing is left half-written. The caller holds the journal lock.
void DbfFile::commit(const std::vector<Change>& changes) {
    const QString jpath = journalPath(m_path);
    qint64 bodyLength = 0;
    for (const Change& c : changes)
        bodyLength += kChangeHeaderSize + c.bytes.size();
    QByteArray entry(kJournalHeaderSize + bodyLength, Qt::Uninitialized);
    char* e = entry.data();
    std::memcpy(e, kJournalMagic, 4);
    putLE<std::uint64_t>(e + 4, m_device);
    putLE<std::uint64_t>(e + 12, m_inode);
    putLE<std::uint32_t>(e + 20, std::uint32_t(changes.size()));
    putLE<std::uint32_t>(e + 24, std::uint32_t(bodyLength));
    char* p = e + kJournalHeaderSize;
    for (const Change& c : changes) {
        putLE<std::uint64_t>(p, std::uint64_t(c.offset));
        putLE<std::uint32_t>(p + 8, std::uint32_t(c.bytes.size()));
        std::memcpy(p + kChangeHeaderSize, c.bytes.constData(), std::size_t(c.bytes.size()));
        p += kChangeHeaderSize + c.bytes.size();
    }
    std::uint32_t crc = crc32(e + 4, 24);
    crc = crc32(e + kJournalHeaderSize, std::size_t(bodyLength), crc);
    putLE<std::uint32_t>(e + 28, crc);

    auto voidJournal = [&] {
        const char zero[4] = {0, 0, 0, 0};
        try {
            pwriteAll(m_journalFd, zero, 4, 0, jpath);
            syncFd(m_journalFd, jpath);
        } catch (const EngineError&) {
        }
    };

    try {
        pwriteAll(m_journalFd, entry.constData(), entry.size(), 0, jpath);
        syncFd(m_journalFd, jpath);
    } catch (const EngineError&) {
        voidJournal();
        throw;
    }
    try {
        // Appended records and their end marker go before the header that counts them.
        for (const Change& c : changes)
            pwriteAll(m_fd, c.bytes.constData(), c.bytes.size(), c.offset, m_path);
        syncFd(m_fd, m_path);
    } catch (const EngineError&) {
        try {
            for (const Change& c : changes) {
                const qint64 old = std::min<qint64>(c.bytes.size(),
                                                    std::max<qint64>(0, m_image.size() - c.offset));
                if (old > 0)
                    pwriteAll(m_fd, m_image.constData() + c.offset, old, c.offset, m_path);
            }
            syncFd(m_fd, m_path);
            voidJournal();
        } catch (const EngineError&) {
        }
        throw;
    }
}

void DbfFile::writeRecord(std::uint32_t index, const char* bytes) {
    if (m_mode == Mode::ReadOnly)
        throw EngineError(QStringLiteral("Table %1 is open for reading only").arg(m_path));
    Q_ASSERT(index < m_header.recordCount);
    const int length = m_header.structure.recordLength;
    const qint64 offset = m_header.structure.headerLength + qint64(index) * length;
    if (std::memcmp(m_image.constData() + offset, bytes, std::size_t(length)) == 0)
        return;
    // The date is read once a session: asking the clock looks up the time zone file.
    const QDate today = m_dateTouched ? m_header.lastUpdate : QDate::currentDate();
    if (m_mode == Mode::Shared) {
        std::vector<Change> changes{{offset, QByteArray(bytes, length)}};
        char head[8];
        std::memcpy(head, m_image.constData(), 8);
        if (!m_dateTouched) {
            writeHeaderCountAndDate(head, m_header.recordCount, today);
            if (std::memcmp(head + 1, m_image.constData() + 1, 3) != 0)
                changes.push_back({1, QByteArray(head + 1, 3)});
        }
        ensureJournalOpen();
        const JournalLock lock(m_journalFd);
        commit(changes);
        std::memcpy(m_image.data(), head, 8);
    } else {
        if (!m_dateTouched) {
            char head[8];
            std::memcpy(head, m_image.constData(), 8);
            writeHeaderCountAndDate(head, m_header.recordCount, today);
            if (std::memcmp(head, m_image.constData(), 8) != 0) {
                std::memcpy(m_image.data(), head, 8);
                m_pendingHeader = true;
            }
        }
        if (m_pendingAppendFrom < 0 || index < m_pendingAppendFrom)
            m_pendingRecords.push_back(index);
    }
    std::memcpy(m_image.data() + offset, bytes, std::size_t(length));
    if (!m_dateTouched)
        m_header.lastUpdate = today;
    m_dateTouched = true;
}

std::uint32_t DbfFile::appendRecord(const char* bytes) {
    if (m_mode == Mode::ReadOnly)
        throw EngineError(QStringLiteral("Table %1 is open for reading only").arg(m_path));
    const int length = m_header.structure.recordLength;
    const std::uint32_t index = m_header.recordCount;
    if (index == 0xFFFFFFFFu ||
        m_header.structure.headerLength + qint64(index + 1) * length + 1 > kLargestTable)
        throw EngineError(QStringLiteral("Table %1 is full").arg(m_path));
    const qint64 offset = m_header.structure.headerLength + qint64(index) * length;
    QByteArray tail(bytes, length);
    tail.append(kEndOfFile);
    // The date is read once a session: asking the clock looks up the time zone file.
    const QDate today = m_dateTouched ? m_header.lastUpdate : QDate::currentDate();
    char head[8];
    std::memcpy(head, m_image.constData(), 8);
    writeHeaderCountAndDate(head, index + 1, today);

    if (m_mode == Mode::Shared) {
        ensureJournalOpen();
        const JournalLock lock(m_journalFd);
        // Another user who appended since we read the table would lose the record.
        char onDisk[4];
        if (::pread(m_fd, onDisk, 4, 4) != 4 ||
            std::memcmp(onDisk, m_image.constData() + 4, 4) != 0)
            throw EngineError(
                QStringLiteral("Table %1 was changed by another user; refresh it first")
                    .arg(m_path),
                EngineError::Kind::InUse);
        commit({{offset, tail}, {1, QByteArray(head + 1, 7)}});
    } else {
        if (m_pendingAppendFrom < 0)
            m_pendingAppendFrom = index;
        m_pendingHeader = true;
    }
    if (m_image.size() < offset + tail.size())
        m_image.resize(offset + tail.size());
    std::memcpy(m_image.data() + offset, tail.constData(), std::size_t(tail.size()));
    std::memcpy(m_image.data(), head, 8);
    m_header.recordCount = index + 1;
    m_header.lastUpdate = today;
    m_dateTouched = true;
    return index;
}

void DbfFile::flushPending() {
    if (m_fd < 0 || !hasPendingWrites())
        return;
    const DbfStructure& s = m_header.structure;
    if (m_mode == Mode::Exclusive && SyncSession::active()) {
        // In a session the disk still holds what this sole user read, apart from what it
        // wrote itself, so the span from the first to the last changed record can go in
        // one write straight from the image.
        std::vector<Change> spans;
        if (!m_pendingRecords.empty()) {
            const auto [low, high] =
                std::minmax_element(m_pendingRecords.begin(), m_pendingRecords.end());
            const qint64 from = s.headerLength + qint64(*low) * s.recordLength;
            const qint64 to = s.headerLength + qint64(*high + 1) * s.recordLength;
            spans.push_back({from, QByteArray::fromRawData(m_image.constData() + from, to - from)});
        }
        if (m_pendingAppendFrom >= 0) {
            const qint64 offset = s.headerLength + m_pendingAppendFrom * s.recordLength;
            const qint64 end = s.headerLength + qint64(m_header.recordCount) * s.recordLength + 1;
            spans.push_back(
                {offset, QByteArray::fromRawData(m_image.constData() + offset, end - offset)});
        }
        if (m_pendingHeader)
            spans.push_back({1, QByteArray::fromRawData(m_image.constData() + 1, 7)});
        writeInSession(spans);
        m_pendingRecords.clear();
        m_pendingAppendFrom = -1;
        m_pendingHeader = false;
        return;
    }
    std::vector<Change> changes;
    std::sort(m_pendingRecords.begin(), m_pendingRecords.end());
    m_pendingRecords.erase(std::unique(m_pendingRecords.begin(), m_pendingRecords.end()),
                           m_pendingRecords.end());
    changes.reserve(m_pendingRecords.size() + 2);
    for (const std::uint32_t r : m_pendingRecords) {
        const qint64 offset = s.headerLength + qint64(r) * s.recordLength;
        changes.push_back({offset, QByteArray(m_image.constData() + offset, s.recordLength)});
    }
    if (m_pendingAppendFrom >= 0) {
        const qint64 offset = s.headerLength + m_pendingAppendFrom * s.recordLength;
        const qint64 end = s.headerLength + qint64(m_header.recordCount) * s.recordLength + 1;
        changes.push_back({offset, m_image.mid(offset, end - offset)});
    }
    if (m_pendingHeader)
        changes.push_back({1, m_image.mid(1, 7)});
    ensureJournalOpen();
    // The table on disk is still the old one, which is what commit() puts back on failure.
    const QByteArray image = m_image;
    QByteArray old = readAll(m_fd, m_path, kLargestTable);
    m_image = std::move(old);
    try {
        commit(changes);
    } catch (...) {
        m_image = image;
        throw;
    }
    m_image = image;
    m_pendingRecords.clear();
    m_pendingAppendFrom = -1;
    m_pendingHeader = false;
}

void DbfFile::sync() {
    flushPending();
}

void DbfFile::writeWholeTable(const QString& path, const DbfStructure& structure,
                              const QByteArray& records, std::uint32_t count) {
    Q_ASSERT(records.size() == qint64(count) * structure.recordLength);
    const QFileInfo info(path);
    const QString temp = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".tmp-%1").arg(QRandomGenerator::global()->generate(), 8,
                                                       16, QLatin1Char('0'));
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
        throw inUse(path);

    const int fd = ::open(nativeTemp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw ioError(QStringLiteral("create"), path, errno);
    try {
        QByteArray image = buildHeader(structure, count, QDate::currentDate());
        image.append(records);
        image.append(kEndOfFile);
        pwriteAll(fd, image.constData(), image.size(), 0, temp);
        syncFd(fd, temp);
    } catch (...) {
        ::close(fd);
        ::unlink(nativeTemp.constData());
        throw;
    }
    ::close(fd);
    int renameError = observe(IoEvent::Kind::Rename, path);
    if (renameError == 0 && ::rename(nativeTemp.constData(), nativePath.constData()) != 0)
        renameError = errno;
    if (renameError != 0) {
        ::unlink(nativeTemp.constData());
        throw ioError(QStringLiteral("create"), path, renameError);
    }
    syncDirectoryOf(path);
    // A journal of the table that was replaced is tagged with that file and never used
    // on this one; it goes all the same.
    if (QFileInfo::exists(journalPath(path)))
        unlinkFile(journalPath(path));
}

} // namespace jt::engine

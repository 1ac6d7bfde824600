#include "DbfFile.h"

#include "CheckedFiles.h"
#include "EngineError.h"
#include "SyncSession.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace jt::engine {
namespace {

// Holds the journal's lock, which serialises the changes of several processes.
class JournalLock final {
public:
    explicit JournalLock(const posix::Descriptor& journal) : m_fd(journal.get()) {
        if (m_fd >= 0)
            posix::lockBlocking(m_fd, LOCK_EX);
    }
    ~JournalLock() {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_UN);
    }
    JournalLock(const JournalLock&) = delete;
    JournalLock& operator=(const JournalLock&) = delete;

private:
    int m_fd;
};

EngineError readOnly(const QString& path) {
    return EngineError(QStringLiteral("Table %1 is open for reading only").arg(path));
}

} // namespace

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
    m_journalFd.reset();
    m_fd.reset();
    m_image.clear();
    m_header = {};
    m_pendingRecords.clear();
    m_pendingAppendFrom = -1;
    m_pendingHeader = false;
    m_dateTouched = false;
}

void DbfFile::open(const QString& path, Mode mode) {
    close();
    m_fd.reset(posix::openTable(path, mode == Mode::ReadOnly ? O_RDONLY : O_RDWR,
                                mode == Mode::ReadOnly ? QStringLiteral("open")
                                                       : QStringLiteral("open for writing")));
    m_path = path;
    m_mode = mode;
    try {
        m_id = posix::fileId(m_fd.get(), path);
        posix::lockTable(m_fd.get(), mode == Mode::Exclusive, path);
        openExistingJournal();
        // Read under the journal's lock, so a post of another process is seen whole.
        const JournalLock lock(m_journalFd);
        readAndCheck();
    } catch (...) {
        closeDescriptors();
        throw;
    }
    if (m_mode == Mode::Exclusive && m_journalFd.valid()) {
        // Nobody else has the table, and it holds everything the journal did.
        m_journalFd.reset();
        posix::unlinkQuietly(journalPath(m_path));
    }
}

void DbfFile::openExistingJournal() {
    m_journalFd.reset(
        posix::openQuietly(journalPath(m_path), m_mode == Mode::ReadOnly ? O_RDONLY : O_RDWR));
}

// Puts the changes of a complete journal into the table. The journal is used only when
// it belongs to this very file and the table it gives is sound; otherwise the file is
// checked as it is. The table is written only after that check, so a bad file is never
// changed by being opened.
void DbfFile::recoverJournal() {
    std::optional<FileChanges> changes;
    if (m_journalFd.valid()) {
        try {
            changes = decodeJournal(posix::readAll(m_journalFd.get(), journalPath(m_path),
                                                   kLargestTable + kJournalHeaderSize),
                                    m_id);
        } catch (const EngineError&) {
        }
    }
    bool recovered = false;
    if (changes && !changes->empty()) {
        if (std::optional<QByteArray> candidate = applyChanges(m_image, *changes)) {
            try {
                DbfHeader header = parseHeader(*candidate, m_path);
                validateRecords(header, *candidate, m_path);
                m_image = std::move(*candidate);
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
    for (const FileChange& c : *changes)
        posix::writeAll(m_fd.get(), c.bytes.constData(), c.bytes.size(), c.offset, m_path);
    posix::sync(m_fd.get(), m_path);
}

// Reads the table as the disk holds it, finishes what a dead session or a cut-short
// post left, and checks every value unless this process checked the file as it stands.
// The caller holds the journal lock.
void DbfFile::readAndCheck() {
    m_image = posix::readAll(m_fd.get(), m_path, kLargestTable);
    if (std::optional<QByteArray> before =
            SyncSession::recoverUndo(m_fd.get(), m_path, m_id, m_mode != Mode::ReadOnly))
        m_image = std::move(*before);
    m_trusted = checkedFiles::unchangedSinceChecked(m_path, m_fd.get());
    recoverJournal();
    if (!m_trusted)
        checkedFiles::remember(m_path, m_fd.get());
}

void DbfFile::reload() {
    if (!m_fd.valid() || m_mode == Mode::Exclusive)
        return;
    const QByteArray oldImage = m_image;
    const DbfHeader oldHeader = m_header;
    try {
        if (!m_journalFd.valid())
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
    if (!m_fd.valid())
        return;
    try {
        flushPending();
    } catch (...) {
        closeDescriptors();
        throw;
    }
    if (m_mode == Mode::Exclusive && m_journalFd.valid())
        posix::unlinkQuietly(journalPath(m_path));
    else
        removeJournalIfAlone();
    if (m_mode != Mode::ReadOnly && m_dateTouched)
        checkedFiles::remember(m_path, m_fd.get());
    closeDescriptors();
}

// Only when no other process has the table open is the journal nobody's.
void DbfFile::removeJournalIfAlone() {
    if (m_mode != Mode::Shared || !m_journalFd.valid())
        return;
    if (::flock(m_fd.get(), LOCK_EX | LOCK_NB) != 0)
        return;
    posix::unlinkQuietly(journalPath(m_path));
}

const char* DbfFile::record(std::uint32_t index) const {
    Q_ASSERT(index < m_header.recordCount);
    return m_image.constData() + m_header.structure.headerLength +
           qint64(index) * m_header.structure.recordLength;
}

std::uint32_t DbfFile::uncountedRecords() const {
    const DbfStructure& s = m_header.structure;
    const qint64 counted = s.headerLength + qint64(m_header.recordCount) * s.recordLength;
    return std::uint32_t(std::max<qint64>(0, m_image.size() - counted) / s.recordLength);
}

QString uncountedRecordsText(const QString& table, std::uint32_t uncounted) {
    return uncounted == 1
               ? QStringLiteral("%1: the file holds 1 record after those its header counts; "
                                "it is not read")
                     .arg(table)
               : QStringLiteral("%1: the file holds %2 records after those its header counts; "
                                "they are not read")
                     .arg(table)
                     .arg(uncounted);
}

void DbfFile::ensureJournalOpen() {
    if (m_journalFd.valid())
        return;
    const QString jpath = journalPath(m_path);
    m_journalFd.reset(posix::openFile(jpath, O_RDWR | O_CREAT, QStringLiteral("write")));
    posix::syncDirectoryOf(jpath);
}

// Writes the changes durably: journal, sync, table, sync. When something fails the
// table is put back as it was where that can be done, and the journal is made void;
// where the table cannot be put back the journal stays, and the next open completes
// the change. Either way nothing is left half-written. The caller holds the journal lock.
void DbfFile::commit(const FileChanges& changes) {
    const QString jpath = journalPath(m_path);
    const QByteArray entry = encodeJournal(m_id, changes);
    const int journal = m_journalFd.get();
    const int table = m_fd.get();
    auto voidJournal = [&] {
        const char zero[kJournalMagicSize] = {};
        try {
            posix::writeAll(journal, zero, kJournalMagicSize, 0, jpath);
            posix::sync(journal, jpath);
        } catch (const EngineError&) {
        }
    };

    try {
        posix::writeAll(journal, entry.constData(), entry.size(), 0, jpath);
        posix::sync(journal, jpath);
    } catch (const EngineError&) {
        voidJournal();
        throw;
    }
    try {
        // Appended records and their end marker go before the header that counts them.
        for (const FileChange& c : changes)
            posix::writeAll(table, c.bytes.constData(), c.bytes.size(), c.offset, m_path);
        posix::sync(table, m_path);
    } catch (const EngineError&) {
        try {
            for (const FileChange& c : changes) {
                const qint64 old = std::min<qint64>(c.bytes.size(),
                                                    std::max<qint64>(0, m_image.size() - c.offset));
                if (old > 0)
                    posix::writeAll(table, m_image.constData() + c.offset, old, c.offset, m_path);
            }
            posix::sync(table, m_path);
            voidJournal();
        } catch (const EngineError&) {
        }
        throw;
    }
}

void DbfFile::writeRecord(std::uint32_t index, const char* bytes) {
    if (m_mode == Mode::ReadOnly)
        throw readOnly(m_path);
    Q_ASSERT(index < m_header.recordCount);
    const int length = m_header.structure.recordLength;
    const qint64 offset = m_header.structure.headerLength + qint64(index) * length;
    if (std::memcmp(m_image.constData() + offset, bytes, std::size_t(length)) == 0)
        return;
    // The date is read once a session: asking the clock looks up the time zone file.
    const QDate today = m_dateTouched ? m_header.lastUpdate : QDate::currentDate();
    if (m_mode == Mode::Shared) {
        FileChanges changes{{offset, QByteArray(bytes, length)}};
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
        throw readOnly(m_path);
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
        if (::pread(m_fd.get(), onDisk, 4, 4) != 4 ||
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
    if (!m_fd.valid() || !hasPendingWrites())
        return;
    const DbfStructure& s = m_header.structure;
    if (m_mode == Mode::Exclusive && SyncSession::active()) {
        // In a session the disk still holds what this sole user read, apart from what it
        // wrote itself, so the span from the first to the last changed record can go in
        // one write straight from the image.
        FileChanges spans;
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
        SyncSession::write(m_fd.get(), m_path, m_id, spans);
        m_pendingRecords.clear();
        m_pendingAppendFrom = -1;
        m_pendingHeader = false;
        return;
    }
    FileChanges changes;
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
    m_image = posix::readAll(m_fd.get(), m_path, kLargestTable);
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
    const posix::Descriptor old(posix::openQuietly(path, O_RDONLY));
    if (old.valid())
        posix::lockTable(old.get(), true, path);

    posix::Descriptor out(posix::openQuietly(temp, O_WRONLY | O_CREAT | O_EXCL));
    if (!out.valid())
        throw posix::ioError(QStringLiteral("create"), path, errno);
    try {
        QByteArray image = buildHeader(structure, count, QDate::currentDate());
        image.append(records);
        image.append(kEndOfFile);
        posix::writeAll(out.get(), image.constData(), image.size(), 0, temp);
        posix::sync(out.get(), temp);
    } catch (const EngineError& e) {
        out.reset();
        ::unlink(nativeTemp.constData());
        // The user knows the table, not the temporary file it was being written to.
        throw EngineError(QString(e.message()).replace(temp, path), e.kind());
    }
    out.reset();
    int renameError = posix::observe(IoEvent::Kind::Rename, path);
    if (renameError == 0 && ::rename(nativeTemp.constData(), nativePath.constData()) != 0)
        renameError = errno;
    if (renameError != 0) {
        ::unlink(nativeTemp.constData());
        throw posix::ioError(QStringLiteral("create"), path, renameError);
    }
    posix::syncDirectoryOf(path);
    // A journal of the table that was replaced is tagged with that file and never used
    // on this one; it goes all the same.
    if (QFileInfo::exists(journalPath(path)))
        posix::unlinkQuietly(journalPath(path));
}

void DbfFile::deleteTable(const QString& path) {
    const posix::Descriptor fd(posix::openTable(path, O_RDONLY, QStringLiteral("delete")));
    posix::lockTable(fd.get(), true, path);
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        throw posix::ioError(QStringLiteral("delete"), path, errno);
    ::unlink(QFile::encodeName(journalPath(path)).constData());
    posix::syncDirectoryOf(path);
}

} // namespace jt::engine

#pragma once

#include "DbfCodec.h"
#include "Journal.h"
#include "PosixIo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace jt::engine {

// One dBASE file on disk, held open with an operating-system lock, and the
// durable way of changing it.
//
// Shared users hold a shared lock and sole use an exclusive one (flock, which
// belongs to the open file description, so closing another descriptor of the same
// file cannot drop it). Every change to a table first goes to a journal beside it:
// the complete new bytes, tagged with the table file's identity and a checksum, are
// written and synced, then the table is written and synced. A journal that is
// complete is put into the table again at the next open, so a crash at any moment
// leaves the old or the new state; a torn journal is ignored, and the table was not
// touched yet. Putting a journal in twice changes nothing, because every change
// writes a new journal before it touches the table.
//
// In shared mode each post reaches the disk before it returns. In sole use the posts
// are kept in memory and written through the journal in one batch (two syncs) when
// the table is synced or closed.
class DbfFile final {
public:
    enum class Mode { ReadOnly, Shared, Exclusive };

    DbfFile() = default;
    ~DbfFile();
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;

    // Opens, locks, reads the whole file and checks it. Throws EngineError.
    void open(const QString& path, Mode mode);
    // Writes and syncs what is still pending and gives up the lock. Throws when that
    // fails; the file is closed all the same.
    void close();
    bool isOpen() const { return m_fd.valid(); }
    Mode mode() const { return m_mode; }

    const QString& path() const { return m_path; }
    const DbfHeader& header() const { return m_header; }
    const DbfStructure& structure() const { return m_header.structure; }
    std::uint32_t recordCount() const { return m_header.recordCount; }
    // Whole records that the file holds after the ones its header counts (see Table).
    std::uint32_t uncountedRecords() const;
    // The bytes of a record, deletion flag first, as the table holds them now.
    const char* record(std::uint32_t index) const;

    // Both leave the file and this object as they were when they throw.
    void writeRecord(std::uint32_t index, const char* bytes);
    // Returns the new record's index.
    std::uint32_t appendRecord(const char* bytes);
    // Reads the table again (what other users posted meanwhile) without giving up the
    // lock. In sole use nobody else can change it, so nothing needs reading.
    void reload();
    // Writes the posts held back in sole use and syncs them.
    void sync();
    bool hasPendingWrites() const { return !m_pendingRecords.empty() || m_pendingAppendFrom >= 0; }

    // Writes a complete table to a synced temporary file and renames it into place.
    // Refused when someone has the destination open.
    static void writeWholeTable(const QString& path, const DbfStructure& structure,
                                const QByteArray& records, std::uint32_t count);
    // Deletes a table nobody has open, with its journal.
    static void deleteTable(const QString& path);
    // The journal file that stands beside a table while posts are made to it.
    static QString journalPath(const QString& tablePath);

    // For tests: sees (and may fail) every write, sync, rename and unlink of this layer.
    static void setIoObserver(IoObserver observer) { posix::setIoObserver(std::move(observer)); }

private:
    void readAndCheck();
    void openExistingJournal();
    void recoverJournal();
    void ensureJournalOpen();
    void commit(const FileChanges& changes);
    void flushPending();
    void removeJournalIfAlone();
    void closeDescriptors();

    QString m_path;
    Mode m_mode = Mode::ReadOnly;
    posix::Descriptor m_fd;
    posix::Descriptor m_journalFd;
    posix::FileId m_id;
    QByteArray m_image; // header and records as the table holds them now
    DbfHeader m_header;
    bool m_dateTouched = false; // header date brought up to today in this session
    bool m_trusted = false;     // this process checked every value of the file as it is
    // Sole use: records changed since the last sync, and the first appended record.
    std::vector<std::uint32_t> m_pendingRecords; // in the order written, repeats allowed
    qint64 m_pendingAppendFrom = -1;
    bool m_pendingHeader = false;
};

// "u12.dbf: the file holds 1 record after those its header counts; it is not read"
QString uncountedRecordsText(const QString& table, std::uint32_t uncounted);

} // namespace jt::engine

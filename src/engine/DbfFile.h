#pragma once

#include "DbfCodec.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace jt::engine {

// One dBASE file on disk, held open with an operating-system lock, and the
// durable way of changing it.
//
// Shared users hold a shared lock and sole use an exclusive one (flock, which
// belongs to the open file description, so no other descriptor of the same file
// can drop it). A post in shared mode reaches the disk before it returns: the new
// bytes first go to a small journal beside the table, then into the table, each
// synced, so a crash at any moment leaves the old or the new record. In sole use
// the posts are only written, and synced once before the lock is given up.
class DbfFile final {
public:
    enum class Mode { ReadOnly, Shared, Exclusive };

    DbfFile() = default;
    ~DbfFile();
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;

    // Opens, locks, reads the whole file and checks it. Throws EngineError.
    void open(const QString& path, Mode mode);
    // Syncs what was written and gives up the lock. Throws when the final sync fails.
    void close();
    bool isOpen() const { return m_fd >= 0; }

    const QString& path() const { return m_path; }
    const DbfHeader& header() const { return m_header; }
    const DbfStructure& structure() const { return m_header.structure; }
    std::uint32_t recordCount() const { return m_header.recordCount; }
    // The bytes of a record, deletion flag first, as the file holds them now.
    const char* record(std::uint32_t index) const;

    void writeRecord(std::uint32_t index, const char* bytes);
    // Returns the new record's index.
    std::uint32_t appendRecord(const char* bytes);
    void sync();

    // Writes a complete table to a synced temporary file and renames it into place.
    static void writeWholeTable(const QString& path, const DbfStructure& structure,
                                const QByteArray& records, std::uint32_t count);
    // The journal file that stands beside a table while posts are made to it.
    static QString journalPath(const QString& tablePath);

private:
    void lockOrThrow(Mode mode);
    void recoverJournal();
    void ensureJournalOpen();
    void writeJournal(qint64 offset, const char* bytes, int length);
    void pwriteAll(int fd, const char* bytes, qint64 length, qint64 offset, const QString& what);
    void syncFd(int fd, const QString& what);
    void touchHeaderDate();
    void removeJournalIfAlone();

    QString m_path;
    Mode m_mode = Mode::ReadOnly;
    int m_fd = -1;
    int m_journalFd = -1;
    QByteArray m_image; // header and records as on disk
    DbfHeader m_header;
    bool m_dirty = false;      // written but not yet synced (sole use)
    bool m_dateTouched = false; // header date brought up to today in this session
};

// Syncs a folder so that a rename or a new file in it survives a power cut.
void syncDirectoryOf(const QString& path);

} // namespace jt::engine

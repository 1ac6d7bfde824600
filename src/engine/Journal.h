#pragma once

#include "PosixIo.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace jt::engine {

// Bytes to put at an offset of a table file.
struct FileChange {
    qint64 offset = 0;
    QByteArray bytes;
    friend bool operator==(const FileChange&, const FileChange&) = default;
};
using FileChanges = std::vector<FileChange>;

// No table the engine reads or writes is larger.
inline constexpr qint64 kLargestTable = qint64(1) << 30;

// The journal beside a table ("<table>-journal") holds the complete new bytes of the
// last change, tagged with the table file's identity and a checksum:
//   "JTJ2", device (8), inode (8), change count (4), body length (4), CRC-32 (4)
//   then per change: offset (8), length (4), bytes
// The checksum covers everything after the magic. Numbers are little-endian.
inline constexpr int kJournalHeaderSize = 32;
// Overwriting the magic with this many zero bytes voids the journal.
inline constexpr int kJournalMagicSize = 4;

QByteArray encodeJournal(const posix::FileId& file, const FileChanges& changes);
// The changes of a sound journal of this file. A torn, voided or damaged journal, or one
// of another file, gives nothing. Bytes after the entry (left by an earlier, longer one)
// are ignored.
std::optional<FileChanges> decodeJournal(const QByteArray& journal, const posix::FileId& file);
// The image with the changes put in, or nothing when a change starts past the image's
// end or reaches beyond the largest table.
std::optional<QByteArray> applyChanges(QByteArray image, const FileChanges& changes);

} // namespace jt::engine

#pragma once

#include "Journal.h"
#include "PosixIo.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace jt::engine {

// A stretch of work that rewrites tables many times over under sole use (a
// recalculation: a dozen passes, each opening, writing and closing the results
// table) and needs them on the disk only once, at its end.
//
// While a session is alive, a table closed after sole use is written but not synced.
// Before the session first writes a table, it saves the table's whole earlier state
// beside it ("<table>-undo", synced) and holds that file locked; an open in any process
// that finds an undo file nobody holds (its session died with a crash or power cut)
// puts the earlier state back, so the table comes back whole, as it was before the
// session began. When the session ends, every table it wrote is synced and its undo
// file removed. Sessions nest; only the outermost one syncs.
class SyncSession final {
public:
    SyncSession();
    // Ends the session, swallowing a failure (the undo file then stays, so the next
    // open goes back to the earlier state); call finish() to learn of it.
    ~SyncSession();
    SyncSession(const SyncSession&) = delete;
    SyncSession& operator=(const SyncSession&) = delete;

    // Syncs what the session wrote and removes the undo files. When a write of the
    // session failed part-way (a full disk), the tables are put back as they were before
    // the session instead. Throws EngineError when a sync fails. Does nothing for an
    // inner session or when called twice.
    void finish();

    static bool active();

    // What the file layer asks of sessions. Writes a sole user's changes to the table
    // open on fd: the first time in a session, the table as the disk holds it is saved
    // to its undo file first; the changes then go in place without a sync.
    static void write(int fd, const QString& path, const posix::FileId& file,
                      const FileChanges& changes);
    // An undo file that nobody holds was left by a session that died: gives the state
    // it saved (the table as it was before that session wrote), which is also put back
    // on the disk when writable. Nothing when there is no such file or it is unusable.
    static std::optional<QByteArray> recoverUndo(int fd, const QString& path,
                                                 const posix::FileId& file, bool writable);

private:
    bool m_finished = false;
};

// The undo file's layout:
//   "JTU1", device (8), inode (8), birth time (8), image length (8), CRC-32 (4), image
// The birth time tells the table from a later file that got the same inode number; the
// checksum covers everything after the magic. Numbers are little-endian.
inline constexpr int kUndoHeaderSize = 40;
QString undoPathOf(const QString& tablePath);
QByteArray encodeUndo(const posix::FileId& file, std::uint64_t birthNs, const QByteArray& image);
// The image of a sound, whole undo file of this very file; nothing otherwise.
std::optional<QByteArray> decodeUndo(const QByteArray& undo, const posix::FileId& file,
                                     std::uint64_t birthNs);

} // namespace jt::engine

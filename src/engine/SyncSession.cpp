#include "SyncSession.h"

#include "CheckedFiles.h"
#include "Crc32.h"
#include "DbfCodec.h"
#include "EngineError.h"
#include "LittleEndian.h"

#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <utility>

namespace jt::engine {
namespace {

constexpr char kUndoMagic[4] = {'J', 'T', 'U', '1'};

struct SessionFile {
    posix::Descriptor fd;     // the table, opened anew: no lock of ours rides on it
    posix::Descriptor undoFd; // locked for as long as the session lives
    QString undoPath;
};

struct SessionState {
    int depth = 0;
    std::map<QString, SessionFile> files;
    // A write of the session failed part-way (a full disk, an I/O error): what the
    // session wrote cannot be trusted, and its end puts the earlier state back.
    bool failed = false;
    QString failure;
};

// Puts the state saved in the undo file back into the table and syncs it. Throws when
// that fails; the undo file then stays for the next open.
void rollBack(const QString& path, SessionFile& file) {
    const QByteArray undo =
        posix::readAll(file.undoFd.get(), file.undoPath, kLargestTable + kUndoHeaderSize);
    const posix::FileId id = posix::fileId(file.fd.get(), path);
    const std::optional<QByteArray> image = decodeUndo(undo, id, posix::birthTimeNs(file.fd.get()));
    if (!image)
        throw EngineError(QStringLiteral("Cannot put back %1: its undo file %2 is damaged")
                              .arg(path, file.undoPath),
                          EngineError::Kind::Io);
    posix::writeAll(file.fd.get(), image->constData(), image->size(), 0, path);
    posix::truncate(file.fd.get(), image->size(), path);
    posix::sync(file.fd.get(), path);
}

SessionState& sessionState() {
    static SessionState state;
    return state;
}

} // namespace

QString undoPathOf(const QString& tablePath) {
    return tablePath + QStringLiteral("-undo");
}

QByteArray encodeUndo(const posix::FileId& file, std::uint64_t birthNs, const QByteArray& image) {
    QByteArray entry(kUndoHeaderSize, '\0');
    char* e = entry.data();
    std::memcpy(e, kUndoMagic, 4);
    putLE<std::uint64_t>(e + 4, file.device);
    putLE<std::uint64_t>(e + 12, file.inode);
    putLE<std::uint64_t>(e + 20, birthNs);
    putLE<std::uint64_t>(e + 28, std::uint64_t(image.size()));
    std::uint32_t crc = crc32(e + 4, 32);
    crc = crc32(image.constData(), std::size_t(image.size()), crc);
    putLE<std::uint32_t>(e + 36, crc);
    return entry + image;
}

std::optional<QByteArray> decodeUndo(const QByteArray& undo, const posix::FileId& file,
                                     std::uint64_t birthNs) {
    const char* e = undo.constData();
    if (undo.size() < kUndoHeaderSize || std::memcmp(e, kUndoMagic, 4) != 0 ||
        getLE<std::uint64_t>(e + 4) != file.device || getLE<std::uint64_t>(e + 12) != file.inode ||
        getLE<std::uint64_t>(e + 20) != birthNs ||
        getLE<std::uint64_t>(e + 28) != std::uint64_t(undo.size() - kUndoHeaderSize))
        return std::nullopt;
    std::uint32_t crc = crc32(e + 4, 32);
    crc = crc32(e + kUndoHeaderSize, std::size_t(undo.size() - kUndoHeaderSize), crc);
    if (crc != getLE<std::uint32_t>(e + 36))
        return std::nullopt;
    return undo.mid(kUndoHeaderSize);
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
    const bool failed = std::exchange(state.failed, false);
    // A failed session is reported as failed even when its tables were put back.
    QString failure = std::exchange(state.failure, QString());
    for (auto& [path, file] : files) {
        try {
            if (failed)
                rollBack(path, file);
            else
                posix::sync(file.fd.get(), path);
            checkedFiles::remember(path, file.fd.get());
            posix::unlinkQuietly(file.undoPath);
            posix::syncDirectoryOf(file.undoPath);
        } catch (const EngineError& e) {
            // The undo file stays, and is held by nobody once its descriptor closes:
            // the next open puts the earlier state back.
            if (failure.isEmpty())
                failure = e.message();
        }
    }
    if (!failure.isEmpty())
        throw EngineError(failure, EngineError::Kind::Io);
}

void SyncSession::write(int fd, const QString& path, const posix::FileId& id,
                        const FileChanges& changes) {
    auto& files = sessionState().files;
    if (files.find(path) == files.end()) {
        SessionFile file;
        file.undoPath = undoPathOf(path);
        file.undoFd.reset(
            posix::openFile(file.undoPath, O_RDWR | O_CREAT | O_TRUNC, QStringLiteral("write")));
        try {
            posix::lockBlocking(file.undoFd.get(), LOCK_EX);
            const QByteArray disk = posix::readAll(fd, path, kLargestTable);
            const QByteArray entry = encodeUndo(id, posix::birthTimeNs(fd), disk);
            posix::writeAll(file.undoFd.get(), entry.constData(), entry.size(), 0, file.undoPath);
            posix::sync(file.undoFd.get(), file.undoPath);
            posix::syncDirectoryOf(file.undoPath);
            file.fd.reset(posix::openFile(path, O_RDWR, QStringLiteral("write")));
        } catch (...) {
            file.undoFd.reset();
            posix::unlinkQuietly(file.undoPath);
            throw;
        }
        files.emplace(path, std::move(file));
    }
    try {
        for (const FileChange& c : changes)
            posix::writeAll(fd, c.bytes.constData(), c.bytes.size(), c.offset, path);
    } catch (const EngineError& e) {
        SessionState& state = sessionState();
        if (!state.failed)
            state.failure = e.message();
        state.failed = true;
        throw;
    }
}

std::optional<QByteArray> SyncSession::recoverUndo(int fd, const QString& path,
                                                   const posix::FileId& file, bool writable) {
    const QString upath = undoPathOf(path);
    const posix::Descriptor undoFd(posix::openQuietly(upath, writable ? O_RDWR : O_RDONLY));
    if (!undoFd.valid())
        return std::nullopt;
    if (::flock(undoFd.get(), LOCK_EX | LOCK_NB) != 0)
        return std::nullopt; // a session that is still at work
    QByteArray undo;
    try {
        undo = posix::readAll(undoFd.get(), upath, kLargestTable + kUndoHeaderSize);
    } catch (const EngineError&) {
        return std::nullopt;
    }
    std::optional<QByteArray> image = decodeUndo(undo, file, posix::birthTimeNs(fd));
    if (image) {
        try {
            parseHeader(*image, path);
        } catch (const EngineError&) {
            image.reset();
        }
    }
    if (image && writable) {
        posix::writeAll(fd, image->constData(), image->size(), 0, path);
        posix::truncate(fd, image->size(), path);
        posix::sync(fd, path);
    }
    // A torn undo file was being written when the session died, before the table was touched.
    if (writable) {
        posix::unlinkQuietly(upath);
        posix::syncDirectoryOf(upath);
    }
    return image;
}

} // namespace jt::engine

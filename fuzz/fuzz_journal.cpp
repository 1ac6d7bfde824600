// libFuzzer target: arbitrary bytes through the decoders of the journal and of the undo
// file, as an open reads them after a crash, and the changes a journal gives put into a
// table image. The first byte chooses what is done with the rest:
//   bit 0  clear: a journal; set: an undo file
//   bit 1  set: the checksum is made right first, so that the decoder reads on past it
//   bit 2  set: decoded as another file's, which must give nothing
// The file identity is the one the bytes name, so a decoder gets past that check.
#include "engine/Crc32.h"
#include "engine/Journal.h"
#include "engine/LittleEndian.h"
#include "engine/SyncSession.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

using namespace jt::engine;

void fixJournalChecksum(QByteArray& bytes) {
    if (bytes.size() < kJournalHeaderSize)
        return;
    char* e = bytes.data();
    const auto bodyLength = getLE<std::uint32_t>(e + 24);
    if (qint64(kJournalHeaderSize) + bodyLength > bytes.size())
        return;
    std::uint32_t crc = crc32(e + 4, 24);
    crc = crc32(e + kJournalHeaderSize, bodyLength, crc);
    putLE<std::uint32_t>(e + 28, crc);
}

void fixUndoChecksum(QByteArray& bytes) {
    if (bytes.size() < kUndoHeaderSize)
        return;
    char* e = bytes.data();
    std::uint32_t crc = crc32(e + 4, 32);
    crc = crc32(e + kUndoHeaderSize, std::size_t(bytes.size() - kUndoHeaderSize), crc);
    putLE<std::uint32_t>(e + 36, crc);
}

void fuzzJournal(const QByteArray& bytes, const posix::FileId& file, bool otherFile) {
    const std::optional<FileChanges> changes = decodeJournal(bytes, file);
    if (!changes)
        return;
    if (otherFile)
        __builtin_trap(); // another file's journal must never be put into this table
    // What was read is exactly what the encoder writes for it.
    const QByteArray again = encodeJournal(file, *changes);
    if (again != bytes.left(again.size()))
        __builtin_trap();
    // Put into a small table image, every change lands where it says.
    const QByteArray image(64, 'x');
    if (const std::optional<QByteArray> changed = applyChanges(image, *changes)) {
        const FileChange& last = changes->empty() ? FileChange{} : changes->back();
        if (changed->mid(last.offset, last.bytes.size()) != last.bytes)
            __builtin_trap();
    }
}

void fuzzUndo(const QByteArray& bytes, const posix::FileId& file, std::uint64_t birthNs,
              bool otherFile) {
    const std::optional<QByteArray> image = decodeUndo(bytes, file, birthNs);
    if (!image)
        return;
    if (otherFile)
        __builtin_trap(); // another file's saved state must never replace this table
    if (encodeUndo(file, birthNs, *image) != bytes)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t mode = data[0];
    QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const bool undo = mode & 1;
    if (mode & 2)
        undo ? fixUndoChecksum(bytes) : fixJournalChecksum(bytes);
    posix::FileId file;
    std::uint64_t birthNs = 0;
    if (bytes.size() >= 28) {
        file.device = getLE<std::uint64_t>(bytes.constData() + 4);
        file.inode = getLE<std::uint64_t>(bytes.constData() + 12);
        birthNs = getLE<std::uint64_t>(bytes.constData() + 20);
    }
    const bool otherFile = mode & 4;
    if (otherFile)
        ++file.inode;
    if (undo)
        fuzzUndo(bytes, file, birthNs, otherFile);
    else
        fuzzJournal(bytes, file, otherFile);
    return 0;
}

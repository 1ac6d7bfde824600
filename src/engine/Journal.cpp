#include "Journal.h"

#include "Crc32.h"
#include "LittleEndian.h"

#include <cstring>

namespace jt::engine {
namespace {

constexpr char kJournalMagic[kJournalMagicSize] = {'J', 'T', 'J', '2'};
constexpr int kChangeHeaderSize = 12;

} // namespace

QByteArray encodeJournal(const posix::FileId& file, const FileChanges& changes) {
    qint64 bodyLength = 0;
    for (const FileChange& c : changes)
        bodyLength += kChangeHeaderSize + c.bytes.size();
    QByteArray entry(kJournalHeaderSize + bodyLength, Qt::Uninitialized);
    char* e = entry.data();
    std::memcpy(e, kJournalMagic, kJournalMagicSize);
    putLE<std::uint64_t>(e + 4, file.device);
    putLE<std::uint64_t>(e + 12, file.inode);
    putLE<std::uint32_t>(e + 20, std::uint32_t(changes.size()));
    putLE<std::uint32_t>(e + 24, std::uint32_t(bodyLength));
    char* p = e + kJournalHeaderSize;
    for (const FileChange& c : changes) {
        putLE<std::uint64_t>(p, std::uint64_t(c.offset));
        putLE<std::uint32_t>(p + 8, std::uint32_t(c.bytes.size()));
        std::memcpy(p + kChangeHeaderSize, c.bytes.constData(), std::size_t(c.bytes.size()));
        p += kChangeHeaderSize + c.bytes.size();
    }
    std::uint32_t crc = crc32(e + 4, 24);
    crc = crc32(e + kJournalHeaderSize, std::size_t(bodyLength), crc);
    putLE<std::uint32_t>(e + 28, crc);
    return entry;
}

std::optional<FileChanges> decodeJournal(const QByteArray& journal, const posix::FileId& file) {
    const char* e = journal.constData();
    if (journal.size() < kJournalHeaderSize ||
        std::memcmp(e, kJournalMagic, kJournalMagicSize) != 0 ||
        getLE<std::uint64_t>(e + 4) != file.device || getLE<std::uint64_t>(e + 12) != file.inode)
        return std::nullopt;
    const auto count = getLE<std::uint32_t>(e + 20);
    const auto bodyLength = getLE<std::uint32_t>(e + 24);
    if (qint64(kJournalHeaderSize) + bodyLength > journal.size())
        return std::nullopt;
    const char* body = e + kJournalHeaderSize;
    std::uint32_t crc = crc32(e + 4, 24);
    crc = crc32(body, bodyLength, crc);
    if (crc != getLE<std::uint32_t>(e + 28))
        return std::nullopt;
    FileChanges changes;
    qint64 pos = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (pos + kChangeHeaderSize > bodyLength)
            return std::nullopt;
        const auto offset = getLE<std::uint64_t>(body + pos);
        const auto length = getLE<std::uint32_t>(body + pos + 8);
        pos += kChangeHeaderSize;
        if (offset < 1 || offset > std::uint64_t(kLargestTable) || pos + length > bodyLength)
            return std::nullopt;
        changes.push_back({qint64(offset), QByteArray(body + pos, length)});
        pos += length;
    }
    if (pos != bodyLength)
        return std::nullopt;
    return changes;
}

std::optional<QByteArray> applyChanges(QByteArray image, const FileChanges& changes) {
    for (const FileChange& c : changes) {
        if (c.offset > image.size() || c.offset + c.bytes.size() > kLargestTable)
            return std::nullopt;
        if (image.size() < c.offset + c.bytes.size())
            image.resize(c.offset + c.bytes.size());
        std::memcpy(image.data() + c.offset, c.bytes.constData(), std::size_t(c.bytes.size()));
    }
    return image;
}

} // namespace jt::engine

#include "TableLock.h"

#include "CheckedFiles.h"
#include "Journal.h"

#include <algorithm>
#include <fcntl.h>

namespace jt::engine {

TableLock::TableLock(const QString& path)
    : m_fd(posix::openTable(path, O_RDONLY, QStringLiteral("open"))) {
    posix::lockTable(m_fd.get(), true, path);
    const qint64 size = posix::fileSize(m_fd.get(), path);
    if (!checkedFiles::unchangedSinceChecked(path, m_fd.get())) {
        // A table this process has not checked as it stands is checked whole, as an open
        // would: a bad table gets no indexes either.
        const QByteArray image = posix::readAll(m_fd.get(), path, kLargestTable);
        const DbfHeader header = parseHeader(image, path);
        validateRecords(header, image, path);
        checkedFiles::remember(path, m_fd.get());
        m_structure = header.structure;
    } else {
        // The header is at most 32 bytes a field plus the file header; 64 KiB holds any.
        const QByteArray head = posix::readHead(m_fd.get(), path, std::min<qint64>(size, 65536));
        m_structure = parseHeader(head, size, path).structure;
    }
}

} // namespace jt::engine

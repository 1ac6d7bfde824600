#pragma once

#include "DbfCodec.h"
#include "PosixIo.h"

#include <QString>

namespace jt::engine {

// Holds a table for sole use without reading its records: for changes made beside the
// table (its index definitions) that must not happen under another user's feet.
class TableLock final {
public:
    // Throws EngineError: NotFound, InUse, or BadFile when the header is not sound.
    explicit TableLock(const QString& path);
    const DbfStructure& structure() const { return m_structure; }

private:
    posix::Descriptor m_fd;
    DbfStructure m_structure;
};

} // namespace jt::engine

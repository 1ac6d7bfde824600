#include "BatchCopy.h"

#include "DbfFile.h"
#include "EngineError.h"
#include "Table.h"

#include <QFileInfo>

namespace jt::engine {
namespace {

// Closes a source that the copy opened, also when the copy fails.
class OpenedForCopy final {
public:
    explicit OpenedForCopy(Table& table) : m_table(table), m_opened(!table.active()) {
        if (m_opened)
            m_table.open();
    }
    ~OpenedForCopy() {
        if (m_opened) {
            try {
                m_table.close();
            } catch (...) {
            }
        }
    }
    OpenedForCopy(const OpenedForCopy&) = delete;
    OpenedForCopy& operator=(const OpenedForCopy&) = delete;
    // Closes it now, so that a failure to close is reported.
    void close() {
        if (m_opened) {
            m_opened = false;
            m_table.close();
        }
    }

private:
    Table& m_table;
    bool m_opened;
};

} // namespace

int batchCopy(Table& source, Table& destination, int maxRecords) {
    if (destination.active())
        throw EngineError(
            QStringLiteral("%1: Cannot copy into an open table").arg(destination.tableName()));
    const QString destPath = destination.resolvedPath();
    OpenedForCopy opened(source);
    if (QFileInfo(source.resolvedPath()).canonicalFilePath() ==
        QFileInfo(destPath).canonicalFilePath())
        throw EngineError(QStringLiteral("%1: A table cannot be copied onto itself").arg(destPath));
    source.checkBrowseMode();

    const DbfStructure& s = source.structure();
    const DbfStructure structure = DbfStructure::fromFields(s.fields, destPath);
    const int rows = source.rowCount();
    const int from = maxRecords < 0 ? 0 : std::max(source.currentRow(), 0);
    const int to = maxRecords < 0 ? rows : std::min(rows, from + maxRecords);
    QByteArray records;
    records.reserve(qsizetype(std::max(0, to - from)) * s.recordLength);
    for (int row = from; row < to; ++row) {
        const char* stored = source.storedRecord(row);
        if (!stored)
            continue;
        QByteArray bytes(stored, s.recordLength);
        bytes[0] = kLiveFlag;
        records += bytes;
    }
    const auto count = std::uint32_t(records.size() / s.recordLength);
    DbfFile::writeWholeTable(destPath, structure, records, count);
    // The old destination's index definitions belong to the table that was replaced;
    // they go only once the copy is in place, so a refused copy leaves them.
    IndexStore::remove(destPath);
    destination.updateIndexDefs();
    opened.close();
    return int(count);
}

} // namespace jt::engine

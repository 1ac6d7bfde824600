#include "BatchCopy.h"

#include "DbfFile.h"
#include "EngineError.h"
#include "Table.h"

#include <QFileInfo>

namespace jt::engine {

class BatchCopier {
public:
    static int copy(Table& source, Table& destination, int maxRecords) {
        if (destination.active())
            throw EngineError(
                QStringLiteral("%1: Cannot copy into an open table").arg(destination.tableName()));
        const QString destPath = destination.resolvedPath();
        const bool openedHere = !source.active();
        if (openedHere)
            source.open();
        struct CloseAgain {
            Table& t;
            bool active;
            ~CloseAgain() {
                if (active) {
                    try {
                        t.close();
                    } catch (...) {
                    }
                }
            }
        } closeAgain{source, openedHere};
        if (QFileInfo(source.m_file.path()).canonicalFilePath() ==
            QFileInfo(destPath).canonicalFilePath())
            throw EngineError(
                QStringLiteral("%1: A table cannot be copied onto itself").arg(destPath));
        source.checkBrowseMode();

        const DbfStructure& s = source.m_file.structure();
        DbfStructure structure = DbfStructure::fromFields(s.fields, destPath);
        const int rows = source.rowCount();
        const int from = maxRecords < 0 ? 0 : std::max(source.currentRow(), 0);
        const int to = maxRecords < 0 ? rows : std::min(rows, from + maxRecords);
        QByteArray records;
        records.reserve(qsizetype(std::max(0, to - from)) * s.recordLength);
        for (int row = from; row < to; ++row) {
            const std::uint32_t r = source.m_order[std::size_t(row)];
            if (r == Table::kPendingRow)
                continue;
            QByteArray bytes(source.m_file.record(r), s.recordLength);
            bytes[0] = kLiveFlag;
            records += bytes;
        }
        const auto count = std::uint32_t(records.size() / s.recordLength);
        DbfFile::writeWholeTable(destPath, structure, records, count);
        // The old destination's index definitions belong to the table that was replaced;
        // they go only once the copy is in place, so a refused copy leaves them.
        IndexStore::remove(destPath);
        destination.m_indexDefs.clear();
        if (openedHere)
            source.close();
        closeAgain.active = false;
        return int(count);
    }
};

int batchCopy(Table& source, Table& destination, int maxRecords) {
    return BatchCopier::copy(source, destination, maxRecords);
}

} // namespace jt::engine

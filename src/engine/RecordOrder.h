#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace jt::engine {

class DbfFile;

// The rows a table shows, as physical record numbers: in record order, or sorted on one
// stored column either way, with records of equal keys in record order. Holds the key
// of each record (read once when the order is built) and the row of each record (built
// again on first use after the order changed).
class RecordOrder final {
public:
    // The row of a record being inserted, which the file does not hold yet.
    static constexpr std::uint32_t kPendingRow = 0xFFFFFFFFu;

    // The column to sort on, -1 for record order; takes effect at the next build().
    void setIndex(int column, bool descending);
    bool indexed() const { return m_column >= 0; }

    int size() const { return int(m_records.size()); }
    bool empty() const { return m_records.empty(); }
    std::uint32_t recordAt(int row) const { return m_records[std::size_t(row)]; }
    bool pendingAt(int row) const { return recordAt(row) == kPendingRow; }
    // The row of a record, -1 when it does not show.
    int rowOf(std::uint32_t record, std::uint32_t recordCount) const;

    // The order of these records (the file's records that show) of the file.
    void build(const DbfFile& file, std::vector<std::uint32_t> records);
    void clear();
    void insertPending(int row);
    void removeRow(int row);
    // Whether the record, as the file now holds it, still has the key it was sorted by.
    bool keepsPlace(const DbfFile& file, std::uint32_t record) const;
    // Puts a record into its place in the order, its key read anew; returns its row.
    int place(const DbfFile& file, std::uint32_t record);

private:
    struct SortKey {
        double number = 0;
        QString text;
    };
    SortKey keyOf(const DbfFile& file, std::uint32_t record) const;
    void updateKey(const DbfFile& file, std::uint32_t record);
    int compare(const SortKey& a, const SortKey& b) const;
    bool less(std::uint32_t a, std::uint32_t b) const;
    void changed() { ++m_stamp; }

    int m_column = -1;
    bool m_descending = false;
    bool m_textKey = false;
    std::vector<std::uint32_t> m_records;
    std::vector<SortKey> m_keys; // by physical record number, filled when sorted
    std::uint64_t m_stamp = 0;   // moves on with every change of the order
    mutable std::vector<int> m_rowOf;
    mutable std::uint64_t m_rowOfStamp = ~std::uint64_t(0);
};

} // namespace jt::engine

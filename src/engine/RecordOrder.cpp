#include "RecordOrder.h"

#include "DbfFile.h"

#include <algorithm>

namespace jt::engine {

void RecordOrder::setIndex(int column, bool descending) {
    m_column = column;
    m_descending = descending;
}

int RecordOrder::rowOf(std::uint32_t record, std::uint32_t recordCount) const {
    if (m_rowOfStamp != m_stamp) {
        m_rowOf.assign(std::size_t(recordCount) + 1, -1);
        for (std::size_t i = 0; i < m_records.size(); ++i)
            if (m_records[i] != kPendingRow && m_records[i] < m_rowOf.size())
                m_rowOf[m_records[i]] = int(i);
        m_rowOfStamp = m_stamp;
    }
    return record < m_rowOf.size() ? m_rowOf[record] : -1;
}

void RecordOrder::build(const DbfFile& file, std::vector<std::uint32_t> records) {
    m_records = std::move(records);
    m_keys.clear();
    if (m_column >= 0) {
        m_textKey = file.structure().fields[std::size_t(m_column)].type == FieldType::Character;
        m_keys.resize(file.recordCount());
        for (const std::uint32_t r : m_records)
            m_keys[r] = keyOf(file, r);
        std::sort(m_records.begin(), m_records.end(),
                  [this](std::uint32_t a, std::uint32_t b) { return less(a, b); });
    }
    changed();
}

void RecordOrder::clear() {
    m_records.clear();
    m_keys.clear();
    changed();
}

void RecordOrder::insertPending(int row) {
    m_records.insert(m_records.begin() + row, kPendingRow);
    changed();
}

void RecordOrder::removeRow(int row) {
    m_records.erase(m_records.begin() + row);
    changed();
}

bool RecordOrder::keepsPlace(const DbfFile& file, std::uint32_t record) const {
    return m_column < 0 || compare(m_keys[record], keyOf(file, record)) == 0;
}

void RecordOrder::updateKey(const DbfFile& file, std::uint32_t record) {
    if (m_column < 0)
        return;
    if (m_keys.size() <= record)
        m_keys.resize(std::size_t(record) + 1);
    m_keys[record] = keyOf(file, record);
}

int RecordOrder::place(const DbfFile& file, std::uint32_t record) {
    updateKey(file, record);
    const auto it =
        std::lower_bound(m_records.begin(), m_records.end(), record,
                         [this](std::uint32_t a, std::uint32_t b) { return less(a, b); });
    const int row = int(it - m_records.begin());
    m_records.insert(it, record);
    changed();
    return row;
}

// Index keys are numbers (number, logical and date fields; empty is 0) or texts.
RecordOrder::SortKey RecordOrder::keyOf(const DbfFile& file, std::uint32_t record) const {
    const DbfStructure& s = file.structure();
    const FieldDef& def = s.fields[std::size_t(m_column)];
    const QVariant v = decodeField(def, file.record(record) + s.offsets[std::size_t(m_column)]);
    SortKey key;
    switch (def.type) {
    case FieldType::Numeric:
    case FieldType::Float:
        key.number = v.isValid() ? v.toDouble() : 0.0;
        break;
    case FieldType::Logical:
        key.number = v.isValid() && v.toBool() ? 1.0 : 0.0;
        break;
    case FieldType::Date:
        key.number = v.isValid() && v.toDate().isValid() ? double(v.toDate().toJulianDay()) : 0.0;
        break;
    case FieldType::Character:
        key.text = v.toString();
        break;
    }
    return key;
}

int RecordOrder::compare(const SortKey& a, const SortKey& b) const {
    if (!m_textKey)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    const int c = QString::compare(a.text, b.text, Qt::CaseInsensitive);
    return c != 0 ? c : QString::compare(a.text, b.text, Qt::CaseSensitive);
}

bool RecordOrder::less(std::uint32_t a, std::uint32_t b) const {
    if (m_column >= 0) {
        const int c = compare(m_keys[a], m_keys[b]);
        if (c != 0)
            return m_descending ? c > 0 : c < 0;
    }
    return a < b;
}

} // namespace jt::engine

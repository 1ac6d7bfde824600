#include "Table.h"

#include "AliasRegistry.h"
#include "EngineError.h"

#include <QFileInfo>

#include <algorithm>

namespace jt::engine {

Table::Table(QObject* parent) : QObject(parent) {}

Table::~Table() {
    try {
        close();
    } catch (...) {
        // Nothing can be reported from a destructor; close() throws when called directly.
    }
}

EngineError Table::tableError(const QString& what, EngineError::Kind kind) const {
    const QString name = m_tableName.isEmpty() ? QStringLiteral("(no table)") : m_tableName;
    return EngineError(QStringLiteral("%1: %2").arg(name, what), kind);
}

void Table::requireActive() const {
    if (m_state == State::Inactive)
        throw tableError(QStringLiteral("Cannot perform this operation on a closed table"));
}

void Table::requireClosed(const char* what) const {
    if (m_state != State::Inactive)
        throw tableError(
            QStringLiteral("Cannot %1 while the table is open").arg(QLatin1String(what)));
}

void Table::setDatabaseName(const QString& alias) {
    requireClosed("change the database");
    m_databaseName = alias;
}

void Table::setTableName(const QString& name) {
    requireClosed("change the table name");
    m_tableName = name;
}

void Table::setExclusive(bool exclusive) {
    requireClosed("change sole use");
    m_exclusive = exclusive;
}

QString Table::resolvedPath() const {
    return resolveTablePath(m_databaseName, m_tableName);
}

bool Table::exists() const {
    return QFileInfo(resolvedPath()).isFile();
}

const DbfStructure& Table::structure() const {
    requireActive();
    return m_file.structure();
}

// ---- open and close -------------------------------------------------------

// Binds the fields, reads the index definitions and builds the order and filter of
// the file just opened or read again. Throws without changing the file.
void Table::loadFromFile() {
    const QString path = m_file.path();
    bindFields();
    m_indexDefs = IndexStore::read(path);
    int field = -1;
    bool descending = false;
    if (!m_indexName.isEmpty())
        selectIndexField(m_indexName, &field, &descending);
    m_order.setIndex(field, descending);
    m_filter = m_filtered ? Filter::parse(m_filterText, m_file.structure()) : Filter();
    buildOrder();
}

void Table::open() {
    if (m_state != State::Inactive)
        return;
    const QString path = resolvedPath();
    m_file.open(path, m_exclusive ? DbfFile::Mode::Exclusive : DbfFile::Mode::Shared);
    try {
        m_state = State::Browse;
        loadFromFile();
    } catch (...) {
        m_state = State::Inactive;
        unbindFields();
        m_order.clear();
        try {
            m_file.close();
        } catch (...) {
        }
        throw;
    }
    m_modified = false;
    m_row = -1;
    m_eof = m_bof = true;
    if (!m_order.empty()) {
        m_row = 0;
        m_eof = false;
    }
    fetch();
    notifyState();
    notifyData();
}

void Table::close() {
    if (m_state == State::Inactive)
        return;
    if (m_beforeClose)
        m_beforeClose(*this);
    m_state = State::Inactive;
    m_order.clear();
    m_buffer.clear();
    m_modified = false;
    m_row = -1;
    m_eof = m_bof = true;
    m_context = {};
    unbindFields();
    struct Notify {
        Table* t;
        ~Notify() {
            t->notifyState();
            t->notifyData();
        }
    } notify{this};
    m_file.close();
}

// ---- order and filter -----------------------------------------------------

bool Table::recordVisible(std::uint32_t record) const {
    const char* bytes = m_file.record(record);
    if (bytes[0] == kDeletedFlag)
        return false;
    if (!m_filtered || m_filter.isEmpty())
        return true;
    const DbfStructure& s = m_file.structure();
    return m_filter.matches([&](int column) {
        return decodeField(s.fields[std::size_t(column)], bytes + s.offsets[std::size_t(column)]);
    });
}

void Table::buildOrder() {
    const std::uint32_t count = m_file.recordCount();
    std::vector<std::uint32_t> records;
    records.reserve(count);
    for (std::uint32_t r = 0; r < count; ++r)
        if (recordVisible(r))
            records.push_back(r);
    m_order.build(m_file, std::move(records));
}

// Puts a record that was posted into its place in the current order (or out of it,
// when the filter no longer lets it through) and makes it current where it shows.
void Table::placeRecord(std::uint32_t record) {
    if (!recordVisible(record)) {
        if (m_row >= m_order.size())
            m_row = m_order.size() - 1;
        return;
    }
    m_row = m_order.place(m_file, record);
}

void Table::setFilter(const QString& expression) {
    if (m_state != State::Inactive && m_filtered) {
        checkBrowseMode();
        Filter parsed = Filter::parse(expression, m_file.structure());
        m_filter = std::move(parsed);
        m_filterText = expression;
        buildOrder();
        first();
        notifyData();
        return;
    }
    m_filterText = expression;
}

void Table::setFiltered(bool filtered) {
    if (m_state == State::Inactive || filtered == m_filtered) {
        m_filtered = filtered;
        return;
    }
    checkBrowseMode();
    Filter parsed = filtered ? Filter::parse(m_filterText, m_file.structure()) : Filter();
    m_filter = std::move(parsed);
    m_filtered = filtered;
    buildOrder();
    first();
    notifyData();
}

// ---- navigation -----------------------------------------------------------

void Table::first() {
    requireActive();
    checkBrowseMode();
    m_row = m_order.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_order.empty();
    fetch();
    notifyCurrent();
}

void Table::last() {
    requireActive();
    checkBrowseMode();
    m_row = m_order.size() - 1;
    m_eof = true;
    m_bof = m_order.empty();
    fetch();
    notifyCurrent();
}

// Leaving a blank row that was never changed drops it; the move then counts from
// where that row stood, so Down from a new last row stays at the end and Up from it
// lands on the record above. Returns true when the move was made here.
bool Table::dropUnmodifiedInsert(int direction) {
    if (m_state != State::Insert || m_modified)
        return false;
    const int pendingRow = m_row;
    cancel();
    const int size = m_order.size();
    const int target = direction > 0 ? pendingRow : pendingRow - 1;
    if (size == 0) {
        m_row = -1;
        m_eof = m_bof = true;
    } else if (target >= size) {
        m_row = size - 1;
        m_eof = true;
        m_bof = false;
    } else if (target < 0) {
        m_row = 0;
        m_bof = true;
        m_eof = false;
    } else {
        m_row = target;
        m_eof = m_bof = false;
    }
    fetch();
    notifyCurrent();
    return true;
}

void Table::next() {
    step(+1);
}

void Table::prior() {
    step(-1);
}

// One row down (+1) or up (-1). A move past the end is not made: it sets that end's
// flag, and on an empty table the other end's flag too.
void Table::step(int direction) {
    requireActive();
    if (dropUnmodifiedInsert(direction))
        return;
    checkBrowseMode();
    const int target = m_row + direction;
    if (target >= 0 && target < m_order.size()) {
        m_row = target;
        m_bof = false;
        m_eof = false;
        fetch();
        notifyCurrent();
        return;
    }
    bool& end = direction > 0 ? m_eof : m_bof;
    bool& otherEnd = direction > 0 ? m_bof : m_eof;
    if (!end)
        otherEnd = m_order.empty();
    end = true;
}

void Table::moveToRow(int row) {
    requireActive();
    checkBrowseMode();
    if (m_order.empty()) {
        m_row = -1;
        m_eof = m_bof = true;
    } else {
        m_row = std::clamp(row, 0, m_order.size() - 1);
        m_eof = m_bof = false;
    }
    fetch();
    notifyCurrent();
}

Table::Bookmark Table::bookmark() const {
    if (m_state == State::Inactive)
        return kNoBookmark;
    return bookmarkAt(m_row);
}

Table::Bookmark Table::bookmarkAt(int row) const {
    if (row < 0 || row >= m_order.size() || m_order.pendingAt(row))
        return kNoBookmark;
    return Bookmark(m_order.recordAt(row));
}

int Table::rowOfRecord(std::uint32_t record) const {
    return m_order.rowOf(record, m_file.recordCount());
}

bool Table::bookmarkValid(Bookmark bookmark) const {
    if (m_state == State::Inactive || bookmark < 0)
        return false;
    return rowOfRecord(std::uint32_t(bookmark)) >= 0;
}

void Table::gotoBookmark(Bookmark bookmark) {
    requireActive();
    checkBrowseMode();
    const int row = bookmark < 0 ? -1 : rowOfRecord(std::uint32_t(bookmark));
    if (row < 0)
        throw tableError(QStringLiteral("Record not found"), EngineError::Kind::NotFound);
    m_row = row;
    m_eof = m_bof = false;
    fetch();
    notifyCurrent();
}

const char* Table::rowBytes(int row) const {
    if (m_order.pendingAt(row) || (editing() && row == m_row))
        return m_buffer.constData();
    return m_file.record(m_order.recordAt(row));
}

std::uint32_t Table::uncountedRecords() const {
    requireActive();
    return m_file.uncountedRecords();
}

const char* Table::storedRecord(int row) const {
    requireActive();
    if (row < 0 || row >= m_order.size() || m_order.pendingAt(row))
        return nullptr;
    return m_file.record(m_order.recordAt(row));
}

// ---- whole tables ---------------------------------------------------------

void Table::createTable(const FieldDefs& fields) {
    requireClosed("create the table");
    const QString path = resolvedPath();
    const DbfStructure structure = DbfStructure::fromFields(fields, path);
    DbfFile::writeWholeTable(path, structure, QByteArray(), 0);
    // The definitions of a table that was replaced do not belong to the new one.
    IndexStore::remove(path);
    m_indexDefs.clear();
}

void Table::deleteTable() {
    requireClosed("delete the table");
    const QString path = resolvedPath();
    DbfFile::deleteTable(path);
    IndexStore::remove(path);
    m_indexDefs.clear();
}

// ---- bound controls ---------------------------------------------------------

void Table::disableControls() {
    ++m_disableCount;
}

void Table::enableControls() {
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        Q_EMIT dataChanged();
        Q_EMIT currentChanged();
        Q_EMIT stateChanged();
    }
}

void Table::notifyData() {
    if (m_disableCount == 0) {
        Q_EMIT dataChanged();
        Q_EMIT currentChanged();
    }
}

void Table::notifyCurrent() {
    if (m_disableCount == 0)
        Q_EMIT currentChanged();
}

void Table::notifyState() {
    if (m_disableCount == 0)
        Q_EMIT stateChanged();
}

} // namespace jt::engine

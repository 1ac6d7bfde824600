#include "Table.h"

#include "AliasRegistry.h"
#include "EngineError.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

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

// ---- fields ---------------------------------------------------------------

Field* Table::declareField(const QString& name) {
    requireClosed("declare fields");
    if (Field* existing = findField(name); existing && !existing->isCalculated())
        return existing;
    for (const auto& f : m_declared)
        if (!f->isCalculated() && f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    m_declared.push_back(std::unique_ptr<Field>(
        new Field(this, FieldDef{name.toUpper(), FieldType::Character, 1, 0}, false)));
    return m_declared.back().get();
}

Field* Table::addCalculatedField(const QString& name, FieldType type, int width) {
    requireClosed("add calculated fields");
    m_declared.push_back(
        std::unique_ptr<Field>(new Field(this, FieldDef{name, type, width, 0}, true)));
    return m_declared.back().get();
}

Field* Table::findField(const QString& name) const {
    // Field names are ASCII, so upper-casing compares them without regard to case.
    if (const auto it = m_fieldsByName.constFind(name.toUpper()); it != m_fieldsByName.constEnd())
        return *it;
    for (Field* f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

Field* Table::fieldByName(const QString& name) const {
    if (Field* f = findField(name))
        return f;
    throw tableError(QStringLiteral("Field '%1' not found").arg(name), EngineError::Kind::NotFound);
}

void Table::bindFields() {
    for (const auto& d : m_declared)
        d->m_column = -1;
    m_fields.clear();
    m_dynamic.clear();
    const DbfStructure& s = m_file.structure();
    for (std::size_t c = 0; c < s.fields.size(); ++c) {
        Field* field = nullptr;
        for (const auto& d : m_declared)
            if (!d->isCalculated() &&
                d->fieldName().compare(s.fields[c].name, Qt::CaseInsensitive) == 0)
                field = d.get();
        if (!field) {
            m_dynamic.push_back(std::unique_ptr<Field>(new Field(this, s.fields[c], false)));
            field = m_dynamic.back().get();
        }
        field->m_def = s.fields[c];
        field->m_column = int(c);
        field->m_fieldNo = int(m_fields.size());
        m_fields.push_back(field);
    }
    for (const auto& d : m_declared) {
        if (d->isCalculated())
            continue;
        if (d->m_column < 0)
            throw tableError(QStringLiteral("Field '%1' not found").arg(d->fieldName()),
                             EngineError::Kind::NotFound);
    }
    int calcIndex = 0;
    for (const auto& d : m_declared) {
        if (!d->isCalculated())
            continue;
        d->m_column = calcIndex++;
        d->m_fieldNo = int(m_fields.size());
        m_fields.push_back(d.get());
    }
    m_calc.assign(std::size_t(calcIndex), QVariant());
    m_fieldsByName.clear();
    for (Field* f : m_fields)
        m_fieldsByName.insert(f->fieldName().toUpper(), f);
}

void Table::unbindFields() {
    for (const auto& d : m_declared) {
        d->m_column = -1;
        d->m_fieldNo = -1;
    }
    m_fields.clear();
    m_fieldsByName.clear();
    m_dynamic.clear();
    m_calc.clear();
}

QVariant Table::readField(const Field* field) const {
    if (m_state == State::Inactive || field->m_column < 0)
        throw tableError(QStringLiteral("Field '%1' cannot be read while the table is closed")
                             .arg(field->fieldName()));
    if (field->isCalculated()) {
        if (!m_context.calc)
            ensureCalc();
        const std::vector<QVariant>* calc = m_context.calc ? m_context.calc : &m_calc;
        return (*calc)[std::size_t(field->m_column)];
    }
    const char* record = m_context.record;
    if (!record)
        return {};
    const DbfStructure& s = m_file.structure();
    return decodeField(s.fields[std::size_t(field->m_column)],
                       record + s.offsets[std::size_t(field->m_column)]);
}

void Table::writeFieldValue(Field* field, const QVariant& value) {
    requireActive();
    if (field->m_column < 0)
        throw tableError(
            QStringLiteral("Field '%1' is not part of the open table").arg(field->fieldName()));
    // Calculated fields show the record as it was when editing began.
    if (!m_inCalc)
        ensureCalc();
    if (field->isCalculated()) {
        if (!m_inCalc && !editing())
            throw tableError(
                QStringLiteral("Calculated field '%1' can only be set while fields are calculated")
                    .arg(field->fieldName()));
        std::vector<QVariant>* calc = m_context.calc ? m_context.calc : &m_calc;
        (*calc)[std::size_t(field->m_column)] = value;
        return;
    }
    if (!editing())
        throw tableError(QStringLiteral("The table is not in edit or insert mode"));
    const DbfStructure& s = m_file.structure();
    const auto column = std::size_t(field->m_column);
    // encodeField leaves the bytes alone when it refuses the value.
    encodeField(s.fields[column], value, m_buffer.data() + s.offsets[column], m_tableName);
    m_context.record = m_buffer.constData();
    m_modified = true;
    if (m_disableCount == 0)
        Q_EMIT fieldChanged(field);
}

// ---- open and close -------------------------------------------------------

// Binds the fields, reads the index definitions and builds the order and filter of
// the file just opened or read again. Throws without changing the file.
void Table::loadFromFile() {
    const QString path = m_file.path();
    bindFields();
    m_indexDefs = IndexStore::read(path);
    m_indexField = -1;
    m_indexDescending = false;
    if (!m_indexName.isEmpty())
        selectIndexField(m_indexName, &m_indexField, &m_indexDescending);
    m_filter = m_filtered ? Filter::parse(m_filterText, m_file.structure()) : Filter();
    buildOrder();
}

void Table::selectIndexField(const QString& name, int* field, bool* descending) const {
    const int pos = indexDefPosition(name);
    if (pos < 0)
        throw tableError(QStringLiteral("Index does not exist: %1").arg(name),
                         EngineError::Kind::NotFound);
    const IndexDef& def = m_indexDefs[std::size_t(pos)];
    *field = m_file.structure().indexOf(def.field);
    if (*field < 0)
        throw tableError(QStringLiteral("Index %1 is on field '%2', which the table lacks")
                             .arg(def.name, def.field));
    *descending = def.descending;
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
        m_keys.clear();
        ++m_orderStamp;
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
    m_state = State::Inactive;
    m_order.clear();
    ++m_orderStamp;
    m_keys.clear();
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

int Table::indexDefPosition(const QString& name) const {
    for (std::size_t i = 0; i < m_indexDefs.size(); ++i)
        if (m_indexDefs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// Index keys are numbers (number, logical and date fields; empty is 0) or texts.
Table::SortKey Table::keyOf(std::uint32_t record) const {
    const DbfStructure& s = m_file.structure();
    const FieldDef& def = s.fields[std::size_t(m_indexField)];
    const QVariant v =
        decodeField(def, m_file.record(record) + s.offsets[std::size_t(m_indexField)]);
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

int Table::compareKeys(const SortKey& a, const SortKey& b) const {
    if (!m_textKey)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    const int c = QString::compare(a.text, b.text, Qt::CaseInsensitive);
    return c != 0 ? c : QString::compare(a.text, b.text, Qt::CaseSensitive);
}

// Records with equal keys stay in record order, in either direction.
bool Table::orderLess(std::uint32_t a, std::uint32_t b) const {
    if (m_indexField >= 0) {
        const int c = compareKeys(m_keys[a], m_keys[b]);
        if (c != 0)
            return m_indexDescending ? c > 0 : c < 0;
    }
    return a < b;
}

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
    m_order.clear();
    ++m_orderStamp;
    m_order.reserve(count);
    for (std::uint32_t r = 0; r < count; ++r)
        if (recordVisible(r))
            m_order.push_back(r);
    m_keys.clear();
    if (m_indexField >= 0) {
        m_textKey =
            m_file.structure().fields[std::size_t(m_indexField)].type == FieldType::Character;
        m_keys.resize(count);
        for (const std::uint32_t r : m_order)
            m_keys[r] = keyOf(r);
        std::sort(m_order.begin(), m_order.end(),
                  [this](std::uint32_t a, std::uint32_t b) { return orderLess(a, b); });
        ++m_orderStamp;
    }
}

// Puts a record that was posted into its place in the current order (or out of it,
// when the filter no longer lets it through) and makes it current where it shows.
void Table::placeRecord(std::uint32_t record) {
    if (m_indexField >= 0) {
        if (m_keys.size() <= record)
            m_keys.resize(std::size_t(record) + 1);
        m_keys[record] = keyOf(record);
    }
    if (!recordVisible(record)) {
        if (m_row >= int(m_order.size()))
            m_row = int(m_order.size()) - 1;
        return;
    }
    const auto it =
        std::lower_bound(m_order.begin(), m_order.end(), record,
                         [this](std::uint32_t a, std::uint32_t b) { return orderLess(a, b); });
    m_row = int(it - m_order.begin());
    m_order.insert(it, record);
    ++m_orderStamp;
}

void Table::setIndexName(const QString& name) {
    if (m_state == State::Inactive) {
        m_indexName = name;
        return;
    }
    checkBrowseMode();
    int field = -1;
    bool descending = false;
    if (!name.isEmpty())
        selectIndexField(name, &field, &descending);
    const Bookmark mark = bookmark();
    m_indexName = name;
    m_indexField = field;
    m_indexDescending = descending;
    buildOrder();
    if (bookmarkValid(mark))
        gotoBookmark(mark);
    else
        first();
    notifyData();
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

// ---- indexes ----------------------------------------------------------------

void Table::updateIndexDefs() {
    m_indexDefs = IndexStore::read(resolvedPath());
}

void Table::addIndex(const QString& name, const QString& field, bool descending) {
    if (m_state != State::Inactive && !m_exclusive)
        throw tableError(QStringLiteral(
            "An index can only be added to a closed table or one held for sole use"));
    const QString path = resolvedPath();
    // The definitions file holds one tab-separated line per index, '#' starting a comment.
    const bool badName =
        name.trimmed() != name || name.isEmpty() || name.startsWith(QLatin1Char('#')) ||
        std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; });
    if (badName)
        throw tableError(QStringLiteral("Invalid index name '%1'").arg(name));
    // Like the classic engine, changing a table's indexes needs the table to oneself:
    // a closed handle takes sole use for the moment of the change.
    std::optional<TableLock> holder;
    if (m_state == State::Inactive) {
        holder.emplace(path);
        if (holder->structure().indexOf(field) < 0)
            throw tableError(QStringLiteral("Field '%1' not found").arg(field),
                             EngineError::Kind::NotFound);
    } else if (m_file.structure().indexOf(field) < 0) {
        throw tableError(QStringLiteral("Field '%1' not found").arg(field),
                         EngineError::Kind::NotFound);
    }
    IndexDefList defs = IndexStore::read(path);
    for (const IndexDef& d : defs)
        if (d.name.compare(name, Qt::CaseInsensitive) == 0)
            throw tableError(QStringLiteral("Index already exists: %1").arg(name));
    defs.push_back({name, field.toUpper(), descending});
    IndexStore::write(path, defs);
    m_indexDefs = defs;
}

void Table::deleteIndex(const QString& name) {
    if (m_state != State::Inactive && !m_exclusive)
        throw tableError(QStringLiteral(
            "An index can only be deleted from a closed table or one held for sole use"));
    const QString path = resolvedPath();
    std::optional<TableLock> holder;
    if (m_state == State::Inactive && QFileInfo::exists(path))
        holder.emplace(path);
    IndexDefList defs = IndexStore::read(path);
    const auto it = std::find_if(defs.begin(), defs.end(), [&](const IndexDef& d) {
        return d.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == defs.end())
        throw tableError(QStringLiteral("Index does not exist: %1").arg(name),
                         EngineError::Kind::NotFound);
    if (m_state != State::Inactive && m_indexName.compare(name, Qt::CaseInsensitive) == 0)
        setIndexName(QString());
    else if (m_state == State::Inactive && m_indexName.compare(name, Qt::CaseInsensitive) == 0)
        m_indexName.clear();
    defs.erase(it);
    IndexStore::write(path, defs);
    m_indexDefs = defs;
}

// ---- navigation -----------------------------------------------------------

void Table::checkBrowseMode() {
    if (!editing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void Table::fetch() {
    if (m_state == State::Inactive)
        return;
    if (editing()) {
        m_context = {m_buffer.constData(), nullptr};
    } else if (m_row >= 0 && m_row < int(m_order.size())) {
        m_context = {m_file.record(m_order[std::size_t(m_row)]), nullptr};
    } else {
        m_context = {};
    }
    std::fill(m_calc.begin(), m_calc.end(), QVariant());
    // The handler runs when a calculated field is first read (or a field written) after
    // the fetch, which gives the same values as running it now: a pass that never reads
    // them does not pay for them on every record.
    m_calcStale = m_context.record && m_onCalcFields && !m_calc.empty();
}

void Table::ensureCalc() const {
    if (!m_calcStale)
        return;
    m_calcStale = false;
    m_inCalc = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_inCalc};
    m_onCalcFields(const_cast<Table&>(*this));
}

void Table::runCalc(const char* record, std::vector<QVariant>& calc) const {
    calc.assign(m_calc.size(), QVariant());
    if (!m_onCalcFields || calc.empty())
        return;
    const Context saved = m_context;
    m_context = {record, &calc};
    m_inCalc = true;
    struct Restore {
        const Table* t;
        Context saved;
        ~Restore() {
            t->m_context = saved;
            t->m_inCalc = false;
        }
    } restore{this, saved};
    m_onCalcFields(const_cast<Table&>(*this));
}

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
    m_row = int(m_order.size()) - 1;
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
    const int size = int(m_order.size());
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
    requireActive();
    if (dropUnmodifiedInsert(+1))
        return;
    checkBrowseMode();
    if (m_row + 1 < int(m_order.size())) {
        ++m_row;
        m_bof = false;
        m_eof = false;
        fetch();
        notifyCurrent();
    } else {
        if (!m_eof)
            m_bof = m_order.empty();
        m_eof = true;
    }
}

void Table::prior() {
    requireActive();
    if (dropUnmodifiedInsert(-1))
        return;
    checkBrowseMode();
    if (m_row > 0) {
        --m_row;
        m_bof = false;
        m_eof = false;
        fetch();
        notifyCurrent();
    } else {
        if (!m_bof)
            m_eof = m_order.empty();
        m_bof = true;
    }
}

void Table::moveToRow(int row) {
    requireActive();
    checkBrowseMode();
    if (m_order.empty()) {
        m_row = -1;
        m_eof = m_bof = true;
    } else {
        m_row = std::clamp(row, 0, int(m_order.size()) - 1);
        m_eof = m_bof = false;
    }
    fetch();
    notifyCurrent();
}

Table::Bookmark Table::bookmark() const {
    if (m_state == State::Inactive || m_row < 0 || m_row >= int(m_order.size()))
        return kNoBookmark;
    const std::uint32_t r = m_order[std::size_t(m_row)];
    return r == kPendingRow ? kNoBookmark : Bookmark(r);
}

Table::Bookmark Table::bookmarkAt(int row) const {
    if (row < 0 || row >= int(m_order.size()) || m_order[std::size_t(row)] == kPendingRow)
        return kNoBookmark;
    return Bookmark(m_order[std::size_t(row)]);
}

int Table::rowOfRecord(std::uint32_t record) const {
    if (m_rowOfOrderSize != m_order.size() || m_rowOfStamp != m_orderStamp) {
        m_rowOf.assign(m_file.recordCount() + 1, -1);
        for (std::size_t i = 0; i < m_order.size(); ++i)
            if (m_order[i] != kPendingRow)
                m_rowOf[m_order[i]] = int(i);
        m_rowOfOrderSize = m_order.size();
        m_rowOfStamp = m_orderStamp;
    }
    return record < m_rowOf.size() ? m_rowOf[record] : -1;
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

// ---- editing --------------------------------------------------------------

void Table::requireBrowseRow() const {
    if (m_row < 0 || m_row >= int(m_order.size()))
        throw tableError(QStringLiteral("Cannot perform this operation on an empty table"));
}

void Table::edit() {
    requireActive();
    if (editing())
        return;
    if (m_order.empty()) {
        append();
        return;
    }
    requireBrowseRow();
    m_buffer =
        QByteArray(m_file.record(m_order[std::size_t(m_row)]), m_file.structure().recordLength);
    m_state = State::Edit;
    m_modified = false;
    fetch();
    notifyState();
}

void Table::insert() {
    requireActive();
    checkBrowseMode();
    if (m_beforeInsert)
        m_beforeInsert(*this);
    const int row = m_row < 0 ? 0 : m_row;
    m_rowBeforeInsert = m_row;
    m_order.insert(m_order.begin() + row, kPendingRow);
    ++m_orderStamp;
    m_row = row;
    m_buffer = QByteArray(m_file.structure().recordLength, ' ');
    m_state = State::Insert;
    m_modified = false;
    m_eof = m_bof = false;
    fetch();
    notifyData();
    notifyState();
}

void Table::append() {
    requireActive();
    checkBrowseMode();
    if (m_beforeInsert)
        m_beforeInsert(*this);
    m_rowBeforeInsert = m_row;
    m_order.push_back(kPendingRow);
    ++m_orderStamp;
    m_row = int(m_order.size()) - 1;
    m_buffer = QByteArray(m_file.structure().recordLength, ' ');
    m_state = State::Insert;
    m_modified = false;
    m_eof = m_bof = false;
    fetch();
    notifyData();
    notifyState();
}

void Table::post() {
    requireActive();
    if (!editing())
        return;
    std::uint32_t record = 0;
    if (m_state == State::Edit) {
        record = m_order[std::size_t(m_row)];
        const SortKey oldKey = m_indexField >= 0 ? m_keys[record] : SortKey();
        m_file.writeRecord(record, m_buffer.constData());
        const bool stays =
            recordVisible(record) && (m_indexField < 0 || compareKeys(oldKey, keyOf(record)) == 0);
        if (stays) {
            // The common case (a mark corrected, points written): the record keeps its row.
            m_state = State::Browse;
            m_modified = false;
            m_buffer.clear();
            fetch();
            notifyState();
            notifyCurrent();
            Q_EMIT afterPost();
            return;
        }
        m_order.erase(m_order.begin() + m_row);
        ++m_orderStamp;
    } else {
        m_buffer[0] = kLiveFlag;
        record = m_file.appendRecord(m_buffer.constData());
        m_order.erase(m_order.begin() + m_row);
        ++m_orderStamp;
    }
    m_state = State::Browse;
    m_modified = false;
    m_buffer.clear();
    placeRecord(record);
    m_eof = m_order.empty();
    m_bof = false;
    fetch();
    notifyState();
    notifyData();
    Q_EMIT afterPost();
}

void Table::cancel() {
    requireActive();
    if (!editing())
        return;
    const bool inserting = m_state == State::Insert;
    if (inserting) {
        // Back to the record that was current before the blank row was opened.
        m_order.erase(m_order.begin() + m_row);
        ++m_orderStamp;
        m_row = std::clamp(m_rowBeforeInsert, m_order.empty() ? -1 : 0, int(m_order.size()) - 1);
    }
    m_state = State::Browse;
    m_modified = false;
    m_buffer.clear();
    m_eof = m_order.empty();
    fetch();
    notifyState();
    if (inserting)
        notifyData();
    else
        notifyCurrent();
}

void Table::deleteRecord() {
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    requireBrowseRow();
    const std::uint32_t record = m_order[std::size_t(m_row)];
    QByteArray bytes(m_file.record(record), m_file.structure().recordLength);
    bytes[0] = kDeletedFlag;
    m_file.writeRecord(record, bytes.constData());
    m_order.erase(m_order.begin() + m_row);
    ++m_orderStamp;
    if (m_row >= int(m_order.size()))
        m_row = int(m_order.size()) - 1;
    m_eof = m_order.empty();
    m_bof = m_order.empty();
    fetch();
    notifyData();
    Q_EMIT afterDelete();
}

void Table::refresh() {
    requireActive();
    checkBrowseMode();
    const Bookmark mark = bookmark();
    const int row = m_row;
    try {
        m_file.reload();
        loadFromFile();
    } catch (...) {
        // The table cannot be shown as it now is; it is closed rather than left half-read.
        close();
        throw;
    }
    if (bookmarkValid(mark)) {
        gotoBookmark(mark);
    } else {
        m_row = m_order.empty() ? -1 : std::clamp(row, 0, int(m_order.size()) - 1);
        m_eof = m_bof = m_order.empty();
        fetch();
    }
    notifyData();
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
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            throw EngineError(QStringLiteral("Table does not exist: %1").arg(path),
                              EngineError::Kind::NotFound);
        throw EngineError(QStringLiteral("Cannot delete %1: %2")
                              .arg(path, QString::fromLocal8Bit(strerror(errno))),
                          EngineError::Kind::Io);
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        throw EngineError(QStringLiteral("Table %1 is in use by another user").arg(path),
                          EngineError::Kind::InUse);
    if (::unlink(native.constData()) != 0)
        throw EngineError(QStringLiteral("Cannot delete %1: %2")
                              .arg(path, QString::fromLocal8Bit(strerror(errno))),
                          EngineError::Kind::Io);
    ::unlink(QFile::encodeName(DbfFile::journalPath(path)).constData());
    IndexStore::remove(path);
    syncDirectoryOf(path);
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

const char* Table::rowBytes(int row) const {
    const std::uint32_t r = m_order[std::size_t(row)];
    if (r == kPendingRow || (editing() && row == m_row))
        return m_buffer.constData();
    return m_file.record(r);
}

QVariant Table::valueAt(int row, int fieldNo) const {
    requireActive();
    if (row < 0 || row >= int(m_order.size()) || fieldNo < 0 || fieldNo >= int(m_fields.size()))
        return {};
    const Field* field = m_fields[std::size_t(fieldNo)];
    const char* bytes = rowBytes(row);
    if (field->isCalculated()) {
        if (row == m_row) {
            ensureCalc();
            return m_calc[std::size_t(field->m_column)];
        }
        std::vector<QVariant> calc;
        runCalc(bytes, calc);
        return calc[std::size_t(field->m_column)];
    }
    const DbfStructure& s = m_file.structure();
    const auto column = std::size_t(field->m_column);
    return decodeField(s.fields[column], bytes + s.offsets[column]);
}

} // namespace jt::engine

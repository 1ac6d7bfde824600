// The fields of a table: declared fields bound by name at each open, the other stored
// columns, the calculated fields, and reading and writing them in the current record.
#include "Table.h"

namespace jt::engine {

Field* Table::declareField(const QString& name, std::optional<FieldType> type) {
    requireClosed("declare fields");
    Field* field = nullptr;
    for (const auto& f : m_declared)
        if (!f->isCalculated() && f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            field = f.get();
    if (!field) {
        m_declared.push_back(std::unique_ptr<Field>(
            new Field(this, FieldDef{name.toUpper(), FieldType::Character, 1, 0}, false)));
        field = m_declared.back().get();
    }
    if (type)
        field->m_expectedType = type;
    return field;
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
        // A column of another family would be read and sorted as the wrong kind of value
        // (text marks sort as text and read as 0), so the table is refused whole.
        if (d->m_expectedType && !sameTypeFamily(d->m_def.type, *d->m_expectedType))
            throw tableError(wrongTypeText(d->fieldName(), d->m_def.type, *d->m_expectedType),
                             EngineError::Kind::BadFile);
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

void Table::fetch() {
    if (m_state == State::Inactive)
        return;
    if (editing()) {
        m_context = {m_buffer.constData(), nullptr};
    } else if (m_row >= 0 && m_row < m_order.size()) {
        m_context = {m_file.record(m_order.recordAt(m_row)), nullptr};
    } else {
        m_context = {};
    }
    std::fill(m_calc.begin(), m_calc.end(), QVariant());
    // The calculation runs when a calculated field is first read (or a field written)
    // after the fetch, which gives the same values as running it now: a pass that never
    // reads them does not pay for them on every record.
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

QVariant Table::valueAt(int row, int fieldNo) const {
    requireActive();
    if (row < 0 || row >= m_order.size() || fieldNo < 0 || fieldNo >= int(m_fields.size()))
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

#include "TableModel.h"

#include "CellText.h"
#include "engine/DataSource.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/Guarded.h"

#include <QBrush>

namespace jt::dbcontrols {

TableModel::TableModel(QObject* parent) : QAbstractTableModel(parent) {}

TableModel::~TableModel() = default;

void TableModel::setDataSource(engine::DataSource* source) {
    m_binding.setDataSource(source);
}

void TableModel::bindTable() {
    m_binding.connect(&engine::Table::dataChanged, [this] { resetFromTable(); });
    m_binding.connect(&engine::Table::currentChanged, [this] { onCurrentChanged(); });
    m_binding.connect(&engine::Table::stateChanged, [this] { onStateChanged(); });
    m_binding.connect(&engine::Table::fieldChanged, [this] { repaintRow(m_currentRow); });
    // A table that goes away leaves the model empty rather than pointing at it.
    m_binding.connect(&QObject::destroyed, [this] { m_binding.rebind(); });
    resetFromTable();
}

void TableModel::setColumns(const QList<GridColumn>& columns) {
    m_columns = columns;
    resetFromTable();
}

void TableModel::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
}

void TableModel::resolveFields() {
    m_fieldNos.clear();
    const engine::Table* t = m_binding.table();
    const bool active = t && t->active();
    if (m_columns.isEmpty()) {
        const int n = active ? t->fieldCount() : 0;
        for (int i = 0; i < n; ++i)
            m_fieldNos.push_back(i);
        return;
    }
    for (const GridColumn& c : std::as_const(m_columns)) {
        const engine::Field* f = active && !c.isSeparator() ? t->findField(c.fieldName) : nullptr;
        m_fieldNos.push_back(f ? f->fieldNo() : -1);
    }
}

void TableModel::resetFromTable() {
    beginResetModel();
    resolveFields();
    const engine::Table* t = m_binding.table();
    m_rows = t && t->active() ? t->rowCount() : 0;
    m_columnCount = int(m_fieldNos.size());
    m_currentRow = t && t->active() ? t->currentRow() : -1;
    ++m_resets;
    endResetModel();
}

void TableModel::repaintRow(int row) {
    if (row < 0 || row >= m_rows || m_columnCount == 0)
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, m_columnCount - 1));
    Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

void TableModel::onCurrentChanged() {
    const engine::Table* t = m_binding.table();
    const int now = t && t->active() ? t->currentRow() : -1;
    const int before = m_currentRow;
    m_currentRow = now;
    repaintRow(before);
    if (now != before)
        repaintRow(now);
}

void TableModel::onStateChanged() {
    repaintRow(m_currentRow);
}

int TableModel::fieldNoAt(int column) const {
    if (column < 0 || column >= int(m_fieldNos.size()))
        return -1;
    return m_fieldNos[std::size_t(column)];
}

GridColumn TableModel::column(int column) const {
    if (!m_columns.isEmpty())
        return column >= 0 && column < m_columns.size() ? m_columns[column] : GridColumn();
    GridColumn c;
    if (const engine::Field* f = fieldAt(column))
        c.fieldName = f->fieldName();
    return c;
}

engine::Field* TableModel::fieldAt(int column) const {
    const engine::Table* t = m_binding.table();
    const int no = fieldNoAt(column);
    if (!t || !t->active() || no < 0 || no >= t->fieldCount())
        return nullptr;
    return t->fieldAt(no);
}

int TableModel::columnOfField(const QString& name) const {
    for (int c = 0; c < m_columnCount; ++c) {
        const GridColumn gc = column(c);
        if (!gc.isSeparator() && gc.fieldName.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

bool TableModel::isColumnEditable(int column) const {
    if (m_readOnly)
        return false;
    const engine::Field* f = fieldAt(column);
    if (!f || f->isCalculated())
        return false;
    return m_columns.isEmpty() || !m_columns[column].readOnly;
}

QVariant TableModel::fieldValue(int row, const QString& fieldName) const {
    const engine::Table* t = m_binding.table();
    if (!t || !t->active() || row < 0 || row >= t->rowCount())
        return {};
    const engine::Field* f = t->findField(fieldName);
    return f ? t->valueAt(row, f->fieldNo()) : QVariant();
}

bool TableModel::isCell(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.row() < m_rows &&
           index.column() < m_columnCount;
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!isCell(index))
        return {};
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const engine::Table* t = m_binding.table();
        const engine::Field* f = fieldAt(col);
        // While the table's controls are frozen for a bulk update its rows may already
        // differ from what this model announced; such rows read as empty.
        if (!f || index.row() >= t->rowCount())
            return {};
        const QVariant value = t->valueAt(index.row(), f->fieldNo());
        return role == Qt::DisplayRole ? cellDisplayText(*f, value) : cellEditText(value);
    }
    case Qt::TextAlignmentRole: {
        const GridColumn c = column(col);
        if (c.alignment)
            return QVariant::fromValue(c.alignment | Qt::AlignVCenter);
        const engine::Field* f = fieldAt(col);
        const Qt::Alignment h = f && f->isNumber() ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(h | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole: {
        const GridColumn c = column(col);
        if (c.color.isValid())
            return QBrush(c.color);
        return {};
    }
    default:
        return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= m_columnCount)
            return {};
        const GridColumn c = column(section);
        return c.title.isEmpty() ? c.fieldName : c.title;
    }
    // The indicator column: the current record, and whether it is being edited or added.
    const engine::Table* t = m_binding.table();
    if (section != m_currentRow || !t)
        return QString();
    switch (t->state()) {
    case engine::Table::State::Edit:
        return QStringLiteral("I");
    case engine::Table::State::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral(">");
    }
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!isCell(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isColumnEditable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !isCell(index) || !isColumnEditable(index.column()))
        return false;
    engine::Table* t = m_binding.table();
    engine::Field* f = fieldAt(index.column());
    return platform::runGuarded([&] {
        if (t->currentRow() != index.row())
            t->moveToRow(index.row());
        if (!t->editing())
            t->edit();
        f->setText(value.toString());
    });
}

} // namespace jt::dbcontrols

// A table's indexes: their definitions beside the table, and the order of the one in use.
#include "Table.h"
#include "TableLock.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace jt::engine {

int Table::indexDefPosition(const QString& name) const {
    for (std::size_t i = 0; i < m_indexDefs.size(); ++i)
        if (m_indexDefs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
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
    m_order.setIndex(field, descending);
    buildOrder();
    if (bookmarkValid(mark))
        gotoBookmark(mark);
    else
        first();
    notifyData();
}

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
    // Another user's order would stop matching the definitions under them, so a change
    // of indexes needs the table to oneself: a closed handle takes sole use for the
    // moment of the change.
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

} // namespace jt::engine

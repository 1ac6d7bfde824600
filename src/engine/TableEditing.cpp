// Editing a table's records: the edit buffer, posting, cancelling, deleting, refreshing.
#include "Table.h"

#include <algorithm>

namespace jt::engine {

void Table::requireBrowseRow() const {
    if (m_row < 0 || m_row >= m_order.size())
        throw tableError(QStringLiteral("Cannot perform this operation on an empty table"));
}

void Table::checkBrowseMode() {
    if (!editing())
        return;
    if (m_modified)
        post();
    else
        cancel();
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
    m_buffer = QByteArray(m_file.record(m_order.recordAt(m_row)), m_file.structure().recordLength);
    m_state = State::Edit;
    m_modified = false;
    fetch();
    notifyState();
}

void Table::insert() {
    requireActive();
    checkBrowseMode();
    openBlankRow(false);
}

void Table::append() {
    requireActive();
    checkBrowseMode();
    openBlankRow(true);
}

// A blank record at the current row or after the last; it reaches the file, at its end,
// when posted.
void Table::openBlankRow(bool atEnd) {
    if (m_beforeInsert)
        m_beforeInsert(*this);
    const int row = atEnd ? m_order.size() : std::max(m_row, 0);
    m_rowBeforeInsert = m_row;
    m_order.insertPending(row);
    m_row = row;
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
    if (m_beforePost)
        m_beforePost(*this);
    std::uint32_t record = 0;
    if (m_state == State::Edit) {
        record = m_order.recordAt(m_row);
        m_file.writeRecord(record, m_buffer.constData());
        if (recordVisible(record) && m_order.keepsPlace(m_file, record)) {
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
    } else {
        m_buffer[0] = kLiveFlag;
        record = m_file.appendRecord(m_buffer.constData());
    }
    m_order.removeRow(m_row);
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
        m_order.removeRow(m_row);
        m_row = std::clamp(m_rowBeforeInsert, m_order.empty() ? -1 : 0, m_order.size() - 1);
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
    if (m_beforeDelete)
        m_beforeDelete(*this);
    const std::uint32_t record = m_order.recordAt(m_row);
    QByteArray bytes(m_file.record(record), m_file.structure().recordLength);
    bytes[0] = kDeletedFlag;
    m_file.writeRecord(record, bytes.constData());
    m_order.removeRow(m_row);
    if (m_row >= m_order.size())
        m_row = m_order.size() - 1;
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
        m_row = m_order.empty() ? -1 : std::clamp(row, 0, m_order.size() - 1);
        m_eof = m_bof = m_order.empty();
        fetch();
    }
    notifyData();
}

} // namespace jt::engine

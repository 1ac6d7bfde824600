#pragma once

#include "engine/DataSource.h"
#include "engine/Table.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <functional>
#include <utility>

namespace jt::dbcontrols {

// The table a control shows, followed through its data source. Whenever the source is
// set, or switches to another table, the connections made to the old table are
// dropped and the owner is called back to connect its own slots to the new one (also
// when there is none, so that it can show the change).
//
// A control that holds typed text before it reaches the record (a grid, an edit box)
// gives its writer, and is then the record editor (RecordLink.h) of whichever table it
// is bound to.
class TableBinding final {
    Q_DISABLE_COPY_MOVE(TableBinding)

public:
    // `owner` is the control: the receiver of every connection made here, so none
    // outlives it.
    TableBinding(QObject* owner, std::function<void()> bound,
                 std::function<bool()> recordWriter = {});
    ~TableBinding();

    void setDataSource(engine::DataSource* source);
    engine::DataSource* dataSource() const { return m_source; }
    engine::Table* table() const { return m_table; }

    // Reads the source's table again and calls the owner back.
    void rebind();

    // For the owner's callback: connects a signal of the bound table to `slot` until the
    // next switch. Nothing happens without a table.
    template <typename Signal, typename Slot> void connect(Signal signal, Slot slot) {
        if (m_table)
            m_tableConnections << QObject::connect(m_table.data(), signal, m_owner,
                                                   std::move(slot));
    }

private:
    void leaveTable();

    QObject* m_owner;
    std::function<void()> m_bound;
    std::function<bool()> m_recordWriter;
    QPointer<engine::DataSource> m_source;
    QPointer<engine::Table> m_table;
    QMetaObject::Connection m_sourceConnection;
    QList<QMetaObject::Connection> m_tableConnections;
};

} // namespace jt::dbcontrols

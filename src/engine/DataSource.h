#pragma once

#include "Table.h"

#include <QObject>
#include <QPointer>

namespace jt::engine {

// The link through which grids, edit boxes and navigators bind to a table.
class DataSource final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataSource)

public:
    explicit DataSource(QObject* parent = nullptr) : QObject(parent) {}

    Table* dataSet() const { return m_table.data(); }
    void setDataSet(Table* table) {
        if (m_table == table)
            return;
        m_table = table;
        Q_EMIT dataSetChanged();
    }

Q_SIGNALS:
    void dataSetChanged();

private:
    // Follows the table's life: a source never points at a table that is gone.
    QPointer<Table> m_table;
};

} // namespace jt::engine

#pragma once

#include <QObject>

namespace jt::engine {

class Table;

// The link through which grids, edit boxes and navigators bind to a table.
class DataSource final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataSource)

public:
    explicit DataSource(QObject* parent = nullptr) : QObject(parent) {}

    Table* dataSet() const { return m_table; }
    void setDataSet(Table* table) {
        if (m_table == table)
            return;
        m_table = table;
        Q_EMIT dataSetChanged();
    }

Q_SIGNALS:
    void dataSetChanged();

private:
    Table* m_table = nullptr;
};

} // namespace jt::engine

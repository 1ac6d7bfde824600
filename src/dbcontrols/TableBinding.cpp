#include "TableBinding.h"

#include "RecordLink.h"

namespace jt::dbcontrols {

TableBinding::TableBinding(QObject* owner, std::function<void()> bound,
                           std::function<bool()> recordWriter)
    : m_owner(owner), m_bound(std::move(bound)), m_recordWriter(std::move(recordWriter)) {}

TableBinding::~TableBinding() {
    // The owner's slots capture the owner, which is being torn down around this.
    QObject::disconnect(m_sourceConnection);
    leaveTable();
}

void TableBinding::setDataSource(engine::DataSource* source) {
    if (m_source == source)
        return;
    QObject::disconnect(m_sourceConnection);
    m_source = source;
    if (m_source)
        m_sourceConnection = QObject::connect(m_source, &engine::DataSource::dataSetChanged,
                                              m_owner, [this] { rebind(); });
    rebind();
}

void TableBinding::rebind() {
    leaveTable();
    m_table = m_source ? m_source->dataSet() : nullptr;
    if (m_table && m_recordWriter)
        registerRecordEditor(m_table, m_owner, m_recordWriter);
    m_bound();
}

void TableBinding::leaveTable() {
    for (const auto& c : std::as_const(m_tableConnections))
        QObject::disconnect(c);
    m_tableConnections.clear();
    if (m_table && m_recordWriter)
        unregisterRecordEditor(m_table, m_owner);
}

} // namespace jt::dbcontrols

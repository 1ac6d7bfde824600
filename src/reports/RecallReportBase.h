#pragma once

#include "InfoFields.h"
#include "TitledReport.h"

namespace jt::reports {

// The recall report's layout for three or five adjudicators: the adjudicators' names
// over their grid columns, then one row per dancer with the tie mark, the position, the
// number, each adjudicator's first grid points and the recall total.
class RecallReportBase : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecallReportBase)

public:
    RecallReportBase(const QString& className, const QString& objectName, int adjudicators,
                     QObject* parent);
    ~RecallReportBase() override;

    int adjudicators() const { return m_adjudicators; }
    // Binds the adjudicator names to the info table.
    void bindInfo(engine::Table* info) const { m_info.bind(info); }

private:
    int m_adjudicators;
    InfoFields m_info;
};

} // namespace jt::reports

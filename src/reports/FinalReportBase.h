#pragma once

#include "InfoFields.h"
#include "TitledReport.h"

namespace jt::reports {

// The final marks report's landscape layout for three or five adjudicators and two or
// three rounds: a block for position and number, one block per adjudicator with the
// raw marks of each round, the set-dance mark and the final grid points, and a block
// for the grid total, the blocks divided by vertical lines.
class FinalReportBase : public TitledReport {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FinalReportBase)

public:
    FinalReportBase(const QString& className, const QString& objectName, int adjudicators,
                    int rounds, QObject* parent);
    ~FinalReportBase() override;

    int adjudicators() const { return m_adjudicators; }
    int rounds() const { return m_rounds; }
    // Binds the adjudicator names to the info table.
    void bindInfo(engine::Table* info) const { m_info.bind(info); }

    render::Item* TitleNote = nullptr;

private:
    int m_adjudicators;
    int m_rounds;
    InfoFields m_info;
};

// What the position cell prints: POSITION in general format while the grid total is
// above 0, "-.-" for the dancers who were not placed.
inline const QString kNoPlace = QStringLiteral("-.-");

} // namespace jt::reports

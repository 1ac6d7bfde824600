#include "ResultsCheck.h"

#include "RecordLayouts.h"
#include "engine/DbfFile.h"
#include "engine/Table.h"

namespace jt::data {
namespace {

const QStringList kRounds{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                          QStringLiteral("SET")};

} // namespace

OpenForLook::OpenForLook(engine::Table& table) : m_table(table), m_opened(!table.active()) {
    if (m_opened)
        m_table.open();
}

OpenForLook::~OpenForLook() {
    if (m_opened) {
        try {
            m_table.close();
        } catch (...) {
        }
    }
}

QString StrayMark::text(const QString& table) const {
    const QString missing =
        noSuchAdjudicator ? QStringLiteral("adjudicator ") + field[0] : QStringLiteral("round 3");
    return QStringLiteral("%1: record %2 holds %3 in %4, but the competition has no %5; the "
                          "scoring counts it")
        .arg(table)
        .arg(record)
        .arg(engine::shortestNumberText(mark), field, missing);
}

std::vector<StrayMark> strayMarks(engine::Table& results, const QString& numAdjs,
                                  const QString& numRounds) {
    const bool threeAdjudicators = numAdjs.trimmed() == QLatin1String("3");
    const bool twoRounds = numRounds.trimmed() == QLatin1String("3");
    QStringList fields;
    std::vector<bool> absent;
    for (const char letter : kAdjudicatorLetters) {
        const bool noSuchAdjudicator = threeAdjudicators && letter > 'C';
        for (const QString& round : kRounds) {
            if (noSuchAdjudicator || (twoRounds && round == QLatin1String("3"))) {
                fields << QLatin1Char(letter) + round;
                absent.push_back(noSuchAdjudicator);
            }
        }
    }
    std::vector<StrayMark> found;
    if (fields.isEmpty())
        return found;
    OpenForLook look(results);
    std::vector<int> fieldNos;
    for (const QString& f : fields)
        fieldNos.push_back(results.fieldByName(f)->fieldNo());
    for (int row = 0; row < results.rowCount(); ++row) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QVariant v = results.valueAt(row, fieldNos[std::size_t(i)]);
            if (v.isValid() && v.toDouble() != 0)
                found.push_back({std::uint32_t(results.bookmarkAt(row) + 1), fields[i],
                                 v.toDouble(), absent[std::size_t(i)]});
        }
    }
    return found;
}

QStringList resultsWarnings(engine::Table& results, const QString& numAdjs,
                            const QString& numRounds) {
    OpenForLook look(results);
    QStringList warnings;
    if (const std::uint32_t uncounted = results.uncountedRecords())
        warnings << engine::uncountedRecordsText(results.tableName(), uncounted);
    for (const StrayMark& m : strayMarks(results, numAdjs, numRounds))
        warnings << m.text(results.tableName());
    return warnings;
}

} // namespace jt::data

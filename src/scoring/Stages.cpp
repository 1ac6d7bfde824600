#include "Stages.h"

#include "GridPasses.h"
#include "TablePass.h"
#include "data/RecordLayouts.h"
#include "engine/Table.h"

#include <array>

namespace jt::scoring {
namespace {

using engine::Field;
using engine::Table;

constexpr std::size_t kLetters = std::size(data::kAdjudicatorLetters);

QString field(char letter, const char* suffix) {
    return QLatin1Char(letter) + QLatin1String(suffix);
}

QString indexName(char letter) {
    return QStringLiteral("adj") + QLatin1Char(char(letter - 'A' + 'a')) + QStringLiteral("sub");
}

// The same field of every adjudicator, looked up once the pass has opened the table.
std::array<Field*, kLetters> perAdjudicator(const Table& table, const char* suffix) {
    std::array<Field*, kLetters> fields{};
    for (std::size_t i = 0; i < kLetters; ++i)
        fields[i] = table.fieldByName(field(data::kAdjudicatorLetters[i], suffix));
    return fields;
}

void forEachRecord(Table& table, const std::function<void()>& update) {
    while (!table.eof()) {
        table.edit();
        update();
        table.post();
        table.next();
    }
}

void writeGridTotal(Table& results, const char* gridSuffix, const QString& totalField) {
    runRecordOrderPass(results, [&] {
        const auto grid = perAdjudicator(results, gridSuffix);
        Field* total = results.fieldByName(totalField);
        forEachRecord(results, [&] {
            double sum = 0.0;
            for (const Field* points : grid)
                sum += points->asFloat();
            total->setAsFloat(sum);
        });
    });
}

} // namespace

void IntermediateGrid1Click(Table& results) {
    runRecordOrderPass(results, [&] {
        const auto round1 = perAdjudicator(results, "1");
        const auto round2 = perAdjudicator(results, "2");
        const auto round3 = perAdjudicator(results, "3");
        const auto subtotal = perAdjudicator(results, "SUBTOTAL");
        forEachRecord(results, [&] {
            for (std::size_t i = 0; i < kLetters; ++i)
                subtotal[i]->setAsFloat(round1[i]->asFloat() + round2[i]->asFloat() +
                                        round3[i]->asFloat());
        });
    });
    for (const char letter : data::kAdjudicatorLetters)
        RankGrid(results, field(letter, "SUBTOTAL"), field(letter, "GRID1"), indexName(letter));
    writeGridTotal(results, "GRID1", QStringLiteral("RECALLTTL"));
    MarkTies(results, QStringLiteral("RECALLTTL"), QStringLiteral("RECALLCHAR"));
}

void FinalGrid1Click(Table& results) {
    runRecordOrderPass(results, [&] {
        const auto subtotal = perAdjudicator(results, "SUBTOTAL");
        const auto set = perAdjudicator(results, "SET");
        const auto total = perAdjudicator(results, "TOTAL");
        forEachRecord(results, [&] {
            for (std::size_t i = 0; i < kLetters; ++i) {
                // A set-dance mark of 0 means the dancer did not dance the set.
                const double setMark = set[i]->asFloat();
                total[i]->setAsFloat(setMark > 0 ? subtotal[i]->asFloat() + setMark : 0.0);
            }
        });
    });
    for (const char letter : data::kAdjudicatorLetters)
        RankGrid(results, field(letter, "TOTAL"), field(letter, "GRID2"), indexName(letter));
    writeGridTotal(results, "GRID2", QStringLiteral("GRIDTOTAL"));
    MarkTies(results, QStringLiteral("GRIDTOTAL"), QStringLiteral("FINALCHAR"));
}

} // namespace jt::scoring

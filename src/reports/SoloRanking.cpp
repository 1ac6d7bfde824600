#include "SoloRanking.h"

#include "ReportTexts.h"
#include "engine/Field.h"
#include "engine/Table.h"

#include <cmath>
#include <cstdint>

namespace jt::reports {
SoloLists soloDialogLists(const engine::Table& info, int rememberedAdjudicator,
                          int rememberedRound) {
    const QString numAdjs = infoText(info, QStringLiteral("NUMADJS")).trimmed();
    const QString numRounds = infoText(info, QStringLiteral("NUMROUNDS")).trimmed();
    SoloLists lists;
    const QString letters =
        numAdjs == QLatin1String("5") ? QStringLiteral("ABCDE") : QStringLiteral("ABC");
    for (const QChar x : letters)
        lists.adjudicators << infoText(info, QStringLiteral("ADJ%1NAME").arg(x));
    lists.rounds << infoText(info, QStringLiteral("RD1TITLE"))
                 << infoText(info, QStringLiteral("RD2TITLE"));
    if (numRounds == QLatin1String("4"))
        lists.rounds << infoText(info, QStringLiteral("RD3TITLE"));
    lists.rounds << infoText(info, QStringLiteral("RD4TITLE"));

    lists.adjudicator =
        rememberedAdjudicator < 3 || numAdjs != QLatin1String("3") ? rememberedAdjudicator : 2;
    lists.round = rememberedRound > 2 && numRounds == QLatin1String("3") ? 2 : rememberedRound;
    return lists;
}

QString soloMarkField(int adjudicator, int round, const QString& numRounds) {
    const bool threeRounds = numRounds.trimmed() == QLatin1String("4");
    QString suffix;
    if (round == 0)
        suffix = QStringLiteral("1");
    else if (round == 1)
        suffix = QStringLiteral("2");
    else if (round == 2 && threeRounds)
        suffix = QStringLiteral("3");
    else
        suffix = QStringLiteral("Set");
    const QString letters = QStringLiteral("ABCD");
    const QChar letter =
        adjudicator >= 0 && adjudicator < 4 ? letters[adjudicator] : QLatin1Char('E');
    return letter + suffix;
}

void rankSolo(engine::Table& table, const QString& markField) {
    const engine::Field* mark = table.fieldByName(markField);
    engine::Field* soloChar = table.fieldByName(QStringLiteral("SOLOCHAR"));
    engine::Field* soloPosn = table.fieldByName(QStringLiteral("SOLOPOSN"));

    for (table.first(); !table.eof(); table.next()) {
        table.edit();
        soloChar->clear();
        soloPosn->clear();
        table.post();
    }

    // Equal marks are equal at four decimal places, as the scoring compares them; an
    // empty mark reads as 0, so dancers without one tie with each other.
    const auto markAt = [&table, mark](int row) {
        return std::llround(table.valueAt(row, mark->fieldNo()).toDouble() * 10000.0);
    };
    const int rows = table.rowCount();
    for (table.first(); !table.eof(); table.next()) {
        const int row = table.currentRow();
        const std::int64_t m = markAt(row);
        const bool sameAsPrevious = row > 0 && markAt(row - 1) == m;
        const bool sameAsNext = row + 1 < rows && markAt(row + 1) == m;
        if (!sameAsPrevious && !sameAsNext)
            continue;
        table.edit();
        soloChar->setAsString(sameAsPrevious ? QStringLiteral("=") : QStringLiteral("T"));
        table.post();
    }

    int p = 1;
    int groupPosition = 1;
    for (table.first(); !table.eof(); table.next()) {
        if (soloChar->asString() != QLatin1String("="))
            groupPosition = p;
        table.edit();
        soloPosn->setAsInteger(groupPosition);
        table.post();
        ++p;
    }
    table.first();
}

} // namespace jt::reports

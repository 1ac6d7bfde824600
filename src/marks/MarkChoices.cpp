#include "MarkChoices.h"

namespace jt::marks {

std::optional<int> storedAdjudicators(const QString& numAdjs) {
    const QString v = numAdjs.trimmed();
    if (v == QLatin1String("5"))
        return 5;
    if (v == QLatin1String("3"))
        return 3;
    return std::nullopt;
}

std::optional<int> storedRounds(const QString& numRounds) {
    const QString v = numRounds.trimmed();
    if (v == QLatin1String("4"))
        return 3;
    if (v == QLatin1String("3"))
        return 2;
    return std::nullopt;
}

QStringList adjudicatorItems(int adjudicators) {
    QStringList items{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    if (adjudicators == 5)
        items << QStringLiteral("D") << QStringLiteral("E");
    return items;
}

QStringList roundItems(int rounds) {
    QStringList items{QStringLiteral("1"), QStringLiteral("2")};
    if (rounds == 3)
        items << QStringLiteral("3");
    items << QStringLiteral("Set");
    return items;
}

MarkChoice markChoice(int adjudicatorItem, int roundItem, int rounds) {
    const int adjudicators = 5;
    const int roundCount = rounds == 3 ? 4 : 3;
    if (adjudicatorItem < 0 || adjudicatorItem >= adjudicators || roundItem < 0 ||
        roundItem >= roundCount)
        return {};
    const QChar letter(QLatin1Char(char('A' + adjudicatorItem)));
    // The last item is always the set dance, whether it stands third or fourth.
    const bool set = roundItem == roundCount - 1;
    MarkChoice c;
    c.field = letter + (set ? QStringLiteral("SET") : QString::number(roundItem + 1));
    c.nameField = QStringLiteral("ADJ") + letter + QStringLiteral("NAME");
    c.titleField = QStringLiteral("RD%1TITLE").arg(set ? 4 : roundItem + 1);
    c.recalledOnly = set;
    return c;
}

const QStringList& markFields() {
    static const QStringList fields = [] {
        QStringList f;
        for (const char letter : {'A', 'B', 'C', 'D', 'E'})
            for (const char* round : {"1", "2", "3", "SET"})
                f << QLatin1Char(letter) + QLatin1String(round);
        return f;
    }();
    return fields;
}

bool isMarkField(const QString& field) {
    return markFields().contains(field, Qt::CaseInsensitive);
}

} // namespace jt::marks

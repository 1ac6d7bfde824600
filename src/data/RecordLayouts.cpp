#include "RecordLayouts.h"

#include <QHash>

namespace jt::data {
namespace {

using engine::FieldDef;
using engine::FieldDefs;
using engine::FieldType;

// Marks, subtotals and totals keep four decimals, the places at which the scoring
// compares them. Points and point totals keep eight, so that a share such as 200/3
// adds up again to a value that agrees with its exact sum at four places.
FieldDef mark(const QString& name) {
    return {name, FieldType::Numeric, 10, 4};
}
FieldDef points(const QString& name) {
    return {name, FieldType::Numeric, 18, 8};
}
FieldDef whole(const QString& name, int width) {
    return {name, FieldType::Numeric, width, 0};
}
FieldDef text(const QString& name, int width) {
    return {name, FieldType::Character, width, 0};
}

FieldDefs buildResults() {
    FieldDefs f;
    f.push_back(whole(QStringLiteral("SEQUENCE"), 5));
    f.push_back(whole(QStringLiteral("COMP_NO"), 6));
    f.push_back(text(QStringLiteral("NAME"), 40));
    f.push_back(text(QStringLiteral("SCHOOL"), 40));
    for (const char letter : kAdjudicatorLetters) {
        const QString x(QLatin1Char{letter});
        f.push_back(mark(x + QLatin1Char('1')));
        f.push_back(mark(x + QLatin1Char('2')));
        f.push_back(mark(x + QLatin1Char('3')));
        f.push_back(mark(x + QStringLiteral("SUBTOTAL")));
        f.push_back(points(x + QStringLiteral("GRID1")));
        f.push_back(mark(x + QStringLiteral("SET")));
        f.push_back(mark(x + QStringLiteral("TOTAL")));
        f.push_back(points(x + QStringLiteral("GRID2")));
    }
    f.push_back(points(QStringLiteral("RECALLTTL")));
    f.push_back(points(QStringLiteral("RECALLTIE")));
    f.push_back(text(QStringLiteral("RECALLCHAR"), 1));
    f.push_back(points(QStringLiteral("GRIDTOTAL")));
    f.push_back(whole(QStringLiteral("POSITION"), 5));
    f.push_back(points(QStringLiteral("FINALTIE")));
    f.push_back(text(QStringLiteral("FINALCHAR"), 1));
    f.push_back({QStringLiteral("RECALLED"), FieldType::Logical, 1, 0});
    f.push_back(whole(QStringLiteral("SOLOPOSN"), 5));
    f.push_back(text(QStringLiteral("SOLOCHAR"), 1));
    f.push_back(points(QStringLiteral("QUALGRID")));
    f.push_back(text(QStringLiteral("QUALIFIER"), 1));
    return f;
}

FieldDefs buildCompInfo() {
    FieldDefs f;
    f.push_back(text(QStringLiteral("COMPNO"), 3));
    f.push_back(text(QStringLiteral("COMPNAME"), 40));
    f.push_back(text(QStringLiteral("NUMADJS"), 1));
    for (const char letter : kAdjudicatorLetters) {
        const QString x(QLatin1Char{letter});
        f.push_back(text(QStringLiteral("ADJ") + x + QStringLiteral("NAME"), 30));
        f.push_back(text(QStringLiteral("ADJ") + x + QStringLiteral("FROM"), 30));
    }
    f.push_back(text(QStringLiteral("NUMROUNDS"), 1));
    for (int round = 1; round <= 4; ++round)
        f.push_back(text(QStringLiteral("RD%1TITLE").arg(round), 20));
    return f;
}

QHash<QString, QString> buildFormats() {
    QHash<QString, QString> formats;
    const QString hashes = QStringLiteral("#.##");
    const QString zero = QStringLiteral("0.##");
    for (const char letter : kAdjudicatorLetters) {
        const QString x(QLatin1Char{letter});
        formats.insert(x + QLatin1Char('1'), hashes);
        formats.insert(x + QLatin1Char('2'), hashes);
        // Only adjudicator A's subtotal hides a zero.
        formats.insert(x + QStringLiteral("SUBTOTAL"), letter == 'A' ? hashes : zero);
        formats.insert(x + QStringLiteral("GRID1"), zero);
        formats.insert(x + QStringLiteral("SET"), zero);
        formats.insert(x + QStringLiteral("TOTAL"), zero);
        formats.insert(x + QStringLiteral("GRID2"), zero);
    }
    formats.insert(QStringLiteral("RECALLTTL"), zero);
    formats.insert(QStringLiteral("GRIDTOTAL"), zero);
    return formats;
}

} // namespace

const FieldDefs& resultsFields() {
    static const FieldDefs fields = buildResults();
    return fields;
}

const FieldDefs& compInfoFields() {
    static const FieldDefs fields = buildCompInfo();
    return fields;
}

QString resultsDisplayFormat(const QString& fieldName) {
    static const QHash<QString, QString> formats = buildFormats();
    return formats.value(fieldName.toUpper());
}

} // namespace jt::data

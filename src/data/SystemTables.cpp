#include "SystemTables.h"

#include "RecordLayouts.h"
#include "engine/Table.h"

#include <QDir>

#include <optional>

namespace jt::data {
namespace {

using engine::Table;

void createAt(Table& table, const QString& path, const engine::FieldDefs& fields) {
    table.setDatabaseName(QString());
    table.setTableName(path);
    table.createTable(fields);
}

void writeInfo(const QString& path, const QList<std::pair<const char*, QString>>& values) {
    Table info;
    createAt(info, path, compInfoFields());
    info.setExclusive(true);
    info.open();
    info.append();
    for (const auto& [field, value] : values)
        info.fieldByName(QLatin1String(field))->setAsString(value);
    info.post();
    info.close();
}

struct ExampleDancer {
    int comp;
    const char* name;
    const char* school;
    // Rounds 1 and 2 of adjudicators A, B, C, then the set dance of A, B, C (0: not danced).
    std::optional<std::array<double, 6>> rounds;
    std::array<double, 3> set;
};

} // namespace

void writeTemplateTables(const QString& folder) {
    Table results;
    createAt(results, QDir(folder).filePath(QStringLiteral("template.DBF")), resultsFields());
    writeInfo(QDir(folder).filePath(QStringLiteral("template_inf.dbf")),
              {{"RD1TITLE", QStringLiteral("Round 1")},
               {"RD2TITLE", QStringLiteral("Round 2")},
               {"RD3TITLE", QStringLiteral("Round 3")},
               {"RD4TITLE", QStringLiteral("Set Dance")}});
}

void writeExampleCompetition(const QString& folder) {
    writeInfo(QDir(folder).filePath(QStringLiteral("example_inf.dbf")),
              {{"COMPNO", QStringLiteral("12")},
               {"COMPNAME", QStringLiteral("Under 12 Girls Championship")},
               {"NUMADJS", QStringLiteral("3")},
               {"ADJANAME", QStringLiteral("Mary Kelly")},
               {"ADJAFROM", QStringLiteral("Dublin")},
               {"ADJBNAME", QStringLiteral("Seán Ó Briain")},
               {"ADJBFROM", QStringLiteral("Galway")},
               {"ADJCNAME", QStringLiteral("Niamh Walsh")},
               {"ADJCFROM", QStringLiteral("Cork")},
               {"NUMROUNDS", QStringLiteral("3")},
               {"RD1TITLE", QStringLiteral("Heavy")},
               {"RD2TITLE", QStringLiteral("Light")},
               {"RD3TITLE", QStringLiteral("Round 3")},
               {"RD4TITLE", QStringLiteral("Set Dance")}});

    const ExampleDancer dancers[] = {
        {101,
         "Aoife Byrne",
         "Scoil Rince Ni Bhriain",
         std::array<double, 6>{80, 82, 79, 80, 84, 80},
         {85, 80, 78}},
        {102,
         "Ciara Murphy",
         "Walsh Academy",
         std::array<double, 6>{79, 81, 80, 81, 82, 82},
         {80, 84, 82}},
        {103,
         "Róisín Doyle",
         "Doyle School of Dance",
         std::array<double, 6>{80, 78, 79, 77, 75, 76},
         {88, 83, 80}},
        {104,
         "Emma Kennedy",
         "Walsh Academy",
         std::array<double, 6>{70, 72, 70, 70, 77, 74},
         {0, 0, 0}},
        {105, "Saoirse Ryan", "Scoil Rince Ni Bhriain", std::nullopt, {0, 0, 0}},
    };
    Table results;
    createAt(results, QDir(folder).filePath(QStringLiteral("example.dbf")), resultsFields());
    results.setExclusive(true);
    results.open();
    int sequence = 0;
    for (const ExampleDancer& d : dancers) {
        results.append();
        results.fieldByName(QStringLiteral("SEQUENCE"))->setAsInteger(++sequence);
        results.fieldByName(QStringLiteral("COMP_NO"))->setAsInteger(d.comp);
        results.fieldByName(QStringLiteral("NAME"))->setAsString(QString::fromUtf8(d.name));
        results.fieldByName(QStringLiteral("SCHOOL"))->setAsString(QString::fromUtf8(d.school));
        const char letters[] = {'A', 'B', 'C'};
        for (int a = 0; a < 3; ++a) {
            const QString x(QLatin1Char{letters[a]});
            if (d.rounds) {
                results.fieldByName(x + QLatin1Char('1'))
                    ->setAsFloat((*d.rounds)[std::size_t(2 * a)]);
                results.fieldByName(x + QLatin1Char('2'))
                    ->setAsFloat((*d.rounds)[std::size_t(2 * a + 1)]);
            }
            if (d.set[std::size_t(a)] > 0)
                results.fieldByName(x + QStringLiteral("SET"))->setAsFloat(d.set[std::size_t(a)]);
        }
        results.fieldByName(QStringLiteral("RECALLED"))->setAsBoolean(d.set[0] > 0);
        results.post();
    }
    results.close();
    results.setExclusive(false);
    results.addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
}

} // namespace jt::data

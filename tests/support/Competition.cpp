#include "Competition.h"

#include "engine/Table.h"
#include "platform/MachineSettings.h"

namespace jt::test {
namespace {

void openU12(engine::Table& t) {
    t.setDatabaseName(data::TDataModule1::kAlias);
    t.setTableName(QStringLiteral("u12.dbf"));
    t.open();
}

} // namespace

Competition::Competition(const QString& alias) : folder(alias) {
    folder.addSystemTables();
    platform::setMachineSettingsFile(settingsFile());
}

Competition::~Competition() = default;

std::unique_ptr<Competition> Competition::closedOnU12() {
    auto c = std::make_unique<Competition>();
    c->addCompetition();
    c->addModule().results->setTableName(QStringLiteral("u12.dbf"));
    return c;
}

std::unique_ptr<Competition> Competition::withDancers(int dancers, const QList<double>& a1Marks) {
    auto c = closedOnU12();
    data::TDataModule1& m = c->module();
    m.results->open();
    for (int i = 0; i < dancers; ++i) {
        m.results->append();
        m.resultsCOMP_NO->setAsInteger(101 + i);
        m.resultsSEQUENCE->setAsInteger(dancers - i);
        m.resultsNAME->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
        if (i < a1Marks.size())
            m.resultsA1->setAsFloat(a1Marks[i]);
        m.results->post();
    }
    m.results->first();
    return c;
}

data::TDataModule1& Competition::addModule() {
    state.DataModule1 = std::make_unique<data::TDataModule1>(state);
    return *state.DataModule1;
}

void Competition::addCompetition(const QString& name) const {
    folder.addCompetition(name);
}

QVariant Competition::stored(int record, const QString& field) const {
    engine::Table t;
    openU12(t);
    if (record >= t.rowCount())
        return QStringLiteral("<no record %1>").arg(record);
    return t.valueAt(record, t.fieldByName(field)->fieldNo());
}

int Competition::storedCount() const {
    engine::Table t;
    openU12(t);
    return t.rowCount();
}

} // namespace jt::test

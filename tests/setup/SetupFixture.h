#pragma once

#include "data/DataModule.h"
#include "engine/Table.h"
#include "support/Competition.h"

#include <QVariant>

namespace jt::test {

// Competition u12 selected as the program selects one: the info table open, the results
// table named and closed, and the state's data folder set.
struct SetupFixture : Competition {
    SetupFixture() {
        addCompetition();
        state.DataFolder = folder.path();
        data::TDataModule1& m = addModule();
        m.compinfo->setTableName(QStringLiteral("u12_inf.dbf"));
        m.compinfo->open();
        m.results->setTableName(QStringLiteral("u12.dbf"));
    }
    data::TDataModule1& dm() const { return module(); }

    // What the info file holds, read through a handle of its own.
    static QString storedInfo(const QString& field) {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("u12_inf.dbf"));
        t.open();
        return t.rowCount() == 0 ? QStringLiteral("<no record>")
                                 : t.valueAt(0, t.fieldByName(field)->fieldNo()).toString();
    }
    // Writes the info record behind the window's back, as another user would, and has
    // the open table read it again.
    void storeInfo(const QString& field, const QString& value) {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("u12_inf.dbf"));
        t.open();
        t.edit();
        t.fieldByName(field)->setAsString(value);
        t.post();
        t.close();
        dm().compinfo->refresh();
    }
};

} // namespace jt::test

#pragma once

#include "data/DataModule.h"
#include "data/ProgramState.h"
#include "engine/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDataFolder.h"

#include <QVariant>

#include <memory>

namespace jt::test {

// A competition u12 made from the templates in a temporary data folder, selected as
// the program selects one: the info table open, the results table named and closed.
// Dialogs are answered by script.
struct SetupFixture {
    TempDataFolder folder;
    ScriptedDialogs dialogs;
    ProgramState state;

    SetupFixture() {
        folder.addSystemTables();
        folder.addCompetition(QStringLiteral("u12"));
        state.DataFolder = folder.path();
        state.DataModule1 = std::make_unique<data::TDataModule1>(state);
        dm().compinfo->setTableName(QStringLiteral("u12_inf.dbf"));
        dm().compinfo->open();
        dm().results->setTableName(QStringLiteral("u12.dbf"));
    }
    data::TDataModule1& dm() const { return *state.DataModule1; }

    // What the file holds, read through a handle of its own.
    static QVariant storedIn(const QString& table, int record, const QString& field) {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(table);
        t.open();
        if (record >= t.rowCount())
            return QStringLiteral("<no record %1>").arg(record);
        return t.valueAt(record, t.fieldByName(field)->fieldNo());
    }
    static QString storedInfo(const QString& field) {
        return storedIn(QStringLiteral("u12_inf.dbf"), 0, field).toString();
    }
    static int storedDancers() {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("u12.dbf"));
        t.open();
        return t.rowCount();
    }
    // Writes the info record behind the window's back, as another program would, and
    // has the open table read it again.
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

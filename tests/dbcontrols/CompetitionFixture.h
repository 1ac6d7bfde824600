#pragma once

#include "data/ProgramState.h"
#include "engine/Table.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDataFolder.h"

#include <QApplication>
#include <QTest>
#include <QVariant>

namespace jt::test {

// A competition u12 in a temporary data folder, opened through the data module, with
// some dancers numbered 101, 102, ... and, where given, round 1 marks for A.
struct Competition {
    TempDataFolder folder;
    ScriptedDialogs dialogs;
    ProgramState state;
    data::TDataModule1 module{state};
    engine::Table* results = nullptr;

    explicit Competition(int dancers, const QList<double>& a1Marks = {}) {
        folder.addSystemTables();
        folder.addCompetition(QStringLiteral("u12"));
        results = module.results;
        results->setTableName(QStringLiteral("u12.dbf"));
        results->open();
        for (int i = 0; i < dancers; ++i) {
            results->append();
            module.resultsCOMP_NO->setAsInteger(101 + i);
            module.resultsSEQUENCE->setAsInteger(dancers - i);
            module.resultsNAME->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
            if (i < a1Marks.size())
                module.resultsA1->setAsFloat(a1Marks[i]);
            results->post();
        }
        results->first();
    }

    // What the file holds for a record (in entry order), read through a handle of its own.
    QVariant stored(int record, const QString& field) const {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("u12.dbf"));
        t.open();
        if (record >= t.rowCount())
            return QStringLiteral("<no record %1>").arg(record);
        return t.valueAt(record, t.fieldByName(field)->fieldNo());
    }
    int storedCount() const {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("u12.dbf"));
        t.open();
        return t.rowCount();
    }
};

// Key presses go where a person's would: to the widget with the keyboard focus.
inline QWidget* focused(QWidget* fallback) {
    QWidget* w = QApplication::focusWidget();
    return w ? w : fallback;
}

} // namespace jt::test

#pragma once

#include "data/ProgramState.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "marks/TColTotal.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDataFolder.h"

#include <QApplication>
#include <QDialog>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>

namespace jt::test {

// A competition u12 in a temporary data folder, opened as Select Competition leaves it:
// the info table open with the numbers given, the results table named and closed, with
// its "seqno" index. Dancers 101, 102, ... are entered in that order and danced in the
// reverse one (SEQUENCE n, n-1, ... 1), so the two orders differ; the ones whose entry
// positions are in `recalled` are recalled.
struct MarksCompetition {
    TempDataFolder folder;
    ScriptedDialogs dialogs;
    ProgramState state;
    data::TDataModule1* module = nullptr;
    engine::Table* results = nullptr;
    std::unique_ptr<marks::TColTotal> totals;

    MarksCompetition(int dancers, const QString& numAdjs, const QString& numRounds,
                     const QSet<int>& recalled = {}) {
        folder.addSystemTables();
        folder.addCompetition(QStringLiteral("u12"));
        state.DataModule1 = std::make_unique<data::TDataModule1>(state);
        module = state.DataModule1.get();
        results = module->results;
        results->setTableName(QStringLiteral("u12.dbf"));
        results->addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
        results->open();
        for (int i = 0; i < dancers; ++i) {
            results->append();
            module->resultsCOMP_NO->setAsInteger(101 + i);
            module->resultsSEQUENCE->setAsInteger(dancers - i);
            module->resultsNAME->setAsString(QStringLiteral("Dancer %1").arg(i + 1));
            module->resultsRECALLED->setAsBoolean(recalled.contains(i));
            results->post();
        }
        results->close();

        engine::Table* info = module->compinfo;
        info->setTableName(QStringLiteral("u12_inf.dbf"));
        info->open();
        info->edit();
        module->compinfoNUMADJS->setAsString(numAdjs);
        module->compinfoNUMROUNDS->setAsString(numRounds);
        const char* const letters[] = {"A", "B", "C", "D", "E"};
        for (const char* l : letters)
            info->fieldByName(QStringLiteral("ADJ%1NAME").arg(QLatin1String(l)))
                ->setAsString(QStringLiteral("Judge %1").arg(QLatin1String(l)));
        module->compinfoRD1TITLE->setAsString(QStringLiteral("Heavy"));
        module->compinfoRD2TITLE->setAsString(QStringLiteral("Light"));
        module->compinfoRD3TITLE->setAsString(QStringLiteral("Hornpipe"));
        module->compinfoRD4TITLE->setAsString(QStringLiteral("Set Dance"));
        info->post();
        state.ReCalcFlag = false;
        totals = std::make_unique<marks::TColTotal>(state);
    }
    ~MarksCompetition() {
        totals.reset();
        state.DataModule1.reset();
    }

    QString path() const { return folder.filePath(QStringLiteral("u12.dbf")); }

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
    // The competitor numbers the results table lists now, in its current order.
    QList<int> listed() const {
        QList<int> numbers;
        for (int row = 0; row < results->rowCount(); ++row)
            numbers << results->valueAt(row, module->resultsCOMP_NO->fieldNo()).toInt();
        return numbers;
    }
    // Entry order, unfiltered, first dancer current: how every window leaves the table.
    bool leftUnrestrictedInEntryOrder() const {
        return results->indexName().isEmpty() && !results->filtered() &&
               results->filter().isEmpty() && results->currentRow() == 0;
    }
};

// Shows a window as the main window's command does, without a nested event loop, and
// makes it the active window so keys reach its focused control.
inline bool openWindow(QDialog& window) {
    window.show();
    if (!window.isVisible())
        return false;
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        return false;
    QCoreApplication::processEvents();
    return true;
}

// Key presses go where a person's would: to the widget with the keyboard focus.
inline QWidget* focused(QWidget* fallback) {
    QWidget* w = QApplication::focusWidget();
    return w ? w : fallback;
}

// Runs `whileOpen` as soon as the modal dialog that `open` shows is up, then closes it.
// False when the dialog never showed.
inline bool withModal(QDialog& dialog, const std::function<void()>& open,
                      const std::function<void()>& whileOpen) {
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        if (!dialog.isVisible() || seen)
            return;
        seen = true;
        whileOpen();
        dialog.close();
    });
    poll.start();
    open();
    return seen;
}

} // namespace jt::test

#pragma once

#include "engine/DataSource.h"
#include "engine/Field.h"
#include "engine/Table.h"

#include <QObject>

namespace jt {
class ProgramState;
}

namespace jt::data {

struct ChangeLine;

// The two tables of the open competition, their field objects and the data sources
// that controls bind to. Created once at start-up, owned by the program state, and the
// only way windows, the scoring engine and the reports reach the competition's tables.
class TDataModule1 final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDataModule1)

public:
    static inline const QString kAlias = QStringLiteral("jigtally 2008");
    static inline const QString kResultsTemplate = QStringLiteral("template.DBF");
    static inline const QString kInfoTemplate = QStringLiteral("template_inf.dbf");

    // Posts and deletes on its tables mark the state's computed results out of date.
    explicit TDataModule1(ProgramState& state, QObject* parent = nullptr);
    ~TDataModule1() override;

    engine::Table* results = nullptr;
    engine::Table* compinfo = nullptr;
    engine::DataSource* DataSource1 = nullptr;
    engine::DataSource* DataSource2 = nullptr;

    engine::Field* resultsSEQUENCE = nullptr;
    engine::Field* resultsCOMP_NO = nullptr;
    engine::Field* resultsNAME = nullptr;
    engine::Field* resultsSCHOOL = nullptr;
    engine::Field* resultsA1 = nullptr;
    engine::Field* resultsA2 = nullptr;
    engine::Field* resultsA3 = nullptr;
    engine::Field* resultsASUBTOTAL = nullptr;
    engine::Field* resultsAGRID1 = nullptr;
    engine::Field* resultsASET = nullptr;
    engine::Field* resultsATOTAL = nullptr;
    engine::Field* resultsAGRID2 = nullptr;
    engine::Field* resultsB1 = nullptr;
    engine::Field* resultsB2 = nullptr;
    engine::Field* resultsB3 = nullptr;
    engine::Field* resultsBSUBTOTAL = nullptr;
    engine::Field* resultsBGRID1 = nullptr;
    engine::Field* resultsBSET = nullptr;
    engine::Field* resultsBTOTAL = nullptr;
    engine::Field* resultsBGRID2 = nullptr;
    engine::Field* resultsC1 = nullptr;
    engine::Field* resultsC2 = nullptr;
    engine::Field* resultsC3 = nullptr;
    engine::Field* resultsCSUBTOTAL = nullptr;
    engine::Field* resultsCGRID1 = nullptr;
    engine::Field* resultsCSET = nullptr;
    engine::Field* resultsCTOTAL = nullptr;
    engine::Field* resultsCGRID2 = nullptr;
    engine::Field* resultsD1 = nullptr;
    engine::Field* resultsD2 = nullptr;
    engine::Field* resultsD3 = nullptr;
    engine::Field* resultsDSUBTOTAL = nullptr;
    engine::Field* resultsDGRID1 = nullptr;
    engine::Field* resultsDSET = nullptr;
    engine::Field* resultsDTOTAL = nullptr;
    engine::Field* resultsDGRID2 = nullptr;
    engine::Field* resultsE1 = nullptr;
    engine::Field* resultsE2 = nullptr;
    engine::Field* resultsE3 = nullptr;
    engine::Field* resultsESUBTOTAL = nullptr;
    engine::Field* resultsEGRID1 = nullptr;
    engine::Field* resultsESET = nullptr;
    engine::Field* resultsETOTAL = nullptr;
    engine::Field* resultsEGRID2 = nullptr;
    engine::Field* resultsRECALLTTL = nullptr;
    engine::Field* resultsRECALLTIE = nullptr;
    engine::Field* resultsRECALLCHAR = nullptr;
    engine::Field* resultsGRIDTOTAL = nullptr;
    engine::Field* resultsPOSITION = nullptr;
    engine::Field* resultsFINALTIE = nullptr;
    engine::Field* resultsFINALCHAR = nullptr;
    engine::Field* resultsRECALLED = nullptr;
    engine::Field* resultsSOLOPOSN = nullptr;
    engine::Field* resultsSOLOCHAR = nullptr;
    engine::Field* resultsQUALGRID = nullptr;
    engine::Field* resultsQUALIFIER = nullptr;
    engine::Field* resultsRecDancer = nullptr;

    engine::Field* compinfoCOMPNO = nullptr;
    engine::Field* compinfoCOMPNAME = nullptr;
    engine::Field* compinfoNUMADJS = nullptr;
    engine::Field* compinfoADJANAME = nullptr;
    engine::Field* compinfoADJAFROM = nullptr;
    engine::Field* compinfoADJBNAME = nullptr;
    engine::Field* compinfoADJBFROM = nullptr;
    engine::Field* compinfoADJCNAME = nullptr;
    engine::Field* compinfoADJCFROM = nullptr;
    engine::Field* compinfoADJDNAME = nullptr;
    engine::Field* compinfoADJDFROM = nullptr;
    engine::Field* compinfoADJENAME = nullptr;
    engine::Field* compinfoADJEFROM = nullptr;
    engine::Field* compinfoNUMROUNDS = nullptr;
    engine::Field* compinfoRD1TITLE = nullptr;
    engine::Field* compinfoRD2TITLE = nullptr;
    engine::Field* compinfoRD3TITLE = nullptr;
    engine::Field* compinfoRD4TITLE = nullptr;

    // Fills RecDancer: "Yes" when the dancer is recalled.
    void resultsCalcFields(engine::Table& table);
    // A new dancer starts with every field empty.
    void resultsBeforeInsert(engine::Table& table);
    // Bound to both tables: any post means the computed results may be out of date.
    void resultsAfterPost();
    // Before a post or delete on the results table: the rows of the change log for the
    // dancer's logged fields that change, written and synced first. When the log cannot
    // be written the post or delete is refused (the record stays as typed) with a
    // message that names the log.
    //
    // A table open for sole use holds its posts back until it is closed (an import), so
    // its rows are written at once but synced only as it closes, before the table is.
    void resultsBeforePost(engine::Table& table);
    void resultsBeforeDelete(engine::Table& table);
    void resultsBeforeClose(engine::Table& table);

private:
    void logChanges(const engine::Table& table, const QList<ChangeLine>& lines,
                    const QString& refused);
    void syncPendingLog();

    ProgramState& m_state;
    // The log written by sole use and not yet synced.
    QString m_unsyncedLog;
    // The rows of the post or delete under way, taken back when it turns out to have
    // failed (its table write refused): noticed at the next post, delete or close.
    struct PendingRows {
        QString path;
        qint64 from = -1;
        qint64 to = -1;
    } m_pendingRows;
    void retractFailedRows();
};

} // namespace jt::data

#include "DataModule.h"

#include "ChangeLog.h"
#include "ProgramState.h"
#include "RecordLayouts.h"
#include "platform/Dialogs.h"

#include <QDateTime>

#include <utility>

namespace jt::data {

TDataModule1::TDataModule1(ProgramState& state, QObject* parent) : QObject(parent), m_state(state) {
    results = new engine::Table(this);
    results->setObjectName(QStringLiteral("results"));
    results->setDatabaseName(kAlias);
    results->setTableName(kResultsTemplate);
    compinfo = new engine::Table(this);
    compinfo->setObjectName(QStringLiteral("compinfo"));
    compinfo->setDatabaseName(kAlias);

    DataSource1 = new engine::DataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(results);
    DataSource2 = new engine::DataSource(this);
    DataSource2->setObjectName(QStringLiteral("DataSource2"));
    DataSource2->setDataSet(compinfo);

    resultsSEQUENCE = results->declareField(QStringLiteral("SEQUENCE"));
    resultsCOMP_NO = results->declareField(QStringLiteral("COMP_NO"));
    resultsNAME = results->declareField(QStringLiteral("NAME"));
    resultsSCHOOL = results->declareField(QStringLiteral("SCHOOL"));
    resultsA1 = results->declareField(QStringLiteral("A1"));
    resultsA2 = results->declareField(QStringLiteral("A2"));
    resultsA3 = results->declareField(QStringLiteral("A3"));
    resultsASUBTOTAL = results->declareField(QStringLiteral("ASUBTOTAL"));
    resultsAGRID1 = results->declareField(QStringLiteral("AGRID1"));
    resultsASET = results->declareField(QStringLiteral("ASET"));
    resultsATOTAL = results->declareField(QStringLiteral("ATOTAL"));
    resultsAGRID2 = results->declareField(QStringLiteral("AGRID2"));
    resultsB1 = results->declareField(QStringLiteral("B1"));
    resultsB2 = results->declareField(QStringLiteral("B2"));
    resultsB3 = results->declareField(QStringLiteral("B3"));
    resultsBSUBTOTAL = results->declareField(QStringLiteral("BSUBTOTAL"));
    resultsBGRID1 = results->declareField(QStringLiteral("BGRID1"));
    resultsBSET = results->declareField(QStringLiteral("BSET"));
    resultsBTOTAL = results->declareField(QStringLiteral("BTOTAL"));
    resultsBGRID2 = results->declareField(QStringLiteral("BGRID2"));
    resultsC1 = results->declareField(QStringLiteral("C1"));
    resultsC2 = results->declareField(QStringLiteral("C2"));
    resultsC3 = results->declareField(QStringLiteral("C3"));
    resultsCSUBTOTAL = results->declareField(QStringLiteral("CSUBTOTAL"));
    resultsCGRID1 = results->declareField(QStringLiteral("CGRID1"));
    resultsCSET = results->declareField(QStringLiteral("CSET"));
    resultsCTOTAL = results->declareField(QStringLiteral("CTOTAL"));
    resultsCGRID2 = results->declareField(QStringLiteral("CGRID2"));
    resultsD1 = results->declareField(QStringLiteral("D1"));
    resultsD2 = results->declareField(QStringLiteral("D2"));
    resultsD3 = results->declareField(QStringLiteral("D3"));
    resultsDSUBTOTAL = results->declareField(QStringLiteral("DSUBTOTAL"));
    resultsDGRID1 = results->declareField(QStringLiteral("DGRID1"));
    resultsDSET = results->declareField(QStringLiteral("DSET"));
    resultsDTOTAL = results->declareField(QStringLiteral("DTOTAL"));
    resultsDGRID2 = results->declareField(QStringLiteral("DGRID2"));
    resultsE1 = results->declareField(QStringLiteral("E1"));
    resultsE2 = results->declareField(QStringLiteral("E2"));
    resultsE3 = results->declareField(QStringLiteral("E3"));
    resultsESUBTOTAL = results->declareField(QStringLiteral("ESUBTOTAL"));
    resultsEGRID1 = results->declareField(QStringLiteral("EGRID1"));
    resultsESET = results->declareField(QStringLiteral("ESET"));
    resultsETOTAL = results->declareField(QStringLiteral("ETOTAL"));
    resultsEGRID2 = results->declareField(QStringLiteral("EGRID2"));
    resultsRECALLTTL = results->declareField(QStringLiteral("RECALLTTL"));
    resultsRECALLTIE = results->declareField(QStringLiteral("RECALLTIE"));
    resultsRECALLCHAR = results->declareField(QStringLiteral("RECALLCHAR"));
    resultsGRIDTOTAL = results->declareField(QStringLiteral("GRIDTOTAL"));
    resultsPOSITION = results->declareField(QStringLiteral("POSITION"));
    resultsFINALTIE = results->declareField(QStringLiteral("FINALTIE"));
    resultsFINALCHAR = results->declareField(QStringLiteral("FINALCHAR"));
    resultsRECALLED = results->declareField(QStringLiteral("RECALLED"));
    resultsSOLOPOSN = results->declareField(QStringLiteral("SOLOPOSN"));
    resultsSOLOCHAR = results->declareField(QStringLiteral("SOLOCHAR"));
    resultsQUALGRID = results->declareField(QStringLiteral("QUALGRID"));
    resultsQUALIFIER = results->declareField(QStringLiteral("QUALIFIER"));
    resultsRecDancer =
        results->addCalculatedField(QStringLiteral("RecDancer"), engine::FieldType::Character, 3);
    // Declared with their types, so that a table whose column is of another type family
    // is refused when it is opened instead of being scored.
    for (const engine::FieldDef& def : resultsFields())
        results->declareField(def.name, def.type)->setDisplayFormat(resultsDisplayFormat(def.name));

    compinfoCOMPNO = compinfo->declareField(QStringLiteral("COMPNO"));
    compinfoCOMPNAME = compinfo->declareField(QStringLiteral("COMPNAME"));
    compinfoNUMADJS = compinfo->declareField(QStringLiteral("NUMADJS"));
    compinfoADJANAME = compinfo->declareField(QStringLiteral("ADJANAME"));
    compinfoADJAFROM = compinfo->declareField(QStringLiteral("ADJAFROM"));
    compinfoADJBNAME = compinfo->declareField(QStringLiteral("ADJBNAME"));
    compinfoADJBFROM = compinfo->declareField(QStringLiteral("ADJBFROM"));
    compinfoADJCNAME = compinfo->declareField(QStringLiteral("ADJCNAME"));
    compinfoADJCFROM = compinfo->declareField(QStringLiteral("ADJCFROM"));
    compinfoADJDNAME = compinfo->declareField(QStringLiteral("ADJDNAME"));
    compinfoADJDFROM = compinfo->declareField(QStringLiteral("ADJDFROM"));
    compinfoADJENAME = compinfo->declareField(QStringLiteral("ADJENAME"));
    compinfoADJEFROM = compinfo->declareField(QStringLiteral("ADJEFROM"));
    compinfoNUMROUNDS = compinfo->declareField(QStringLiteral("NUMROUNDS"));
    compinfoRD1TITLE = compinfo->declareField(QStringLiteral("RD1TITLE"));
    compinfoRD2TITLE = compinfo->declareField(QStringLiteral("RD2TITLE"));
    compinfoRD3TITLE = compinfo->declareField(QStringLiteral("RD3TITLE"));
    compinfoRD4TITLE = compinfo->declareField(QStringLiteral("RD4TITLE"));
    for (const engine::FieldDef& def : compInfoFields())
        compinfo->declareField(def.name, def.type);

    results->setCalcFieldsHandler([this](engine::Table& t) { resultsCalcFields(t); });
    results->setBeforeInsertHandler([this](engine::Table& t) { resultsBeforeInsert(t); });
    results->setBeforePostHandler([this](engine::Table& t) { resultsBeforePost(t); });
    results->setBeforeDeleteHandler([this](engine::Table& t) { resultsBeforeDelete(t); });
    results->setBeforeCloseHandler([this](engine::Table& t) { resultsBeforeClose(t); });
    connect(results, &engine::Table::afterPost, this, &TDataModule1::resultsAfterPost);
    connect(compinfo, &engine::Table::afterPost, this, &TDataModule1::resultsAfterPost);
    // Removing a dancer changes everybody's places just as an edit does.
    connect(results, &engine::Table::afterDelete, this, &TDataModule1::resultsAfterPost);
    // The rows of a post or delete that went through stay.
    connect(results, &engine::Table::afterPost, this, [this] { m_pendingRows = {}; });
    connect(results, &engine::Table::afterDelete, this, [this] { m_pendingRows = {}; });
}

TDataModule1::~TDataModule1() {
    // The tables outlive this object's members (they are its children): what they do on
    // their own closing must not reach back here.
    retractFailedRows();
    syncPendingLog();
    results->setBeforePostHandler({});
    results->setBeforeDeleteHandler({});
    results->setBeforeCloseHandler({});
}

void TDataModule1::resultsCalcFields(engine::Table&) {
    resultsRecDancer->setAsString(resultsRECALLED->asBoolean() ? QStringLiteral("Yes") : QString());
}

void TDataModule1::resultsBeforeInsert(engine::Table&) {}

void TDataModule1::resultsAfterPost() {
    m_state.ReCalcFlag = true;
}

namespace {

QString now() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

// `refused` says what did not happen: "The change was not saved".
void TDataModule1::logChanges(const engine::Table& table, const QList<ChangeLine>& lines,
                              const QString& refused) {
    if (lines.isEmpty())
        return;
    const QString path = changeLogPath(table.resolvedPath());
    const bool soleUse = table.exclusive();
    try {
        const auto [from, to] = appendChangeLog(path, lines, !soleUse);
        m_pendingRows = {path, from, to};
    } catch (const engine::EngineError& e) {
        throw engine::EngineError(
            QStringLiteral("%1, because the change log could not be written: %2. Make room "
                           "on the disk or make the log writable, then try again.")
                .arg(refused, e.message()),
            engine::EngineError::Kind::Io);
    }
    if (soleUse)
        m_unsyncedLog = path;
}

void TDataModule1::retractFailedRows() {
    const PendingRows rows = std::exchange(m_pendingRows, PendingRows{});
    if (!rows.path.isEmpty())
        retractChangeLog(rows.path, rows.from, rows.to);
}

void TDataModule1::resultsBeforePost(engine::Table& table) {
    retractFailedRows();
    logChanges(table, postChanges(table, now(), m_state.PostingWindow),
               QStringLiteral("The change was not saved"));
}

void TDataModule1::resultsBeforeDelete(engine::Table& table) {
    retractFailedRows();
    logChanges(table, deleteChanges(table, now(), m_state.PostingWindow),
               QStringLiteral("The dancer was not deleted"));
}

void TDataModule1::resultsBeforeClose(engine::Table&) {
    retractFailedRows();
    syncPendingLog();
}

// Runs from clean-up code, so a failure is told rather than thrown: the rows are in the
// log as far as any reader is concerned, only a power cut could still lose them.
void TDataModule1::syncPendingLog() {
    if (m_unsyncedLog.isEmpty())
        return;
    const QString path = std::exchange(m_unsyncedLog, QString());
    try {
        syncChangeLog(path);
    } catch (const engine::EngineError& e) {
        platform::showError(QStringLiteral("The change log could not be synced: %1. Its latest "
                                           "rows may be lost if the machine loses power.")
                                .arg(e.message()));
    }
}

} // namespace jt::data

#pragma once

#include "data/ProgramState.h"
#include "engine/Table.h"
#include "reports/ReportDialogs.h"
#include "reports/TAdjAForm.h"
#include "reports/TAdjRecCheck.h"
#include "reports/TCompForm.h"
#include "reports/TFinalRept.h"
#include "reports/TFinalRept3x3.h"
#include "reports/TFinalRept3x4.h"
#include "reports/TFinalRept5x3.h"
#include "reports/THeader.h"
#include "reports/TRecalRead.h"
#include "reports/TRecallRept.h"
#include "reports/TRecallRept3.h"
#include "reports/TSoloWinForm.h"
#include "reports/TWinReport.h"
#include "reports/TWinReportP.h"
#include "support/TempDataFolder.h"

#include <QQueue>
#include <QTest>
#include <QVariantMap>

#include <memory>

namespace jt::test {

// Answers the checklist and launch dialogs of the report commands from a script.
class ScriptedReportDialogs final : public reports::ReportDialogs {
public:
    ScriptedReportDialogs() { reports::setReportDialogs(this); }
    ~ScriptedReportDialogs() override { reports::setReportDialogs(nullptr); }

    void answerChecklist(bool ticked) { m_checklists.enqueue(ticked); }
    // true presses "Preview", false "Cancel".
    void answerLaunch(bool preview) { m_launches.enqueue(preview); }

    bool showChecklist(reports::Checklist checklist,
                       const std::vector<reports::ChecklistFinding>& findings) override {
        shownChecklists << checklist;
        shownFindings << findings;
        if (m_checklists.isEmpty()) {
            QTest::qFail("unexpected checklist dialog", __FILE__, __LINE__);
            return false;
        }
        return m_checklists.dequeue();
    }
    void showLaunchDialog(reports::LaunchDialog dialog,
                          const std::function<void()>& preview) override {
        shownLaunches << dialog;
        if (whileShowing)
            whileShowing();
        if (m_launches.isEmpty()) {
            QTest::qFail("unexpected launch dialog", __FILE__, __LINE__);
            return;
        }
        if (m_launches.dequeue())
            preview();
    }
    bool allAnswered() const { return m_checklists.isEmpty() && m_launches.isEmpty(); }

    QList<reports::Checklist> shownChecklists;
    // What each checklist was shown of the program's own findings.
    QList<std::vector<reports::ChecklistFinding>> shownFindings;
    QList<reports::LaunchDialog> shownLaunches;
    // Runs while a launch dialog is showing, as a report run's own writes would.
    std::function<void()> whileShowing;

private:
    QQueue<bool> m_checklists;
    QQueue<bool> m_launches;
};

// Every report definition, as the program builds them at start-up.
struct ReportDefinitions {
    explicit ReportDefinitions(ProgramState& s)
        : recallRept(s), recallRept3(s), recalRead(s), adjRecCheck(s), finalRept(s),
          finalRept5x3(s), finalRept3x4(s), finalRept3x3(s), adjAForm(s), winReport(s),
          winReportP(s), soloWinForm(s), compForm(s), header(s) {}
    reports::TRecallRept recallRept;
    reports::TRecallRept3 recallRept3;
    reports::TRecalRead recalRead;
    reports::TAdjRecCheck adjRecCheck;
    reports::TFinalRept finalRept;
    reports::TFinalRept5x3 finalRept5x3;
    reports::TFinalRept3x4 finalRept3x4;
    reports::TFinalRept3x3 finalRept3x3;
    reports::TAdjAForm adjAForm;
    reports::TWinReport winReport;
    reports::TWinReportP winReportP;
    reports::TSoloWinForm soloWinForm;
    reports::TCompForm compForm;
    reports::THeader header;
};

// A data folder with the competition u12 selected as Select Competition leaves it:
// the info table open, the results table named and closed with its order index "seqno",
// the flag set.
struct ReportFixture {
    TempDataFolder folder;
    ProgramState state;
    std::unique_ptr<ReportDefinitions> reports;

    ReportFixture() {
        folder.addSystemTables();
        folder.addCompetition(QStringLiteral("u12"));
        state.DataFolder = folder.path();
        state.DataModule1 = std::make_unique<data::TDataModule1>(state);
        results().setTableName(QStringLiteral("u12.dbf"));
        results().addIndex(QStringLiteral("seqno"), QStringLiteral("SEQUENCE"));
        info().setTableName(QStringLiteral("u12_inf.dbf"));
        info().open();
        state.ReCalcFlag = true;
        reports = std::make_unique<ReportDefinitions>(state);
    }
    engine::Table& results() { return *state.DataModule1->results; }
    engine::Table& info() { return *state.DataModule1->compinfo; }

    // Appends dancers (field name to value) and closes the table again.
    void addDancers(const QList<QVariantMap>& dancers) {
        engine::Table& t = results();
        t.open();
        for (const QVariantMap& d : dancers) {
            t.append();
            for (auto it = d.begin(); it != d.end(); ++it)
                t.fieldByName(it.key())->setValue(it.value());
            t.post();
        }
        t.close();
    }
    // n dancers numbered 101, 102, ... named "Dancer 1", ... from two schools.
    void addNumberedDancers(int n) {
        QList<QVariantMap> dancers;
        for (int i = 0; i < n; ++i)
            dancers.append({{QStringLiteral("COMP_NO"), 101.0 + i},
                            {QStringLiteral("NAME"), QStringLiteral("Dancer %1").arg(i + 1)},
                            {QStringLiteral("SCHOOL"), i % 2 ? QStringLiteral("Scoil Bhríde")
                                                             : QStringLiteral("Rince Nua")}});
        addDancers(dancers);
    }
};

} // namespace jt::test

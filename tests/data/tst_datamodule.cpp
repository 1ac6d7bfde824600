#include "data/ProgramState.h"
#include "data/RecalcGate.h"
#include "data/RecordLayouts.h"
#include "engine/Table.h"
#include "support/Competition.h"

#include <QTest>

#include <functional>

using namespace jt;

// Something done to the open competition through the data module.
using Action = std::function<void(data::TDataModule1&)>;

class TestDataModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_comp = std::make_unique<test::Competition>();
        m_comp->addCompetition();
        m_module = &m_comp->addModule();
        m_state = &m_comp->state;
    }
    void cleanup() { m_comp.reset(); }

    void startsClosedOnTheTemplate() {
        QVERIFY(!m_module->results->active());
        QVERIFY(!m_module->compinfo->active());
        QCOMPARE(m_module->results->tableName(), QStringLiteral("template.DBF"));
        QCOMPARE(m_module->compinfo->tableName(), QString());
        QCOMPARE(m_module->DataSource1->dataSet(), m_module->results);
        QCOMPARE(m_module->DataSource2->dataSet(), m_module->compinfo);
    }

    void templateHoldsEveryFieldInOrder() {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("template.DBF"));
        t.open();
        QCOMPARE(t.structure().fields, data::resultsFields());
        QCOMPARE(t.rowCount(), 0);
        t.close();
        t.setTableName(QStringLiteral("template_inf.dbf"));
        t.open();
        QCOMPARE(t.structure().fields, data::compInfoFields());
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(t.fieldByName(QStringLiteral("NUMADJS"))->asString(), QString());
    }

    void displayFormats_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::addRow("A1 half") << "A1" << 0.5 << ".5";
        QTest::addRow("A1 zero is empty") << "A1" << 0.0 << "";
        QTest::addRow("A1 whole") << "A1" << 3.0 << "3";
        QTest::addRow("E2 two decimals") << "E2" << 81.255 << "81.26";
        QTest::addRow("A3 has no format") << "A3" << 0.5 << "0.5";
        QTest::addRow("ASUBTOTAL hides zero") << "ASUBTOTAL" << 0.0 << "";
        QTest::addRow("BSUBTOTAL shows zero") << "BSUBTOTAL" << 0.0 << "0";
        QTest::addRow("CGRID1 share") << "CGRID1" << 66.66666412353516 << "66.67";
        QTest::addRow("RECALLTTL half") << "RECALLTTL" << 0.5 << "0.5";
        QTest::addRow("GRIDTOTAL zero") << "GRIDTOTAL" << 0.0 << "0";
        QTest::addRow("SEQUENCE plain") << "SEQUENCE" << 12.0 << "12";
        QTest::addRow("POSITION plain") << "POSITION" << 0.0 << "0";
        QTest::addRow("empty GRIDTOTAL") << "GRIDTOTAL" << qQNaN() << "";
        QTest::addRow("empty SEQUENCE") << "SEQUENCE" << qQNaN() << "";
    }
    void displayFormats() {
        QFETCH(QString, field);
        QFETCH(double, value);
        QFETCH(QString, shown);
        engine::Table* results = m_module->results;
        results->setTableName(QStringLiteral("u12.dbf"));
        results->open();
        results->append();
        if (qIsNaN(value))
            results->fieldByName(field)->clear();
        else
            results->fieldByName(field)->setAsFloat(value);
        QCOMPARE(results->fieldByName(field)->displayText(), shown);
        results->cancel();
    }

    void emptyDancerReadsZero() {
        engine::Table* results = m_module->results;
        results->setTableName(QStringLiteral("u12.dbf"));
        results->open();
        results->append();
        results->fieldByName(QStringLiteral("NAME"))->setAsString(QStringLiteral("Aoife"));
        results->post();
        for (const engine::FieldDef& def : data::resultsFields()) {
            engine::Field* f = results->fieldByName(def.name);
            QVERIFY2(f->isNull() || def.name == QLatin1String("NAME"), qPrintable(def.name));
            if (def.isNumber())
                QCOMPARE(f->asFloat(), 0.0);
        }
        QCOMPARE(m_module->resultsQUALGRID->isNull(), true);
        QCOMPARE(m_module->resultsQUALIFIER->asString(), QString());
    }

    void recDancerFollowsRecalledOncePosted() {
        engine::Table* results = m_module->results;
        results->setTableName(QStringLiteral("u12.dbf"));
        results->open();
        results->append();
        results->post();
        QCOMPARE(m_module->resultsRecDancer->asString(), QString());
        results->edit();
        m_module->resultsRECALLED->setAsBoolean(true);
        // Not recalculated while the field changes, only when the record is read again.
        QCOMPARE(m_module->resultsRecDancer->asString(), QString());
        results->post();
        QCOMPARE(m_module->resultsRecDancer->asString(), QStringLiteral("Yes"));
        results->close();
        results->open();
        QCOMPARE(m_module->resultsRecDancer->asString(), QStringLiteral("Yes"));
        QCOMPARE(results->valueAt(0, m_module->resultsRecDancer->fieldNo()).toString(),
                 QStringLiteral("Yes"));
        results->edit();
        m_module->resultsRECALLED->setAsBoolean(false);
        results->post();
        QCOMPARE(m_module->resultsRecDancer->asString(), QString());
    }

    // Whatever changes a stored record marks the computed results out of date; an edit
    // given up does not. Each action starts on u12 with one dancer, the flag clear.
    void changesSetTheFlag_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("flagged");
        const auto edit = [](engine::Table* table, engine::Field* field) {
            table->edit();
            field->setAsString(QStringLiteral("Under 12"));
        };
        QTest::addRow("post on the results table") << Action([edit](data::TDataModule1& m) {
            edit(m.results, m.resultsNAME);
            m.results->post();
        }) << true;
        QTest::addRow("post on the info table") << Action([edit](data::TDataModule1& m) {
            m.compinfo->append();
            edit(m.compinfo, m.compinfoCOMPNAME);
            m.compinfo->post();
        }) << true;
        QTest::addRow("dancer deleted")
            << Action([](data::TDataModule1& m) { m.results->deleteRecord(); }) << true;
        QTest::addRow("edit cancelled") << Action([edit](data::TDataModule1& m) {
            edit(m.results, m.resultsNAME);
            m.results->cancel();
        }) << false;
        QTest::addRow("edit still pending")
            << Action([edit](data::TDataModule1& m) { edit(m.results, m.resultsNAME); }) << false;
    }
    void changesSetTheFlag() {
        QFETCH(Action, action);
        m_module->results->setTableName(QStringLiteral("u12.dbf"));
        m_module->results->open();
        m_module->results->append();
        m_module->results->post();
        m_module->compinfo->setTableName(QStringLiteral("u12_inf.dbf"));
        m_module->compinfo->open();
        m_state->ReCalcFlag = false;
        action(*m_module);
        QTEST(m_state->ReCalcFlag, "flagged");
    }

    // The report commands that print computed results stop with "Please RECALC" while a
    // recalculation is due, and leave the flag as it was either way.
    void reportGate_data() {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("passes");
        QTest::addRow("recalculation due") << true << false;
        QTest::addRow("results up to date") << false << true;
    }
    void reportGate() {
        QFETCH(bool, flag);
        QFETCH(bool, passes);
        test::ScriptedDialogs dialogs;
        if (!passes)
            dialogs.answerMessage(platform::Ok);
        m_state->ReCalcFlag = flag;
        QCOMPARE(passRecalcGate(*m_state), passes);
        QVERIFY(dialogs.allAnswered());
        QCOMPARE(m_state->ReCalcFlag, flag);
        if (passes) {
            QVERIFY(dialogs.messages().isEmpty());
        } else {
            QCOMPARE(dialogs.messages().size(), 1);
            QCOMPARE(dialogs.messages()[0].type, platform::MessageType::Information);
            QCOMPARE(dialogs.messages()[0].title, QStringLiteral("Jigtally 2008"));
            QCOMPARE(dialogs.messages()[0].text, QStringLiteral("Please RECALC"));
            QCOMPARE(dialogs.messages()[0].buttons, platform::Buttons(platform::Ok));
        }
    }

    void exampleCompetitionIsTheWorkedExample() {
        engine::Table t;
        t.setDatabaseName(data::TDataModule1::kAlias);
        t.setTableName(QStringLiteral("example.dbf"));
        t.setIndexName(QStringLiteral("seqno"));
        t.open();
        QCOMPARE(t.rowCount(), 5);
        const double expected[5][6] = {{80, 82, 79, 80, 84, 80},
                                       {79, 81, 80, 81, 82, 82},
                                       {80, 78, 79, 77, 75, 76},
                                       {70, 72, 70, 70, 77, 74},
                                       {0, 0, 0, 0, 0, 0}};
        for (int row = 0; row < 5; ++row, t.next()) {
            QCOMPARE(t.fieldByName(QStringLiteral("SEQUENCE"))->asInteger(), row + 1);
            const char* names[] = {"A1", "A2", "B1", "B2", "C1", "C2"};
            for (int m = 0; m < 6; ++m)
                QCOMPARE(t.fieldByName(QLatin1String(names[m]))->asFloat(), expected[row][m]);
        }
        t.close();
        t.setIndexName(QString());
        t.setTableName(QStringLiteral("example_inf.dbf"));
        t.open();
        QCOMPARE(t.fieldByName(QStringLiteral("NUMADJS"))->asString(), QStringLiteral("3"));
        QCOMPARE(t.fieldByName(QStringLiteral("NUMROUNDS"))->asString(), QStringLiteral("3"));
    }

private:
    std::unique_ptr<test::Competition> m_comp;
    ProgramState* m_state = nullptr;
    data::TDataModule1* m_module = nullptr;
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"

// What the checklists find for themselves, on small competitions.
#include "ReportFixture.h"
#include "reports/ChecklistFindings.h"
#include "reports/ReportCommands.h"
#include "support/Competition.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace jt;
using reports::Checklist;
using reports::FindingKind;

namespace {

const QStringList kRounds2x3 = {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B1"),
                                QStringLiteral("B2"), QStringLiteral("C1"), QStringLiteral("C2")};

// A dancer numbered `number`, sequenced, with 70 in every round mark of three
// adjudicators and two rounds and a recall total of its own (so nobody ties); `changes`
// then sets fields, an invalid value leaving the field blank.
QVariantMap dancer(int number, const QVariantMap& changes = {}) {
    QVariantMap d{{QStringLiteral("COMP_NO"), double(number)},
                  {QStringLiteral("NAME"), QStringLiteral("Dancer %1").arg(number)},
                  {QStringLiteral("SEQUENCE"), double(number - 100)},
                  {QStringLiteral("RECALLTTL"), double(500 - number)}};
    for (const QString& f : kRounds2x3)
        d.insert(f, 70.0);
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        if (it.value().isValid())
            d.insert(it.key(), it.value());
        else
            d.remove(it.key());
    }
    return d;
}

QVariantMap marks(const QStringList& fields, const QVariant& mark) {
    QVariantMap m;
    for (const QString& f : fields)
        m.insert(f, mark);
    return m;
}

QVariantMap merged(QVariantMap a, const QVariantMap& b) {
    a.insert(b);
    return a;
}

QString kindName(FindingKind kind) {
    switch (kind) {
    case FindingKind::NumberTwice:
        return QStringLiteral("NumberTwice");
    case FindingKind::NoNumber:
        return QStringLiteral("NoNumber");
    case FindingKind::NoSequence:
        return QStringLiteral("NoSequence");
    case FindingKind::NoMarksAtAll:
        return QStringLiteral("NoMarksAtAll");
    case FindingKind::MissingMarks:
        return QStringLiteral("MissingMarks");
    case FindingKind::MarkOutOfRange:
        return QStringLiteral("MarkOutOfRange");
    case FindingKind::StrayMarks:
        return QStringLiteral("StrayMarks");
    case FindingKind::NoSetMarks:
        return QStringLiteral("NoSetMarks");
    case FindingKind::SetMarksNotRecalled:
        return QStringLiteral("SetMarksNotRecalled");
    case FindingKind::RecallTie:
        return QStringLiteral("RecallTie");
    case FindingKind::NotChecked:
        break;
    }
    return QStringLiteral("NotChecked");
}

// "Kind [dancers] text", one per finding, in the order found.
QStringList described(const std::vector<reports::ChecklistFinding>& findings) {
    QStringList out;
    for (const reports::ChecklistFinding& f : findings)
        out << QStringLiteral("%1 [%2] %3")
                   .arg(kindName(f.kind), f.dancers.join(QLatin1Char(',')), f.text);
    return out;
}

void fill(engine::Table& t, const QList<QVariantMap>& dancers) {
    t.open();
    for (const QVariantMap& d : dancers) {
        t.append();
        for (auto it = d.begin(); it != d.end(); ++it)
            t.fieldByName(it.key())->setValue(it.value());
        t.post();
    }
    t.close();
}

} // namespace

class TestChecklistFindings final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findings_data();
    void findings();
    void fromOpenCompetition();
    void unreadableTable();
    void gateShowsFindings_data();
    void gateShowsFindings();
};

void TestChecklistFindings::findings_data() {
    QTest::addColumn<Checklist>("checklist");
    QTest::addColumn<QString>("numAdjs");
    QTest::addColumn<QString>("numRounds");
    QTest::addColumn<QList<QVariantMap>>("dancers");
    QTest::addColumn<QStringList>("expected");

    const QVariant blank;
    const QString three = QStringLiteral("3");
    const QList<QVariantMap> clean = {dancer(101), dancer(102), dancer(103)};

    QTest::newRow("recall: nothing to find")
        << Checklist::Recall << three << three << clean << QStringList{};
    QTest::newRow("recall: one mark blank")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101), dancer(102, {{"B2", blank}}), dancer(103)}
        << QStringList{"MissingMarks [102] No mark in B2 (adjudicator B, round 2) for dancer 102"};
    QTest::newRow("recall: a mark of 0 is a mark")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101), dancer(102, {{"B2", 0.0}})} << QStringList{};
    QTest::newRow("recall: same mark blank for two, listed by number")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(117, {{"C1", blank}}), dancer(102),
                              dancer(104, {{"C1", blank}})}
        << QStringList{"MissingMarks [104,117] No mark in C1 (adjudicator C, round 1) for dancers "
                       "104, 117"};
    QTest::newRow("recall: a dancer without any round mark is named once")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101), dancer(102, marks(kRounds2x3, blank))}
        << QStringList{"NoMarksAtAll [102] No round marks at all for dancer 102: remove any who "
                       "did not dance"};
    QTest::newRow("recall: three rounds, round 3 not entered")
        << Checklist::Recall << three << QStringLiteral("4")
        << QList<QVariantMap>{dancer(101), dancer(102, {{"A3", 70.0}})}
        << QStringList{
               "MissingMarks [101] No mark in A3 (adjudicator A, round 3) for dancer 101",
               "MissingMarks [101,102] No mark in B3 (adjudicator B, round 3) for dancers 101, 102",
               "MissingMarks [101,102] No mark in C3 (adjudicator C, round 3) for dancers 101, "
               "102"};
    QTest::newRow("recall: NUMADJS other than 3 means five adjudicators")
        << Checklist::Recall << QString() << three
        << QList<QVariantMap>{dancer(101, {{"D1", 70.0}, {"D2", 70.0}, {"E1", 70.0}, {"E2", 70.0}}),
                              dancer(102, {{"D1", 70.0}, {"D2", 70.0}, {"E1", 70.0}})}
        << QStringList{"MissingMarks [102] No mark in E2 (adjudicator E, round 2) for dancer 102"};
    QTest::newRow("recall: marks outside 0 to 100, by field")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"A1", 150.0}}), dancer(102, {{"A1", -5.0}}),
                              dancer(103, {{"C2", 100.5}}), dancer(104, {{"B1", 100.0}})}
        << QStringList{
               "MarkOutOfRange [101,102] A1 holds marks outside 0 to 100: 150 for "
               "dancer 101, -5 for dancer 102",
               "MarkOutOfRange [103] C2 holds marks outside 0 to 100: 100.5 for dancer 103"};
    QTest::newRow("recall: set marks are not looked at")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"ASET", 150.0}}), dancer(102)} << QStringList{};
    QTest::newRow("recall: a number given twice")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101), dancer(102),
                              dancer(101, {{"NAME", "Aoife Kelly"}, {"RECALLTTL", 1.0}})}
        << QStringList{
               "NumberTwice [101] Dancer number 101 is given twice (Dancer 101, Aoife Kelly)"};
    QTest::newRow("recall: a number given three times")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(105, {{"RECALLTTL", 3.0}}), dancer(105, {{"RECALLTTL", 2.0}}),
                              dancer(105, {{"RECALLTTL", 1.0}})}
        << QStringList{"NumberTwice [105] Dancer number 105 is given 3 times (Dancer 105, Dancer "
                       "105, Dancer 105)"};
    QTest::newRow("recall: dancers without a number go by name")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101),
                              dancer(102,
                                     {{"COMP_NO", blank}, {"NAME", "Niamh Ryan"}, {"B1", blank}}),
                              dancer(103, {{"COMP_NO", blank}, {"NAME", blank}})}
        << QStringList{"NoNumber [Niamh Ryan,record 3] No dancer number for Niamh Ryan, record 3",
                       "MissingMarks [Niamh Ryan] No mark in B1 (adjudicator B, round 1) for "
                       "dancer Niamh Ryan"};
    QTest::newRow("recall: dancers without a sequence number")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"SEQUENCE", blank}}), dancer(102),
                              dancer(103, {{"SEQUENCE", 0.0}})}
        << QStringList{"NoSequence [101,103] No sequence number for dancers 101, 103"};
    QTest::newRow("recall: a tie that a cut could split")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"RECALLTTL", 300.0}}),
                              dancer(104, {{"RECALLTTL", 280.0}}),
                              dancer(117, {{"RECALLTTL", 250.0}}),
                              dancer(103, {{"RECALLTTL", 280.0}}),
                              dancer(102, {{"RECALLTTL", 212.5}})}
        << QStringList{"RecallTie [103,104] Positions 2-3 tied on 280 (dancers 103, 104): "
                       "recalling 2 splits them"};
    QTest::newRow("recall: three tied, and a tie at the bottom")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"RECALLTTL", 250.0}}),
                              dancer(102, {{"RECALLTTL", 250.0}}),
                              dancer(103, {{"RECALLTTL", 250.0}}),
                              dancer(104, {{"RECALLTTL", 300.0}}),
                              dancer(105, {{"RECALLTTL", 0.0}}),
                              dancer(106, {{"RECALLTTL", blank}})}
        << QStringList{"RecallTie [101,102,103] Positions 2-4 tied on 250 (dancers 101, 102, 103): "
                       "recalling 2 or 3 splits them",
                       "RecallTie [105,106] Positions 5-6 tied on 0 (dancers 105, 106): "
                       "recalling 5 splits them"};
    QTest::newRow("recall: totals equal as printed with two decimals tie")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"RECALLTTL", 280.001}}),
                              dancer(102, {{"RECALLTTL", 280.004}}),
                              dancer(103, {{"RECALLTTL", 280.006}})}
        << QStringList{"RecallTie [101,102] Positions 2-3 tied on 280 (dancers 101, 102): "
                       "recalling 2 splits them"};
    QTest::newRow("recall: a mark for an adjudicator the competition lacks")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101), dancer(102, {{"D1", 80.0}, {"E3", 60.0}}),
                              dancer(103, {{"D1", 75.0}})}
        << QStringList{"StrayMarks [102,103] D1 holds marks for dancers 102, 103, but the "
                       "competition has no adjudicator D; the scoring counts them",
                       "StrayMarks [102] E3 holds marks for dancer 102, but the competition has "
                       "no adjudicator E; the scoring counts them"};
    QTest::newRow("recall: a round 3 mark in a two-round competition")
        << Checklist::Recall << three << three
        << QList<QVariantMap>{dancer(101, {{"B3", 66.0}}), dancer(102)}
        << QStringList{"StrayMarks [101] B3 holds marks for dancer 101, but the competition has "
                       "no round 3; the scoring counts them"};

    const QVariantMap set70 = marks({"ASET", "BSET", "CSET"}, 70.0);
    const QVariantMap recalled{{"RECALLED", true}};
    QTest::newRow("final: nothing to find")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, merged(set70, recalled)),
                              dancer(102, merged(set70, recalled)), dancer(103)}
        << QStringList{};
    QTest::newRow("final: no set-dance marks at all")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, recalled), dancer(102)}
        << QStringList{"NoSetMarks [] No set-dance marks at all"};
    QTest::newRow("final: no set-dance marks and nobody recalled")
        << Checklist::Final << three << three << QList<QVariantMap>{dancer(101), dancer(102)}
        << QStringList{"NoSetMarks [] No set-dance marks at all, and no dancer is recalled"};
    QTest::newRow("final: a recalled dancer's set mark blank or 0")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, merged(set70, recalled)),
                              dancer(102, merged(merged(set70, recalled), {{"BSET", blank}})),
                              dancer(103, merged(merged(set70, recalled), {{"BSET", 0.0}})),
                              dancer(104)}
        << QStringList{"MissingMarks [102,103] No mark in BSET (adjudicator B, set dance) for "
                       "recalled dancers 102, 103"};
    QTest::newRow("final: round marks are checked as well")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, merged(set70, {{"RECALLED", true}, {"A2", blank}})),
                              dancer(102)}
        << QStringList{"MissingMarks [101] No mark in A2 (adjudicator A, round 2) for dancer 101"};
    QTest::newRow("final: set marks of a dancer not recalled")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, merged(set70, recalled)), dancer(102, {{"CSET", 81.0}})}
        << QStringList{"SetMarksNotRecalled [102] Set-dance marks for dancer 102, who is not "
                       "recalled; the scoring ranks them all the same"};
    QTest::newRow("final: a set mark outside 0 to 100")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, merged(merged(set70, recalled), {{"ASET", 700.0}}))}
        << QStringList{
               "MarkOutOfRange [101] ASET holds marks outside 0 to 100: 700 for dancer 101"};
    QTest::newRow("final: ties in the recall are not looked at")
        << Checklist::Final << three << three
        << QList<QVariantMap>{dancer(101, merged(set70, {{"RECALLED", true}, {"RECALLTTL", 5.0}})),
                              dancer(102, {{"RECALLTTL", 5.0}})}
        << QStringList{};
}

void TestChecklistFindings::findings() {
    QFETCH(Checklist, checklist);
    QFETCH(QString, numAdjs);
    QFETCH(QString, numRounds);
    QFETCH(QList<QVariantMap>, dancers);
    QFETCH(QStringList, expected);
    auto c = test::Competition::closedOnU12();
    fill(c->results(), dancers);
    const QStringList found =
        described(reports::checklistFindings(c->results(), numAdjs, numRounds, checklist));
    QCOMPARE(found, expected);
    // The look leaves the table as it found it.
    QVERIFY(!c->results().active());
}

// Through the program state: the numbers come from the info table, and the table is read
// as stored whatever filter the module's handle has on.
void TestChecklistFindings::fromOpenCompetition() {
    test::ReportFixture f;
    f.info().edit();
    f.info().fieldByName(QStringLiteral("NUMADJS"))->setAsString(QStringLiteral("3"));
    f.info().fieldByName(QStringLiteral("NUMROUNDS"))->setAsString(QStringLiteral("4"));
    f.info().post();
    QVariantMap withRound3 = marks({"A3", "B3", "C3"}, 60.0);
    f.addDancers({dancer(101, withRound3), dancer(102, merged(withRound3, {{"C3", QVariant()}}))});
    f.results().setFilter(QStringLiteral("COMP_NO = 101"));
    f.results().setFiltered(true);
    f.results().open();
    QCOMPARE(f.results().rowCount(), 1);
    QCOMPARE(
        described(reports::checklistFindings(f.state, Checklist::Recall)),
        QStringList{"MissingMarks [102] No mark in C3 (adjudicator C, round 3) for dancer 102"});
    QVERIFY(f.results().active());
    QCOMPARE(f.results().rowCount(), 1);
}

// A table that cannot be read is one finding, not an error: the checklist still shows.
void TestChecklistFindings::unreadableTable() {
    test::ReportFixture f;
    f.results().setTableName(QStringLiteral("missing.dbf"));
    const std::vector<reports::ChecklistFinding> found =
        reports::checklistFindings(f.state, Checklist::Final);
    QCOMPARE(found.size(), std::size_t(1));
    QCOMPARE(found[0].kind, FindingKind::NotChecked);
    QVERIFY2(found[0].text.startsWith(QStringLiteral("The results could not be checked: ")),
             qPrintable(found[0].text));
    QVERIFY2(found[0].text.contains(QStringLiteral("missing.dbf")), qPrintable(found[0].text));
}

// The gate hands the findings to the dialog; they never decide, the box alone does.
void TestChecklistFindings::gateShowsFindings_data() {
    QTest::addColumn<Checklist>("checklist");
    QTest::addColumn<bool>("problems");
    QTest::addColumn<bool>("ticked");
    for (const Checklist c : {Checklist::Recall, Checklist::Final})
        for (const bool problems : {false, true})
            for (const bool ticked : {false, true})
                QTest::addRow("%s, %s, %s", c == Checklist::Recall ? "recall" : "final",
                              problems ? "problems" : "clean", ticked ? "ticked" : "unticked")
                    << c << problems << ticked;
}

void TestChecklistFindings::gateShowsFindings() {
    QFETCH(Checklist, checklist);
    QFETCH(bool, problems);
    QFETCH(bool, ticked);
    test::ReportFixture f;
    test::ScriptedDialogs boxes;
    test::ScriptedReportDialogs dialogs;
    f.info().edit();
    f.info().fieldByName(QStringLiteral("NUMADJS"))->setAsString(QStringLiteral("3"));
    f.info().fieldByName(QStringLiteral("NUMROUNDS"))->setAsString(QStringLiteral("3"));
    f.info().post();
    const QVariantMap set{{"RECALLED", true}, {"ASET", 80.0}, {"BSET", 80.0}, {"CSET", 80.0}};
    f.addDancers({dancer(101, set), dancer(102, problems ? QVariantMap{{"A1", QVariant()}} : set)});
    dialogs.answerChecklist(ticked);
    QCOMPARE(reports::passChecklistGate(f.state, checklist), ticked);
    QCOMPARE(dialogs.shownChecklists, QList<Checklist>{checklist});
    QCOMPARE(dialogs.shownFindings.size(), 1);
    const QStringList expected =
        problems ? QStringList{"MissingMarks [102] No mark in A1 (adjudicator A, round 1) for "
                               "dancer 102"}
                 : QStringList{};
    QCOMPARE(described(dialogs.shownFindings[0]), expected);
    QCOMPARE(boxes.messageTexts(),
             ticked ? QStringList{} : QStringList{reports::kChecklistIncomplete});
}

QTEST_MAIN(TestChecklistFindings)
#include "tst_checklistfindings.moc"

#include "app/CompetitionNames.h"

#include <QTest>

using namespace jt::app;

class TestCompetitionNames : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void systemFiles_data();
    void systemFiles();
    void caseOfLettersOnly();
};

void TestCompetitionNames::names_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("info");
    QTest::addRow("plain") << "u12.dbf"
                           << ".dbf"
                           << "u12"
                           << "u12_inf.dbf";
    QTest::addRow("case kept") << "U12Girls.DBF"
                               << ".DBF"
                               << "U12Girls"
                               << "U12Girls_inf.DBF";
    QTest::addRow("two dots") << "u12.final.dbf"
                              << ".dbf"
                              << "u12.final"
                              << "u12.final_inf.dbf";
    QTest::addRow("extension twice: the shorter part") << "a.dbfx.dbf"
                                                       << ".dbf"
                                                       << "a"
                                                       << "a_inf.dbf";
    QTest::addRow("no extension") << "u12"
                                  << ""
                                  << ""
                                  << "_inf";
}

void TestCompetitionNames::names() {
    QFETCH(QString, file);
    const CompetitionNames n = competitionNames(file);
    QTEST(n.extension, "extension");
    QTEST(n.baseName, "base");
    QTEST(n.infoName, "info");
}

void TestCompetitionNames::systemFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("select");
    QTest::addColumn<bool>("del");
    QTest::addRow("competition") << "u12.dbf" << false << false;
    QTest::addRow("template") << "Template.DBF" << true << true;
    QTest::addRow("info table") << "U12_INF.dbf" << true << true;
    QTest::addRow("example") << "example.dbf" << false << true;
    QTest::addRow("example inside a name") << "MyExample2.dbf" << false << true;
    QTest::addRow("template inside a name") << "mytemplate.dbf" << true << true;
    QTest::addRow("inf without underscore") << "info.dbf" << false << false;
}

void TestCompetitionNames::systemFiles() {
    QFETCH(QString, file);
    QTEST(refusedForSelect(file), "select");
    QTEST(refusedForDelete(file), "del");
}

void TestCompetitionNames::caseOfLettersOnly() {
    QCOMPARE(asciiUpper(QStringLiteral("u12 ä-ß.dbf")), QStringLiteral("U12 ä-ß.DBF"));
    QCOMPARE(asciiLower(QStringLiteral("TEMPLATE Ä.DBF")), QStringLiteral("template Ä.dbf"));
}

QTEST_GUILESS_MAIN(TestCompetitionNames)
#include "tst_competitionnames.moc"

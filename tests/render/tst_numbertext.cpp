#include "render/NumberText.h"

#include <QTest>

using jt::render::printText;

// Every pattern a report prints numbers with, the empty field, and rounding of halves.
class TestNumberText final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void printText_data();
    void printText();
    void textFields();
};

void TestNumberText::printText_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("displayFormat");
    QTest::addColumn<QString>("expected");

    const QVariant null;
    const QString none;
    struct Row {
        const char* name;
        QVariant value;
        const char* mask;
        const char* format;
        const char* expected;
    };
    const Row rows[] = {
        // mask "0": whole number, rounded
        {"0 mask 0", 0.0, "0", "", "0"},
        {"62.5 mask 0", 62.5, "0", "", "63"},
        {"0.5 mask 0", 0.5, "0", "", "1"},
        {"-62.5 mask 0", -62.5, "0", "", "-63"},
        {"-0.4 mask 0", -0.4, "0", "", "0"},
        {"null mask 0", null, "0", "", "0"},
        {"12 mask 0", 12.0, "0", "", "12"},
        // mask "0.00": always two decimals
        {"0 mask 0.00", 0.0, "0.00", "", "0.00"},
        {"62.5 mask 0.00", 62.5, "0.00", "", "62.50"},
        {"0.5 mask 0.00", 0.5, "0.00", "", "0.50"},
        {"0.125 mask 0.00", 0.125, "0.00", "", "0.13"},
        {"2.675 mask 0.00", 2.675, "0.00", "", "2.68"},
        {"-0.125 mask 0.00", -0.125, "0.00", "", "-0.13"},
        {"312.5 mask 0.00", 312.5, "0.00", "", "312.50"},
        {"99.995 mask 0.00", 99.995, "0.00", "", "100.00"},
        {"null mask 0.00", null, "0.00", "", "0.00"},
        {"mask over format", 62.5, "0.00", "#.##", "62.50"},
        // display format "0.##"
        {"0 format 0.##", 0.0, "", "0.##", "0"},
        {"62.5 format 0.##", 62.5, "", "0.##", "62.5"},
        {"0.5 format 0.##", 0.5, "", "0.##", "0.5"},
        {"66.666667 format 0.##", 66.6666667, "", "0.##", "66.67"},
        {"40.005 format 0.##", 40.005, "", "0.##", "40.01"},
        {"100 format 0.##", 100.0, "", "0.##", "100"},
        {"null format 0.##", null, "", "0.##", ""},
        // display format "#.##"
        {"0 format #.##", 0.0, "", "#.##", ""},
        {"62.5 format #.##", 62.5, "", "#.##", "62.5"},
        {"0.5 format #.##", 0.5, "", "#.##", ".5"},
        {"0.004 format #.##", 0.004, "", "#.##", ""},
        {"null format #.##", null, "", "#.##", ""},
        // general format
        {"0 general", 0.0, "", "", "0"},
        {"62.5 general", 62.5, "", "", "62.5"},
        {"0.5 general", 0.5, "", "", "0.5"},
        {"123456 general", 123456.0, "", "", "123456"},
        {"0.1+0.2 general", 0.1 + 0.2, "", "", "0.3"},
        {"200/3 general", 200.0 / 3.0, "", "", "66.6666666666667"},
        {"15 nines general", 999999999999999.0, "", "", "999999999999999"},
        {"-1.25 general", -1.25, "", "", "-1.25"},
        {"0.0001 general", 0.0001, "", "", "0.0001"},
        {"null general", null, "", "", ""},
        // a number stored as text in a number column
        {"text number", QVariant(QStringLiteral(" 62.5")), "0", "", "63"},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << r.value << QString::fromLatin1(r.mask)
                              << QString::fromLatin1(r.format) << QString::fromLatin1(r.expected);
}

void TestNumberText::printText() {
    QFETCH(QVariant, value);
    QFETCH(QString, mask);
    QFETCH(QString, displayFormat);
    QFETCH(QString, expected);
    QCOMPARE(jt::render::printText(value, true, mask, displayFormat), expected);
}

void TestNumberText::textFields() {
    // Text prints as stored, a mask or format notwithstanding.
    QCOMPARE(jt::render::printText(QStringLiteral("T"), false, QString(), QString()),
             QStringLiteral("T"));
    QCOMPARE(jt::render::printText(QStringLiteral("0.5"), false, QString(), QStringLiteral("#.##")),
             QStringLiteral("0.5"));
    QCOMPARE(jt::render::printText(QVariant(), false, QStringLiteral("0"), QString()), QString());
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"

#include "engine/Field.h"
#include "engine/Table.h"
#include "support/ChildProcess.h"
#include "support/TempDataFolder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace jt;

namespace {

test::ProgramRun cli(const QStringList& args) {
    return test::runProgram(QStringLiteral(JIGTALLY_CLI_PATH), args);
}

QString pageText(const QString& pdf, int page) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
            {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Which part of the pack a page belongs to, by the report name in its title band; a
// page without one (a report's later page) is "".
QString partOf(const QString& text) {
    // The header sheet's spaced-out "M A R K S  P A C K" reads as "MARKS PACK"; it and
    // "GRID MARKS" are tried before the final marks report's "MARKS".
    static const QStringList names{QStringLiteral("MARKS PACK"), QStringLiteral("GRID MARKS"),
                                   QStringLiteral("WINNERS ROSTER"),
                                   QStringLiteral("ADJ. CHECKSHEET"), QStringLiteral("MARKS")};
    for (const QString& name : names)
        if (text.contains(name))
            return name;
    return {};
}

// Width and height in points of each page, from pdfinfo.
QList<QSizeF> pageSizes(const QString& pdf) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")),
            {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("99"),
             pdf});
    p.waitForFinished(30000);
    QList<QSizeF> sizes;
    const QRegularExpression line(QStringLiteral(R"(^Page +\d+ size: +([\d.]+) x ([\d.]+))"),
                                  QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return sizes;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// jigtally-cli pack: the marks pack in one PDF, through the gates of its reports.
class TestPackCli final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pageSequence_data();
    void pageSequence();
    void gates_data();
    void gates();
    void usage();

private:
    // Appends copies of the example's dancers under new numbers, danced after them.
    void addCopies(int copies) const;

    std::unique_ptr<test::TempDataFolder> m_folder;
    QString file(const QString& name) const { return m_folder->filePath(name); }
};

void TestPackCli::addCopies(int copies) const {
    engine::Table t;
    t.setTableName(file(QStringLiteral("example.dbf")));
    t.open();
    QList<QVariantList> dancers;
    for (t.first(); !t.eof(); t.next()) {
        QVariantList values;
        for (int f = 0; f < t.fieldCount(); ++f)
            values << t.fieldAt(f)->value();
        dancers << values;
    }
    const int no = t.fieldByName(QStringLiteral("COMP_NO"))->fieldNo();
    const int seq = t.fieldByName(QStringLiteral("SEQUENCE"))->fieldNo();
    for (int c = 1; c <= copies; ++c)
        for (int d = 0; d < dancers.size(); ++d) {
            t.append();
            for (int f = 0; f < t.fieldCount(); ++f)
                t.fieldAt(f)->setValue(dancers[d][f]);
            t.fieldAt(no)->setValue(double(100 * (c + 1) + d + 1));
            t.fieldAt(seq)->setValue(double(5 * c + d + 1));
            t.post();
        }
    t.close();
}

void TestPackCli::init() {
    m_folder = std::make_unique<test::TempDataFolder>();
    m_folder->addSystemTables();
}

void TestPackCli::pageSequence_data() {
    QTest::addColumn<int>("copies"); // further copies of the example's five dancers
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("finalPages");
    QTest::addColumn<int>("sheetPages"); // of the three checksheets together
    QTest::newRow("five dancers, a page each") << 0 << 7 << 1 << 3;
    // 60 dancers: 35 rows fit on the final marks report's first page and 49 on a
    // checksheet's; 36 have a grid total, which the grid marks and roster list on one page.
    QTest::newRow("sixty dancers") << 11 << 11 << 2 << 6;
}

void TestPackCli::pageSequence() {
    QFETCH(int, copies);
    QFETCH(int, pages);
    QFETCH(int, finalPages);
    QFETCH(int, sheetPages);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed");
    addCopies(copies);
    const QString pdf = file(QStringLiteral("pack.pdf"));
    const test::ProgramRun r =
        cli({QStringLiteral("pack"), file(QStringLiteral("example.dbf")), QStringLiteral("--pdf"),
             pdf, QStringLiteral("--recalc"), QStringLiteral("--checklist-done"),
             QStringLiteral("--event-name"), QStringLiteral("Feis Example")});
    QVERIFY2(r.finished && r.exitCode == 0, qPrintable(r.err));
    const QList<QSizeF> sizes = pageSizes(pdf);
    QCOMPARE(sizes.size(), pages);
    QCOMPARE(r.out, QStringLiteral("%1: %2 pages\n").arg(pdf).arg(sizes.size()));

    // Each part once, in order, its later pages straight after its first; the final
    // marks report's pages landscape among the portrait ones.
    QStringList parts;
    QStringList sheets;
    int landscapePages = 0;
    int checksheetPages = 0;
    QString current;
    for (int page = 1; page <= sizes.size(); ++page) {
        const QString text = pageText(pdf, page);
        const QString part = partOf(text);
        QVERIFY2(page > 1 || !part.isEmpty(), "the pack starts with the header sheet");
        if (!part.isEmpty()) {
            parts << part;
            current = part;
        }
        if (current == QLatin1String("ADJ. CHECKSHEET")) {
            ++checksheetPages;
            if (!part.isEmpty())
                sheets << QRegularExpression(QStringLiteral(R"(Adj\. ([A-E]):)"))
                              .match(text)
                              .captured(1);
        }
        const bool landscape = sizes[page - 1].width() > sizes[page - 1].height();
        QCOMPARE(landscape, current == QLatin1String("MARKS"));
        landscapePages += landscape;
    }
    QCOMPARE(parts, (QStringList{"MARKS PACK", "MARKS", "GRID MARKS", "WINNERS ROSTER",
                                 "ADJ. CHECKSHEET", "ADJ. CHECKSHEET", "ADJ. CHECKSHEET"}));
    QCOMPARE(sheets, (QStringList{"A", "B", "C"}));
    QCOMPARE(landscapePages, finalPages);
    QCOMPARE(checksheetPages, sheetPages);
    QVERIFY(pageText(pdf, 1).contains(QStringLiteral("Under 12 Girls Championship")));
}

void TestPackCli::gates_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("flag set") << QStringList{QStringLiteral("--checklist-done")}
                              << QStringLiteral("Please RECALC");
    QTest::newRow("final checklist")
        << QStringList{QStringLiteral("--recalc")}
        << QStringLiteral("Please complete checklist before printing report");
}

void TestPackCli::gates() {
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    const QString pdf = file(QStringLiteral("refused.pdf"));
    const test::ProgramRun first =
        cli({QStringLiteral("recalc"), file(QStringLiteral("example.dbf"))});
    QVERIFY2(first.finished && first.exitCode == 0, qPrintable(first.err));
    const QByteArray before = fileBytes(file(QStringLiteral("example.dbf")));
    const test::ProgramRun r =
        cli(QStringList{QStringLiteral("pack"), file(QStringLiteral("example.dbf")),
                        QStringLiteral("--pdf"), pdf} +
            options);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Jigtally 2008: ") + message), qPrintable(r.err));
    QVERIFY(!QFile::exists(pdf));
    // Refused before anything was written (--recalc itself writes the same values again).
    QCOMPARE(fileBytes(file(QStringLiteral("example.dbf"))), before);
}

void TestPackCli::usage() {
    const test::ProgramRun r = cli({QStringLiteral("pack"), file(QStringLiteral("example.dbf"))});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(QStringLiteral("usage: jigtally-cli pack FILE.dbf --pdf OUT.pdf")));
    const test::ProgramRun help = cli({QStringLiteral("--help")});
    QVERIFY(help.out.contains(QStringLiteral("pack FILE.dbf --pdf OUT.pdf")));
}

QTEST_GUILESS_MAIN(TestPackCli)
#include "tst_packcli.moc"

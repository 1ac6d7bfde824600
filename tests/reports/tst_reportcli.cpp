#include "cli/CliCommands.h"
#include "support/TempDataFolder.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>

using namespace jt;

namespace {

struct CliRun {
    int code = 0;
    QString out;
    QString err;
};

CliRun run(const QStringList& args) {
    CliRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return r;
}

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
            {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// jigtally-cli report: the same commands, gates and layouts as the windows, into a PDF.
class TestReportCli final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void competitorList();
    void gates_data();
    void gates();
    void emptyCompetition();
    void badInput_data();
    void badInput();

private:
    std::unique_ptr<test::TempDataFolder> m_folder;
    QString file(const QString& name) const { return m_folder->filePath(name); }
};

void TestReportCli::init() {
    m_folder = std::make_unique<test::TempDataFolder>();
    m_folder->addSystemTables();
    m_folder->addCompetition(QStringLiteral("empty"));
}

void TestReportCli::competitorList() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString pdf = file(QStringLiteral("list.pdf"));
    // No gate: it runs although the competition was just opened (flag set).
    const CliRun r = run({QStringLiteral("report"), QStringLiteral("competitors"),
                          file(QStringLiteral("example.dbf")), QStringLiteral("--pdf"), pdf,
                          QStringLiteral("--event-name"), QStringLiteral("Feis Example")});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, pdf + QStringLiteral(": 1 page\n"));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("COMPETITORS")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("EXAMPLE")));
    QCOMPARE(text.count(QStringLiteral("Feis Example")), 2); // banner and footer
    QVERIFY(text.contains(QStringLiteral("Page 1")));
    // Five dancers in entry order, number, name and school on one line.
    const QRegularExpression row(QStringLiteral(R"(^ +(\d+) {2,}(\S.*\S) {2,}(\S.*\S) *$)"),
                                 QRegularExpression::MultilineOption);
    QStringList numbers;
    for (auto it = row.globalMatch(text); it.hasNext();)
        numbers << it.next().captured(1);
    QCOMPARE(numbers,
             (QStringList{QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("103"),
                          QStringLiteral("104"), QStringLiteral("105")}));
    QVERIFY(text.contains(QStringLiteral("Róisín Doyle")));
}

void TestReportCli::gates_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("flag set") << QStringList{QStringLiteral("grid")}
                              << QStringLiteral("Please RECALC");
    QTest::newRow("checklist") << QStringList{QStringLiteral("recall"), QStringLiteral("--recalc")}
                               << QStringLiteral(
                                      "Please complete checklist before printing report");
    QTest::newRow("final checklist")
        << QStringList{QStringLiteral("final"), QStringLiteral("--recalc")}
        << QStringLiteral("Please complete checklist before printing report");
}

void TestReportCli::gates() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const QString pdf = file(QStringLiteral("refused.pdf"));
    QStringList all{QStringLiteral("report"), args[0], file(QStringLiteral("example.dbf")),
                    QStringLiteral("--pdf"), pdf};
    all += args.mid(1);
    const CliRun r = run(all);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Jigtally 2008: ") + message), qPrintable(r.err));
    QVERIFY(!QFile::exists(pdf));
}

void TestReportCli::emptyCompetition() {
    const QString pdf = file(QStringLiteral("none.pdf"));
    CliRun r = run({QStringLiteral("report"), QStringLiteral("competitors"),
                    file(QStringLiteral("empty.dbf")), QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("no pages")));
    QVERIFY(!QFile::exists(pdf));
    // The header sheet always prints its page.
    r = run({QStringLiteral("report"), QStringLiteral("header"), file(QStringLiteral("empty.dbf")),
             QStringLiteral("--pdf"), pdf});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, pdf + QStringLiteral(": 1 page\n"));
    QVERIFY(QFile::exists(pdf));
}

void TestReportCli::badInput_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no pdf") << QStringList{QStringLiteral("competitors"),
                                           QStringLiteral("example.dbf")}
                            << 2 << QStringLiteral("usage:");
    QTest::newRow("unknown report")
        << QStringList{QStringLiteral("nosuch"), QStringLiteral("example.dbf"),
                       QStringLiteral("--pdf"), QStringLiteral("x.pdf")}
        << 2 << QStringLiteral("no report named nosuch");
    QTest::newRow("missing table")
        << QStringList{QStringLiteral("competitors"), QStringLiteral("missing.dbf"),
                       QStringLiteral("--pdf"), QStringLiteral("x.pdf")}
        << 1 << QStringLiteral("does not exist");
    QTest::newRow("not a table") << QStringList{QStringLiteral("competitors"),
                                                QStringLiteral("junk.dbf"), QStringLiteral("--pdf"),
                                                QStringLiteral("x.pdf")}
                                 << 1 << QStringLiteral("junk.dbf");
    QTest::newRow("unwritable pdf")
        << QStringList{QStringLiteral("competitors"), QStringLiteral("example.dbf"),
                       QStringLiteral("--pdf"), QStringLiteral("no/such/folder/x.pdf")}
        << 1 << QStringLiteral("Cannot write");
}

void TestReportCli::badInput() {
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFile junk(file(QStringLiteral("junk.dbf")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a dBASE table at all, not even close");
    junk.close();
    QStringList all{QStringLiteral("report")};
    for (const QString& a : args)
        all << (a.endsWith(QLatin1String(".dbf")) || a.endsWith(QLatin1String(".pdf")) ? file(a)
                                                                                       : a);
    const CliRun r = run(all);
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
}

QTEST_MAIN(TestReportCli)
#include "tst_reportcli.moc"

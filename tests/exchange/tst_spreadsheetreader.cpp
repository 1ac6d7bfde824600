// The spreadsheet readers against files written by other programs' libraries, and
// against files that cannot be read: each of those gives a reason naming the file.
#include "SheetPeer.h"
#include "exchange/NumberText.h"
#include "exchange/SpreadsheetReader.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <unistd.h>

using namespace jt;
using exchange::Sheet;
using test::PeerSheet;
using test::SheetPeer;

Q_DECLARE_METATYPE(QList<QVariantList>)
Q_DECLARE_METATYPE(QList<jt::test::PeerSheet>)
// Makes a file at the path; returns what went wrong, or nothing.
using MakeFile = std::function<QString(const QString&)>;
Q_DECLARE_METATYPE(MakeFile)

namespace {

QVariant none() {
    return QVariant();
}

// Rows as a reader gives them: with trailing empty rows and cells cut off.
int usedRows(const QList<QVariantList>& rows) {
    int used = 0;
    for (int r = 0; r < rows.size(); ++r)
        for (const QVariant& v : rows[r])
            if (v.isValid())
                used = r + 1;
    return used;
}

QString describe(const QVariant& v) {
    if (!v.isValid())
        return QStringLiteral("<empty>");
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(v.typeName()), v.toString());
}

} // namespace

class TestSpreadsheetReader : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase() {
        if (const QString why = SheetPeer::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
    }

    void readsWhatPeersWrote_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QList<PeerSheet>>("sheets");

        const QList<QVariantList> dancers{
            {101, QStringLiteral("Aoife Ní Bhriain"), QStringLiteral("St Anne's")},
            {102.5, QStringLiteral("Seán Ó Sé"), QStringLiteral("Scoil Rince Uí Néill")},
            {-3, QStringLiteral("Zoë"), QStringLiteral("<&> \"quoted\"")}};
        const QList<QVariantList> gaps{{1, none(), QStringLiteral("c1")},
                                       {none(), none(), none()},
                                       {none(), QStringLiteral("b3")},
                                       {none(), none(), none(), none(), QStringLiteral("e4")}};
        const QList<QVariantList> numberLikeTexts{
            {QStringLiteral("1,234"), QStringLiteral("007"), QStringLiteral("12.5")}};
        const QList<QVariantList> spaces{{QStringLiteral("  two leading"),
                                          QStringLiteral("two  inside"),
                                          QStringLiteral("line\nbreak")}};
        QList<QVariantList> many;
        for (int i = 0; i < 700; ++i)
            many.append({100 + i, QStringLiteral("Dancer %1").arg(i),
                         QStringLiteral("School %1").arg(i % 7)});

        for (const char* kind : {"xlsx", "xlsx-shared", "xls", "ods"}) {
            const QString k = QString::fromLatin1(kind);
            QTest::addRow("%s numbers and texts", kind)
                << k << QList<PeerSheet>{{"Dancers", dancers}};
            QTest::addRow("%s gaps", kind) << k << QList<PeerSheet>{{"Gaps", gaps}};
            QTest::addRow("%s texts that look like numbers", kind)
                << k << QList<PeerSheet>{{"T", numberLikeTexts}};
            QTest::addRow("%s spaces and line breaks", kind)
                << k << QList<PeerSheet>{{"S", spaces}};
            QTest::addRow("%s only the first sheet", kind)
                << k << QList<PeerSheet>{{"First", dancers}, {"Second", many}};
            QTest::addRow("%s 700 rows", kind) << k << QList<PeerSheet>{{"Many", many}};
        }
    }

    void readsWhatPeersWrote() {
        QFETCH(QString, kind);
        QFETCH(QList<PeerSheet>, sheets);
        QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_');
        const QString file = path(
            tag + (kind.startsWith(QLatin1String("xlsx")) ? QStringLiteral(".xlsx") : u'.' + kind));
        const QString failed = SheetPeer::write(kind, file, sheets);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));

        const exchange::SheetResult result = exchange::readFirstSheet(file);
        QVERIFY2(result.sheet, qPrintable(result.error));
        const Sheet& sheet = *result.sheet;
        const QList<QVariantList>& expected = sheets.first().rows;
        QCOMPARE(sheet.name, sheets.first().name);
        QCOMPARE(sheet.rowCount(), usedRows(expected));
        for (int r = 0; r < expected.size(); ++r) {
            const int columns =
                int(std::max(expected[r].size(), r < sheet.rowCount() ? sheet.rows[r].size() : 0));
            for (int c = 0; c < columns; ++c) {
                const QVariant want = c < expected[r].size() ? expected[r][c] : QVariant();
                const QVariant got = sheet.cell(r, c);
                const bool same =
                    want.isValid() == got.isValid() &&
                    (!want.isValid() ||
                     (want.typeId() == QMetaType::QString
                          ? got.typeId() == QMetaType::QString && got.toString() == want.toString()
                          : got.typeId() == QMetaType::Double &&
                                got.toDouble() == want.toDouble()));
                QVERIFY2(same, qPrintable(QStringLiteral("%1%2: read %3, written %4")
                                              .arg(exchange::columnName(c))
                                              .arg(r + 1)
                                              .arg(describe(got), describe(want))));
            }
        }
    }

    void refusesWhatCannotBeRead_data() {
        using Make = MakeFile;
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");

        const QList<QVariantList> rows{{101, QStringLiteral("Aoife"), QStringLiteral("St Anne's")},
                                       {102, QStringLiteral("Brid"), QStringLiteral("St Mary's")}};
        auto peer = [rows](const QString& kind) {
            return Make(
                [rows, kind](const QString& path) { return SheetPeer::write(kind, path, rows); });
        };
        auto bytes = [](const QByteArray& content) {
            return Make([content](const QString& path) {
                QFile f(path);
                if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
                    return QStringLiteral("cannot write %1").arg(path);
                return QString();
            });
        };
        // A file 400 rows long, cut off half-way.
        auto cut = [](const QString& kind) {
            return Make([kind](const QString& path) {
                QList<QVariantList> many;
                for (int i = 0; i < 400; ++i)
                    many.append(
                        {i, QStringLiteral("Dancer number %1").arg(i), QStringLiteral("School")});
                if (QString failed = SheetPeer::write(kind, path, many); !failed.isEmpty())
                    return failed;
                QFile f(path);
                if (!f.open(QIODevice::ReadWrite) || !f.resize(f.size() / 2))
                    return QStringLiteral("cannot cut %1").arg(path);
                return QString();
            });
        };
        const QByteArray csv("COMP_NO,NAME,SCHOOL\r\n101,Aoife,St Anne's\r\n");

        QTest::newRow("missing") << Make([](const QString&) { return QString(); }) << "missing.xls"
                                 << "does not exist";
        QTest::newRow("folder") << Make([](const QString& path) {
            return QDir().mkpath(path) ? QString() : QStringLiteral("mkpath failed");
        }) << "folder.xls"
                                << "is a folder";
        QTest::newRow("empty") << bytes({}) << "empty.xlsx"
                               << "is empty";
        QTest::newRow("text named .xls") << bytes(csv) << "text.xls"
                                         << "is not an Excel file";
        QTest::newRow("text named .xlsx") << bytes(csv) << "text.xlsx"
                                          << "is not a spreadsheet that can be imported";
        QTest::newRow("other zip") << peer("zip-other") << "other.xlsx"
                                   << "is not a spreadsheet that can be imported";
        QTest::newRow("xlsx cut in half") << cut("xlsx") << "cut.xlsx"
                                          << "is damaged";
        QTest::newRow("xls cut in half") << cut("xls") << "cut.xls"
                                         << "is damaged";
        QTest::newRow("ods cut in half") << cut("ods") << "cut.ods"
                                         << "is damaged";
        QTest::newRow("xlsx sheet not well-formed")
            << peer("xlsx-badxml") << "badxml.xlsx"
            << "is damaged: its part xl/worksheets/sheet1.xml is not well-formed";
        QTest::newRow("xlsx missing shared text") << peer("xlsx-badstring") << "badstring.xlsx"
                                                  << "refers to shared text 999";
        QTest::newRow("xls with a password") << peer("xls-password") << "password.xls"
                                             << "is password-protected";
        QTest::newRow("xlsx with a password") << peer("xlsx-encrypted") << "encrypted.xlsx"
                                              << "is password-protected";
        QTest::newRow("ods with a password") << peer("ods-encrypted") << "encrypted.ods"
                                             << "is password-protected";
    }

    void refusesWhatCannotBeRead() {
        QFETCH(MakeFile, make);
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString file = path(name);
        const QString failed = make(file);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));

        const exchange::SheetResult result = exchange::readFirstSheet(file);
        QVERIFY(!result.sheet);
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(file)), qPrintable(result.error));
        QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    }

    void refusesAFileItCannotOpen() {
        if (::geteuid() == 0)
            QSKIP("the superuser can read any file");
        const QString file = path(QStringLiteral("locked.xlsx"));
        QVERIFY(SheetPeer::write(QStringLiteral("xlsx"), file, QList<QVariantList>{{1}}).isEmpty());
        QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions()));
        const exchange::SheetResult result = exchange::readFirstSheet(file);
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(!result.sheet);
        QVERIFY2(result.error.contains(QLatin1String("cannot be opened")),
                 qPrintable(result.error));
    }

    void readsNumbersTheSameEverywhere_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "101" << true << 101.0;
        QTest::newRow("spaces around") << "  101 " << true << 101.0;
        QTest::newRow("decimal point") << "12.5" << true << 12.5;
        QTest::newRow("no integer digits") << ".5" << true << 0.5;
        QTest::newRow("thousands") << "1,234" << true << 1234.0;
        QTest::newRow("millions and decimals") << "-1,234,567.25" << true << -1234567.25;
        QTest::newRow("plus sign") << "+7" << true << 7.0;
        QTest::newRow("exponent") << "1.5e3" << true << 1500.0;
        QTest::newRow("comma as decimal point") << "12,5" << false << 0.0;
        QTest::newRow("short group") << "1,23" << false << 0.0;
        QTest::newRow("long first group") << "1234,567" << false << 0.0;
        QTest::newRow("group after point") << "1.234,5" << false << 0.0;
        QTest::newRow("leading comma") << ",123" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("number then letters") << "101a" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("bare exponent") << "1e" << false << 0.0;
        QTest::newRow("infinite") << "1e999" << false << 0.0;
    }

    void readsNumbersTheSameEverywhere() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        // A German computer writes "1.234,5"; the import must not follow it.
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France)}) {
            QLocale::setDefault(locale);
            const std::optional<double> got = exchange::parseNumber(text);
            QCOMPARE(got.has_value(), valid);
            if (valid)
                QCOMPARE(*got, value);
        }
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestSpreadsheetReader)
#include "tst_spreadsheetreader.moc"

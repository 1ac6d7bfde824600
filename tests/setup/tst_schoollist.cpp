// The school list: order, one entry per name whatever its capitals, completion, and the
// file it is read from and written to.
#include "setup/SchoolCompletion.h"
#include "setup/SchoolList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace jt;
using setup::BoxText;
using setup::SchoolList;

Q_DECLARE_METATYPE(std::optional<jt::setup::BoxText>)

namespace {

SchoolList listOf(const QStringList& names) {
    SchoolList list;
    for (const QString& n : names)
        list.add(n);
    return list;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestSchoolList : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void keepsOneSortedEntryPerName_data() {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("held");
        QTest::newRow("sorted without regard to case")
            << QStringList{"st Mary's", "Scoil Rince", "ABBEY", "abbot"}
            << QStringList{"ABBEY", "abbot", "Scoil Rince", "st Mary's"};
        QTest::newRow("other capitals are the same name, the first kept")
            << QStringList{"St Anne's", "ST ANNE'S", "st anne's"} << QStringList{"St Anne's"};
        QTest::newRow("accented letters")
            << QStringList{"Ó Sé", "ó sé", "O Se"} << QStringList{"O Se", "Ó Sé"};
        QTest::newRow("empty names are no school")
            << QStringList{"", "Abbey", ""} << QStringList{"Abbey"};
    }
    void keepsOneSortedEntryPerName() {
        QFETCH(QStringList, added);
        QFETCH(QStringList, held);
        QCOMPARE(listOf(added).names(), held);
    }

    void completes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<std::optional<BoxText>>("shown");
        using Shown = std::optional<BoxText>;
        QTest::newRow("st m gives St Mary's, the rest selected")
            << "st m" << 4 << Shown(BoxText{"St Mary's", 4, 5});
        QTest::newRow("st gives the first in the list's order")
            << "st" << 2 << Shown(BoxText{"St Anne's", 2, 7});
        QTest::newRow("one letter") << "s" << 1 << Shown(BoxText{"Scoil Rince Ní Bhriain", 1, 21});
        QTest::newRow("the whole name offers nothing more") << "St Anne's" << 9 << Shown();
        QTest::newRow("the whole name in other capitals neither") << "st anne's" << 9 << Shown();
        QTest::newRow("a longer name beginning with it")
            << "St Mary's" << 9 << Shown(BoxText{"St Mary's Road", 9, 5});
        QTest::newRow("only the text left of the caret counts")
            << "St Mxyz" << 4 << Shown(BoxText{"St Mary's", 4, 5});
        QTest::newRow("nothing typed") << "" << 0 << Shown();
        QTest::newRow("caret at the start") << "st" << 0 << Shown();
        QTest::newRow("no school begins so") << "Xavier" << 6 << Shown();
    }
    void completes() {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(std::optional<BoxText>, shown);
        const SchoolList list =
            listOf({"St Anne's", "St Mary's", "St Mary's Road", "Scoil Rince Ní Bhriain", "Abbey"});
        const std::optional<BoxText> got = setup::completeSchool(list, text, caret);
        QCOMPARE(got.has_value(), shown.has_value());
        if (shown) {
            QCOMPARE(got->text, shown->text);
            QCOMPARE(got->caret, shown->caret);
            QCOMPARE(got->selectionLength, shown->selectionLength);
        }
    }

    void theKeysThatDoNotComplete() {
        for (int key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Left, Qt::Key_Right,
                        Qt::Key_Up, Qt::Key_Down, Qt::Key_Delete})
            QVERIFY(!setup::completesAfterKey(key));
        // Backspace completes: a suggestion taken away by it comes back.
        for (int key : {Qt::Key_Backspace, Qt::Key_A, Qt::Key_Space, Qt::Key_Apostrophe})
            QVERIFY(setup::completesAfterKey(key));
    }

    void readsTheFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("held");
        QTest::newRow("lines ended by CR LF")
            << QByteArray("St Mary's\r\nAbbey\r\n") << QStringList{"Abbey", "St Mary's"};
        QTest::newRow("the same name twice in other capitals")
            << QByteArray("St Anne's\r\nST ANNE'S\r\nAbbey\r\n")
            << QStringList{"Abbey", "St Anne's"};
        QTest::newRow("bare LF and no end") << QByteArray("B\nA") << QStringList{"A", "B"};
        QTest::newRow("blank lines passed over")
            << QByteArray("A\r\n\r\n  \r\nB\r\n") << QStringList{"A", "B"};
        QTest::newRow("UTF-8 with a byte order mark")
            << QByteArray("\xEF\xBB\xBFScoil Ní Bhriain\r\n") << QStringList{"Scoil Ní Bhriain"};
        QTest::newRow("Windows-1252")
            << QByteArray("Scoil N\xED Bhriain\r\n") << QStringList{"Scoil Ní Bhriain"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }
    void readsTheFile() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, held);
        const QString path = m_dir.filePath(QStringLiteral("read.txt"));
        writeAll(path, file);
        SchoolList list;
        QCOMPARE(list.load(path), QString());
        QCOMPARE(list.names(), held);
    }

    void writesEachNameOnceWithCrLf() {
        const QString path = m_dir.filePath(QStringLiteral("written.txt"));
        writeAll(path, "st mary's\nAbbey\r\nST MARY'S\r\nScoil Ní\r\n");
        SchoolList list;
        QCOMPARE(list.load(path), QString());
        list.add(QStringLiteral("Zion"));
        list.add(QStringLiteral("abbey"));
        QCOMPARE(list.save(path), QString());
        QCOMPARE(readAll(path), QByteArray("Abbey\r\nScoil Ní\r\nst mary's\r\nZion\r\n"));
    }

    void createsAMissingFileEmpty() {
        const QString path = m_dir.filePath(QStringLiteral("missing.txt"));
        QVERIFY(!QFile::exists(path));
        SchoolList list;
        list.add(QStringLiteral("left over"));
        QCOMPARE(list.load(path), QString());
        QVERIFY(QFile::exists(path));
        QCOMPARE(readAll(path), QByteArray());
    }

    void saysWhyAFileCannotBeUsed_data() {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read a folder") << false << "could not be read";
        QTest::newRow("write over a folder") << true << "could not be written";
    }
    void saysWhyAFileCannotBeUsed() {
        QFETCH(bool, saving);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(QStringLiteral("folder.txt"));
        QVERIFY(QDir().mkpath(path));
        SchoolList list = listOf({"Abbey"});
        const QString error = saving ? list.save(path) : list.load(path);
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }

    void cannotCreateInAMissingFolder() {
        const QString path = m_dir.filePath(QStringLiteral("no/such/folder/schoollist.txt"));
        SchoolList list;
        const QString error = list.load(path);
        QVERIFY2(error.contains(QLatin1String("could not be created")), qPrintable(error));
    }

    void displayName_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "u12girls.dbf"
                               << "U12GIRLS";
        QTest::newRow("with a folder") << "/data/minor.DBF"
                                       << "MINOR";
        QTest::newRow("dots in the name") << "u12.girls.dbf"
                                          << "U12.GIRLS";
    }
    void displayName() {
        QFETCH(QString, table);
        QFETCH(QString, shown);
        QCOMPARE(setup::competitionDisplayName(table), shown);
    }
};

QTEST_GUILESS_MAIN(TestSchoolList)
#include "tst_schoollist.moc"

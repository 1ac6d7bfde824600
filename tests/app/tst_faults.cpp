// A disk that fills up and a data folder or table that cannot be written, made real: a
// small file system of its own (tmpfs) is mounted over the test's data folder. Mounting
// needs root; where it cannot be done the tests are skipped.
#include "ShellFixture.h"
#include "engine/BatchCopy.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "setup/SchoolList.h"
#include "support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QPushButton>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <unistd.h>

using namespace jt;

namespace {

// A tmpfs of the given size over a folder, holding what the folder held.
class SmallDisk final {
public:
    SmallDisk(const QString& folder, int kib) : m_folder(folder), m_size(kib) {
        QMap<QString, QByteArray> files;
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            QFile file(folder + QLatin1Char('/') + name);
            if (file.open(QIODevice::ReadOnly))
                files.insert(name, file.readAll());
        }
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                    options().constData()) != 0) {
            m_error = QString::fromLocal8Bit(strerror(errno));
            return;
        }
        m_mounted = true;
        for (auto it = files.begin(); it != files.end(); ++it) {
            QFile file(folder + QLatin1Char('/') + it.key());
            if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
                m_error = QStringLiteral("%1 does not fit").arg(it.key());
        }
    }
    ~SmallDisk() {
        if (m_mounted) {
            setReadOnly(false);
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    // Empty when the disk is ready; else why not.
    QString error() const {
        return m_mounted ? m_error : QStringLiteral("cannot mount: ") + m_error;
    }

    // Takes every free byte.
    void fill() {
        const int fd = ::open(QFile::encodeName(fillerPath()).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), std::size_t(block.size())) > 0) {
        }
        char byte = 'x';
        while (::write(fd, &byte, 1) > 0) {
        }
        ::close(fd);
    }
    void release() { QFile::remove(fillerPath()); }
    bool setReadOnly(bool readOnly) {
        return ::mount(nullptr, QFile::encodeName(m_folder).constData(), nullptr,
                       MS_REMOUNT | (readOnly ? MS_RDONLY : 0), options().constData()) == 0;
    }

private:
    QByteArray options() const { return "size=" + QByteArray::number(m_size) + "k"; }
    QString fillerPath() const { return m_folder + QStringLiteral("/filler"); }

    QString m_folder;
    int m_size;
    bool m_mounted = false;
    QString m_error;
};

// One file read-only on its own: bound over itself and the binding made read-only.
class ReadOnlyFile final {
public:
    explicit ReadOnlyFile(const QString& path) : m_path(QFile::encodeName(path)) {
        m_ok = ::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (m_ok && ::mount(nullptr, m_path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) != 0) {
            ::umount2(m_path.constData(), MNT_DETACH);
            m_ok = false;
        }
    }
    ~ReadOnlyFile() {
        if (m_ok)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    bool ok() const { return m_ok; }

private:
    QByteArray m_path;
    bool m_ok = false;
};

// Every file of the folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QFile file(folder + QLatin1Char('/') + name);
        if (file.open(QIODevice::ReadOnly))
            files.insert(name, file.readAll());
    }
    return files;
}

QString systemText(int error) {
    return QString::fromLocal8Bit(strerror(error));
}

// A user's step: returns what the user is told when it fails (the box's text or the
// error's), empty when it went through.
using Step = std::function<QString(test::Shell&)>;

QString shown(test::Shell& shell, const std::function<void()>& step) {
    shell.dialogs.clear();
    try {
        step();
    } catch (const engine::EngineError& e) {
        return e.message();
    }
    const QStringList texts = shell.dialogs.messageTexts();
    return texts.join(QLatin1Char('\n'));
}

const Step kPost = [](test::Shell& shell) {
    engine::Table& results = shell.results();
    const QString text = shown(shell, [&] {
        results.close();
        results.open();
        results.first();
        results.edit();
        results.fieldByName(QStringLiteral("A1"))->setAsFloat(88);
        results.post();
    });
    if (results.active() && results.editing())
        results.cancel();
    results.close();
    return text;
};
const Step kRecalculate = [](test::Shell& shell) {
    const QString text = shown(shell, [&] { shell.main().ReCalcButton->click(); });
    if (text.isEmpty() && shell.state.ReCalcFlag)
        return QStringLiteral("no recalculation ran");
    return text;
};
const Step kBatchCopy = [](test::Shell& shell) {
    return shown(shell, [&] {
        engine::Table copy;
        copy.setTableName(shell.folder.filePath(QStringLiteral("copy.dbf")));
        shell.results().close();
        engine::batchCopy(shell.results(), copy);
    });
};
const Step kCreate = [](test::Shell& shell) {
    return shown(shell, [&] {
        // Create is on offer when the program starts, with no competition open.
        shell.choose(shell.main().Close1);
        shell.main().Create1->setEnabled(true);
        shell.dialogs.answerFile(shell.folder.filePath(QStringLiteral("new.dbf")));
        shell.choose(shell.main().Create1);
    });
};
const Step kSelect = [](test::Shell& shell) {
    return shown(shell, [&] {
        shell.choose(shell.main().Close1);
        shell.select(QStringLiteral("u12.dbf"));
    });
};
const Step kSchoolList = [](test::Shell& shell) {
    setup::SchoolList list;
    list.add(QStringLiteral("Scoil Rince Nua"));
    list.add(QStringLiteral("Another School With A Long Name"));
    return list.save(shell.folder.filePath(setup::SchoolList::kFileName));
};

// The command-line check reads the table and writes nothing.
const Step kCheck = [](test::Shell& shell) -> QString {
    const test::ProgramRun run = test::runProgram(
        QStringLiteral(JIGTALLY_CLI),
        {QStringLiteral("check"), shell.folder.filePath(QStringLiteral("u12.dbf"))});
    if (run.finished && run.exitCode == 0 && run.out.contains(QLatin1String(": sound, ")))
        return QString();
    return QStringLiteral("check failed: ") + run.out + run.err;
};

} // namespace

Q_DECLARE_METATYPE(Step)

class TestFaults : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullDisk_data();
    void fullDisk();
    void readOnly_data();
    void readOnly();

private:
    // The shell on a small disk, u12 selected, three dancers with marks posted, an old
    // school list; empty when that cannot be made.
    QString prepare(test::Shell& shell, std::unique_ptr<SmallDisk>& disk);
    // The three dancers' marks as posted; the first one's as given.
    void verifyMarks(test::Shell& shell, double first = 61);
};

QString TestFaults::prepare(test::Shell& shell, std::unique_ptr<SmallDisk>& disk) {
    disk = std::make_unique<SmallDisk>(shell.folder.path(), 512);
    if (!disk->error().isEmpty())
        return disk->error();
    shell.folder.addCompetition(QStringLiteral("u12"));
    shell.select(QStringLiteral("u12.dbf"));
    engine::Table& results = shell.results();
    results.close();
    results.open();
    for (int i = 1; i <= 3; ++i) {
        results.append();
        results.fieldByName(QStringLiteral("NAME"))
            ->setAsString(QStringLiteral("Dancer %1").arg(i));
        results.fieldByName(QStringLiteral("SEQUENCE"))->setAsInteger(i);
        results.fieldByName(QStringLiteral("A1"))->setAsFloat(60 + i);
        results.post();
    }
    results.close();
    QFile schools(shell.folder.filePath(setup::SchoolList::kFileName));
    if (!schools.open(QIODevice::WriteOnly) || schools.write("Old School\r\n") <= 0)
        return QStringLiteral("cannot write the school list");
    return {};
}

void TestFaults::verifyMarks(test::Shell& shell, double first) {
    engine::Table check;
    check.setTableName(shell.folder.filePath(QStringLiteral("u12.dbf")));
    check.open();
    QCOMPARE(check.recordCount(), 3);
    int i = 0;
    for (check.first(); !check.eof(); check.next()) {
        ++i;
        QCOMPARE(check.fieldByName(QStringLiteral("A1"))->asFloat(), i == 1 ? first : 60.0 + i);
    }
}

void TestFaults::fullDisk_data() {
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("file");     // the file the message names
    QTest::addColumn<double>("firstMark"); // after the step went through
    QTest::addRow("post") << kPost << "u12.dbf-journal" << 88.0;
    QTest::addRow("recalculation") << kRecalculate << "u12.dbf-undo" << 61.0;
    QTest::addRow("batch copy") << kBatchCopy << "copy.dbf" << 61.0;
    QTest::addRow("create competition") << kCreate << "new.dbf" << 61.0;
    QTest::addRow("school list") << kSchoolList << "schoollist.txt" << 61.0;
}

// The step is refused with a message naming the file and the reason; nothing posted is
// lost, no file is left half-written, and once there is room the step goes through.
void TestFaults::fullDisk() {
    QFETCH(Step, step);
    QFETCH(QString, file);
    QFETCH(double, firstMark);
    test::Shell shell;
    std::unique_ptr<SmallDisk> disk;
    if (const QString why = prepare(shell, disk); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QMap<QString, QByteArray> before = snapshot(shell.folder.path());

    disk->fill();
    const QString message = step(shell);
    disk->release();
    QVERIFY2(message.contains(shell.folder.filePath(file)) && message.contains(systemText(ENOSPC)),
             qPrintable(message));
    QCOMPARE(snapshot(shell.folder.path()), before);
    verifyMarks(shell);

    const QString again = step(shell);
    QVERIFY2(again.isEmpty(), qPrintable(again));
    verifyMarks(shell, firstMark);
}

void TestFaults::readOnly_data() {
    QTest::addColumn<bool>("wholeFolder"); // else the results table alone
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("file"); // the file the message names; none: no refusal
    QTest::addRow("folder: select") << true << kSelect << "u12_inf.dbf";
    // The copy opens its source, the template, as a table that may be written.
    QTest::addRow("folder: create") << true << kCreate << "template.DBF";
    QTest::addRow("folder: post") << true << kPost << "u12.dbf";
    QTest::addRow("folder: recalculation") << true << kRecalculate << "u12.dbf";
    QTest::addRow("folder: check") << true << kCheck << "";
    QTest::addRow("table: select") << false << kSelect << "u12.dbf";
    QTest::addRow("table: check") << false << kCheck << "";
    QTest::addRow("table: post") << false << kPost << "u12.dbf";
    QTest::addRow("table: recalculation") << false << kRecalculate << "u12.dbf";
}

// What cannot be written is refused with a message naming the file, and nothing in the
// folder changes.
void TestFaults::readOnly() {
    QFETCH(bool, wholeFolder);
    QFETCH(Step, step);
    QFETCH(QString, file);
    test::Shell shell;
    std::unique_ptr<SmallDisk> disk;
    if (const QString why = prepare(shell, disk); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QMap<QString, QByteArray> before = snapshot(shell.folder.path());

    // A file system with files open for writing cannot be made read-only.
    shell.module().compinfo->close();
    shell.results().close();
    std::unique_ptr<ReadOnlyFile> table;
    if (wholeFolder) {
        QVERIFY(disk->setReadOnly(true));
    } else {
        table = std::make_unique<ReadOnlyFile>(shell.folder.filePath(QStringLiteral("u12.dbf")));
        if (!table->ok())
            QSKIP("cannot make one file read-only");
    }
    const QString message = step(shell);
    shell.results().close();
    if (wholeFolder)
        QVERIFY(disk->setReadOnly(false));
    table.reset();
    if (file.isEmpty()) {
        QVERIFY2(message.isEmpty(), qPrintable(message));
    } else {
        QVERIFY2(message.contains(shell.folder.filePath(file)) &&
                     message.contains(systemText(EROFS)),
                 qPrintable(message));
    }
    QCOMPARE(snapshot(shell.folder.path()), before);
    verifyMarks(shell);
}

QTEST_MAIN(TestFaults)

#include "tst_faults.moc"

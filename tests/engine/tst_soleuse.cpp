// Sole use is an operating-system lock that holds across processes.
#include "EngineChild.h"
#include "EngineFixture.h"
#include "engine/BatchCopy.h"

#include <QtTest>

using namespace jt::engine;
using namespace jt::test;

class SoleUseTest final : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void otherProcessHolds_data();
    void otherProcessHolds();
    void closingOtherDescriptorsKeepsLock();
    void twoHandlesInOneProcess();

private:
    std::unique_ptr<EngineFolder> m_folder;
    QString m_path;
};

void SoleUseTest::init() {
    m_folder = std::make_unique<EngineFolder>();
    auto t = m_folder->create(QStringLiteral("held.dbf"),
                              {{QStringLiteral("MARK"), FieldType::Numeric, 10, 4}});
    t->append();
    t->fieldByName(QStringLiteral("MARK"))->setAsFloat(1);
    t->post();
    m_path = t->resolvedPath();
    t->close();
    t->addIndex(QStringLiteral("old"), QStringLiteral("MARK"));
}

void SoleUseTest::otherProcessHolds_data() {
    QTest::addColumn<QString>("theirMode");
    QTest::addColumn<QString>("ourAction");
    QTest::addColumn<bool>("refused");
    const QStringList actions = {"open shared",  "open exclusive", "add index", "delete index",
                                 "delete table", "copy onto",      "create"};
    for (const QString& action : actions)
        QTest::addRow("they hold sole use, we %s", qPrintable(action))
            << "exclusive" << action << true;
    QTest::addRow("they have it open, we open shared") << "shared"
                                                       << "open shared" << false;
    QTest::addRow("they have it open, we open exclusive") << "shared"
                                                          << "open exclusive" << true;
    QTest::addRow("they have it open, we copy onto it") << "shared"
                                                        << "copy onto" << true;
    // Changing indexes needs the table to oneself.
    QTest::addRow("they have it open, we add an index") << "shared"
                                                        << "add index" << true;
    QTest::addRow("they have it open, we delete an index") << "shared"
                                                           << "delete index" << true;
}

void SoleUseTest::otherProcessHolds() {
    QFETCH(QString, theirMode);
    QFETCH(QString, ourAction);
    QFETCH(bool, refused);
    ChildProcess child;
    QCOMPARE(child.startChild({QStringLiteral("hold"), m_path, theirMode}),
             QStringLiteral("ready"));
    const QByteArray before = fileBytes(m_path);
    const IndexDefList indexesBefore = IndexStore::read(m_path);
    auto act = [&] {
        auto t = m_folder->handle(QStringLiteral("held.dbf"));
        if (ourAction == QLatin1String("open shared")) {
            t->open();
        } else if (ourAction == QLatin1String("open exclusive")) {
            t->setExclusive(true);
            t->open();
        } else if (ourAction == QLatin1String("add index")) {
            t->addIndex(QStringLiteral("work"), QStringLiteral("MARK"));
        } else if (ourAction == QLatin1String("delete index")) {
            t->deleteIndex(QStringLiteral("old"));
        } else if (ourAction == QLatin1String("delete table")) {
            t->deleteTable();
        } else if (ourAction == QLatin1String("create")) {
            t->createTable({{QStringLiteral("X"), FieldType::Character, 1, 0}});
        } else {
            auto source = m_folder->create(QStringLiteral("other.dbf"),
                                           {{QStringLiteral("X"), FieldType::Character, 1, 0}});
            batchCopy(*source, *t);
        }
    };
    try {
        act();
        QVERIFY2(!refused, "the other process's lock was not seen");
    } catch (const EngineError& e) {
        QVERIFY2(refused, qPrintable(e.message()));
        QCOMPARE(e.kind(), EngineError::Kind::InUse);
        QCOMPARE(e.message(), QStringLiteral("Table %1 is in use by another user").arg(m_path));
        QCOMPARE(fileBytes(m_path), before);
        QCOMPARE(IndexStore::read(m_path), indexesBefore);
    }
    child.stop();
    QCOMPARE(child.exitCode(), 0);
    // Once they let go, it opens for sole use here.
    auto t = m_folder->handle(QStringLiteral("held.dbf"));
    t->setExclusive(true);
    t->open();
    QCOMPARE(t->fieldByName(QStringLiteral("MARK"))->asFloat(), 1.0);
}

// flock belongs to the open file description, so the holder opening and closing other
// descriptors of the same file (as a file dialog or a copy might) keeps its lock.
void SoleUseTest::closingOtherDescriptorsKeepsLock() {
    ChildProcess child;
    QCOMPARE(child.startChild({QStringLiteral("hold"), m_path, QStringLiteral("exclusive"),
                               QStringLiteral("poke")}),
             QStringLiteral("ready"));
    auto t = m_folder->handle(QStringLiteral("held.dbf"));
    try {
        t->open();
        QFAIL("the lock was dropped");
    } catch (const EngineError& e) {
        QCOMPARE(e.kind(), EngineError::Kind::InUse);
    }
    child.stop();
}

void SoleUseTest::twoHandlesInOneProcess() {
    auto sole = m_folder->handle(QStringLiteral("held.dbf"));
    sole->setExclusive(true);
    sole->open();
    {
        // Our own process opening and closing the file another way keeps the lock too.
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        file.close();
    }
    auto other = m_folder->handle(QStringLiteral("held.dbf"));
    QVERIFY_THROWS_EXCEPTION(EngineError, other->open());
    sole->refresh(); // re-reading under sole use keeps the lock
    QVERIFY_THROWS_EXCEPTION(EngineError, other->open());
    sole->close();
    other->open();
    QVERIFY(other->active());
}

JT_TEST_MAIN_WITH_CHILD(SoleUseTest, jt::test::engineChild)
#include "tst_soleuse.moc"

#include "app/JigtallyApplication.h"
#include "engine/EngineError.h"
#include "platform/Dialogs.h"
#include "platform/Guarded.h"
#include "support/ScriptedDialogs.h"

#include <QPushButton>
#include <QTest>

using namespace jt;

namespace {

// An object whose event handler fails, as a window's would without a guard.
class Failing final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw engine::EngineError(QStringLiteral("Table u12.dbf is in use by another user"),
                                      engine::EngineError::Kind::InUse);
        return QObject::event(e);
    }
};

} // namespace

class TestErrorDisplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fullStopRule_data();
    void fullStopRule();
    void guardedCommandShowsError();
    void connectedHandlerShowsError();
    void lastResortKeepsRunning();
};

void TestErrorDisplay::fullStopRule_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addRow("letter") << "Index does not exist: work"
                            << "Index does not exist: work.";
    QTest::addRow("digit") << "Record 12"
                           << "Record 12.";
    QTest::addRow("slash sorts after the stop") << "/data/"
                                                << "/data/.";
    QTest::addRow("question mark") << "Why?"
                                   << "Why?.";
    QTest::addRow("full stop") << "Could not find MyDocuments folder location."
                               << "Could not find MyDocuments folder location.";
    QTest::addRow("comma") << "one,"
                           << "one,";
    QTest::addRow("hyphen") << "one-"
                            << "one-";
    QTest::addRow("space") << "one "
                           << "one ";
    QTest::addRow("exclamation mark") << "Stop!"
                                      << "Stop!";
    QTest::addRow("closing bracket") << "(u12.dbf)"
                                     << "(u12.dbf)";
    QTest::addRow("empty") << ""
                           << "";
    QTest::addRow("accented letter") << "Átha Cliath é"
                                     << "Átha Cliath é.";
}

void TestErrorDisplay::fullStopRule() {
    QFETCH(QString, text);
    QTEST(platform::errorDisplayText(text), "shown");
}

void TestErrorDisplay::guardedCommandShowsError() {
    test::ScriptedDialogs dialogs;
    int after = 0;
    const bool ok = platform::runGuarded([&] {
        throw engine::EngineError(QStringLiteral("Table does not exist: /data/u12_inf.dbf"),
                                  engine::EngineError::Kind::NotFound);
    });
    ++after; // the program carries on
    QVERIFY(!ok);
    QCOMPARE(after, 1);
    QCOMPARE(dialogs.messages().size(), 1);
    const auto& box = dialogs.messages().first();
    QCOMPARE(box.type, platform::MessageType::Error);
    QCOMPARE(box.title, QStringLiteral("Jigtally 2008"));
    QCOMPARE(box.text, QStringLiteral("Table does not exist: /data/u12_inf.dbf."));
    QCOMPARE(box.buttons, platform::Buttons(platform::Ok));

    dialogs.clear();
    QVERIFY(!platform::runGuarded([] { throw 42; }));
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Unknown error.")});
    QVERIFY(platform::runGuarded([] {}));
}

void TestErrorDisplay::connectedHandlerShowsError() {
    test::ScriptedDialogs dialogs;
    QPushButton button;
    QString seen;
    platform::connectGuarded(&button, &QPushButton::clicked, &button, [&](bool checked) {
        seen = checked ? QStringLiteral("checked") : QStringLiteral("clicked");
        throw std::runtime_error("Field 'A9' not found");
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("clicked"));
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Field 'A9' not found.")});
}

void TestErrorDisplay::lastResortKeepsRunning() {
    test::ScriptedDialogs dialogs;
    Failing failing;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&failing, &event);
    QCOMPARE(dialogs.messageTexts(),
             QStringList{QStringLiteral("Table u12.dbf is in use by another user.")});
    // Posted events fail the same way inside the event loop.
    dialogs.clear();
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QTRY_COMPARE(dialogs.messages().size(), 1);
}

int main(int argc, char** argv) {
    jt::app::JigtallyApplication app(argc, argv);
    TestErrorDisplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errordisplay.moc"
